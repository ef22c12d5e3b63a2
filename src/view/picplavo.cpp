#include "picplavo.h"

#include "sim/lauf.h"
#include "view/ausschnittwechsel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

PicPlavo::PicPlavo(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button tell a drag that its release went elsewhere.
    setMouseTracking(true);
}

QSize PicPlavo::GeraetePixel() const
{
    const qreal r = devicePixelRatioF();
    return QSize(int(std::lround(width() * r)), int(std::lround(height() * r))).expandedTo(QSize(1, 1));
}

void PicPlavo::BildAnpassen()
{
    flaeche_.GroesseSetzen(GeraetePixel());
    update();
}

void PicPlavo::GeaendertesZeigen()
{
    const QRect r = flaeche_.GeaendertNehmen();
    if (r.isEmpty())
        return;
    // A shifted picture moves as a whole.
    if (!verschiebung_.isNull()) {
        update();
        return;
    }
    const qreal q = devicePixelRatioF();
    // Device pixels to logical, rounded outwards.
    update(QRect(QPoint(int(std::floor(r.left() / q)), int(std::floor(r.top() / q))),
                 QPoint(int(std::ceil((r.right() + 1) / q)), int(std::ceil((r.bottom() + 1) / q)))));
}

void PicPlavo::LaufSetzen(const Lauf* lauf)
{
    for (QMetaObject::Connection& v : verbindungen_)
        disconnect(v);
    bild_.reset();
    lauf_ = lauf;
    if (lauf_) {
        // Drawn first, then shown: slots run in the order they were connected.
        bild_.emplace(*lauf_, flaeche_);
        verbindungen_[0] = connect(lauf_, &Lauf::schrittGemacht, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[1] = connect(lauf_, &Lauf::wiedergegeben, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[2] = connect(lauf_, &Lauf::zurueckgesetzt, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[3] = connect(lauf_, &Lauf::neuzeichnungBegonnen, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[4] = connect(lauf_, &Lauf::standGeaendert, this, &PicPlavo::KoerperGeaendert);
        verbindungen_[5] = connect(lauf_, &Lauf::neuzeichnungAbgebrochen, this, &PicPlavo::KoerperGeaendert);
    }
    KoerperGeaendert();
}

void PicPlavo::PunkteZeigen(bool an)
{
    punkteZeigen_ = an;
    KoerperGeaendert();
}

void PicPlavo::NamenZeigen(bool an)
{
    namenZeigen_ = an;
    KoerperGeaendert();
}

void PicPlavo::PunkteBerechnen()
{
    if (lauf_)
        punkte_.Berechnen(lauf_->Jetzt(), flaeche_, devicePixelRatioF(), namenZeigen_);
}

void PicPlavo::KoerperGeaendert()
{
    QRegion neu;
    if (UeberlagerungAn()) {
        PunkteBerechnen();
        neu = punkte_.Bedeckt().translated(verschiebung_.toPoint());
    }
    const QRegion bereich = gezeigt_ | neu;
    if (!bereich.isEmpty())
        update(bereich);
}

void PicPlavo::paintEvent(QPaintEvent* ereignis)
{
    // Only the pixels asked for, and without a copy of the image: a giant
    // window's picture is gigabytes, and one with another device pixel
    // ratio than its own would be copied whole at every step.
    QPainter p(this);
    const QImage& bild = flaeche_.Image();
    const qreal q = devicePixelRatioF();
    // While a drag goes on, the picture follows the mouse.
    const QPoint v = verschiebung_.toPoint();
    // White where the picture does not reach yet (it follows a resize or a drag).
    const QRect bedeckt =
        QRect(0, 0, int(std::floor(bild.width() / q)), int(std::floor(bild.height() / q))).translated(v);
    for (const QRect& stueck : ereignis->region().subtracted(bedeckt))
        p.fillRect(stueck, Qt::white);
    const QRect r = ereignis->rect().translated(-v);
    const QRectF quelle =
        QRectF(r.x() * q, r.y() * q, r.width() * q, r.height() * q).intersected(QRectF(bild.rect()));
    if (!quelle.isEmpty())
        p.drawImage(QRectF(quelle.topLeft() / q + QPointF(v), quelle.size() / q), bild, quelle);

    if (ereignis->region().contains(rect()))
        gezeigt_ = QRegion();
    if (!UeberlagerungAn())
        return;
    PunkteBerechnen();
    punkte_.Zeichnen(p, lauf_->Jetzt(), ereignis->rect(), verschiebung_, punkteZeigen_);
    gezeigt_ |= punkte_.Bedeckt().translated(v);
}

bool PicPlavo::event(QEvent* ereignis)
{
    if (ereignis->type() != QEvent::ToolTip)
        return QWidget::event(ereignis);
    auto* hilfe = static_cast<QHelpEvent*>(ereignis);
    std::optional<std::size_t> koerper;
    if (lauf_ && punkteZeigen_ && !ziehen_) {
        PunkteBerechnen();
        koerper = punkte_.Bei(hilfe->pos());
    }
    if (!koerper) {
        QToolTip::hideText();
        ereignis->ignore();
        return true;
    }
    const KoerperSatz& satz = lauf_->Jetzt();
    QToolTip::showText(hilfe->globalPos(),
                       KoerperTipp(satz[*koerper], *koerper + 1, lauf_->Schrittzahl() > 0, lauf_->Mod().Intervall), this);
    return true;
}

void PicPlavo::mousePressEvent(QMouseEvent* ereignis)
{
    if (ereignis->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(ereignis);
        return;
    }
    ziehen_ = true;
    ziehStart_ = ereignis->position();
    verschiebung_ = QPointF();
}

void PicPlavo::mouseMoveEvent(QMouseEvent* ereignis)
{
    // While the picture follows a drag, the point where it was taken stays under the mouse.
    const double w = std::max(width(), 1), h = std::max(height(), 1);
    const QPointF stelle = ziehen_ && (ereignis->buttons() & Qt::LeftButton) ? ziehStart_ : ereignis->position();
    emit mausUeber(QPointF(stelle.x() / w, stelle.y() / h));
    if (!ziehen_)
        return;
    if (!(ereignis->buttons() & Qt::LeftButton)) {
        ZiehenAbbrechen();
        return;
    }
    // Whole pixels, so the picture is copied, never resampled.
    const QPointF neu = (ereignis->position() - ziehStart_).toPoint();
    if (neu == verschiebung_)
        return;
    verschiebung_ = neu;
    update();
}

void PicPlavo::mouseReleaseEvent(QMouseEvent* ereignis)
{
    if (!ziehen_ || ereignis->button() != Qt::LeftButton)
        return;
    // Also outside the widget: it keeps the mouse while a button is down.
    const QPointF d = (ereignis->position() - ziehStart_).toPoint();
    ziehen_ = false;
    verschiebung_ = QPointF();
    update();
    if (!d.isNull())
        emit gezogen(d, QSizeF(size()));
}

void PicPlavo::ZiehenAbbrechen()
{
    if (!ziehen_)
        return;
    ziehen_ = false;
    verschiebung_ = QPointF();
    update();
}

void PicPlavo::focusOutEvent(QFocusEvent* ereignis)
{
    ZiehenAbbrechen();
    QWidget::focusOutEvent(ereignis);
}

void PicPlavo::leaveEvent(QEvent* ereignis)
{
    emit mausWeg();
    QWidget::leaveEvent(ereignis);
}

void PicPlavo::hideEvent(QHideEvent* ereignis)
{
    ZiehenAbbrechen();
    QWidget::hideEvent(ereignis);
}

void PicPlavo::wheelEvent(QWheelEvent* ereignis)
{
    ereignis->accept();
    // A zoom under a drag would change what the drag's pixels mean.
    if (ziehen_)
        return;
    const int rasten = RastenNehmen(radRest_, ereignis->angleDelta().y());
    if (rasten == 0)
        return;
    const QPointF stelle = ereignis->position();
    const double w = std::max(width(), 1), h = std::max(height(), 1);
    emit mausrad(rasten, QPointF(stelle.x() / w, stelle.y() / h));
}
