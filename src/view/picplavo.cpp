// SPDX-License-Identifier: GPL-3.0-or-later
#include "picplavo.h"

#include "model/zahltext.h"
#include "sim/berechnung.h"
#include "sim/lauf.h"
#include "view/ausschnittwechsel.h"
#include "view/lagrangepunkte.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace {
// The selection's ring, logical pixels from the dot's centre.
constexpr double RingHalbmesser = 8;

QRect RingRahmen(QPointF mitte)
{
    const int r = int(std::ceil(RingHalbmesser)) + 2;
    return QRect(int(std::floor(mitte.x())) - r, int(std::floor(mitte.y())) - r, 2 * r + 1, 2 * r + 1);
}
}  // namespace

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
        bild_->BezugSetzen(bezug_);
        verbindungen_[0] = connect(lauf_, &Lauf::schrittGemacht, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[1] = connect(lauf_, &Lauf::wiedergegeben, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[2] = connect(lauf_, &Lauf::zurueckgesetzt, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[3] = connect(lauf_, &Lauf::neuzeichnungBegonnen, this, &PicPlavo::GeaendertesZeigen);
        verbindungen_[4] = connect(lauf_, &Lauf::standGeaendert, this, &PicPlavo::StandGeaendert);
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

void PicPlavo::BezugSetzen(const Bezugssystem& bezug)
{
    bezug_ = bezug;
    if (bild_)
        bild_->BezugSetzen(bezug);
    KoerperGeaendert();
}

void PicPlavo::LagrangeZeigen(bool an)
{
    lagrangeZeigen_ = an;
    KoerperGeaendert();
}

bool PicPlavo::Arbeitssatz() const
{
    return lauf_ && lauf_->Stand().Schrittzahl > 0;
}

std::optional<Bezugslage> PicPlavo::LageJetzt() const
{
    if (!lauf_ || bezug_.Fest())
        return std::nullopt;
    // A pair that coincides now keeps the direction its trails last had.
    Bezugssystem::Richtung richtung = bild_->Projektion().Richtung();
    return bezug_.LageJetzt(lauf_->Jetzt(), Arbeitssatz(), lauf_->Mod().Intervall, richtung);
}

PicPlavo::Platzierung PicPlavo::PlatzierungJetzt() const
{
    Platzierung p;
    p.aenderung = aenderung_;
    p.flaeche = flaeche_.Groesse();
    p.groesse = size();
    p.spalte0 = flaeche_.PixelSpalte(0), p.spalte1 = flaeche_.PixelSpalte(1);
    p.zeile0 = flaeche_.PixelZeile(0), p.zeile1 = flaeche_.PixelZeile(1);
    p.pixelverhaeltnis = devicePixelRatioF();
    if (griff_ && griff_->aktiv) {
        p.griff = true;
        p.pfeil = griff_->pfeil;
        p.koerper = griff_->koerper;
        p.verschiebung = griff_->verschiebung;
        p.vx = griff_->v.x, p.vy = griff_->v.y;
    }
    return p;
}

void PicPlavo::PunkteBerechnen()
{
    if (!lauf_)
        return;
    const Platzierung jetzt = PlatzierungJetzt();
    if (punkteFuer_ == jetzt)
        return;
    punkteFuer_ = jetzt;
    const std::optional<Bezugslage> lage = LageJetzt();
    punkte_.Berechnen(lauf_->Jetzt(), flaeche_, devicePixelRatioF(), namenZeigen_, lage ? &*lage : nullptr, font());
    if (auswahl_ && *auswahl_ >= lauf_->Jetzt().size())
        auswahl_.reset();
    if (griff_ && griff_->aktiv)
        punkte_.Versetzen(griff_->koerper, griff_->verschiebung);
}

void PicPlavo::StandGeaendert()
{
    if (lauf_)
        pfeile_.StandGeaendert(lauf_->Jetzt(), Art(), lauf_->Stand().Schrittzahl);
    KoerperGeaendert();
}

QRect PicPlavo::BezugsTextRahmen(const QString& text) const
{
    const QFontMetrics mass(font());
    const QSize groesse(mass.horizontalAdvance(text) + 8, mass.height() + 4);
    return QRect(QPoint(width() - groesse.width() - 6, 6), groesse);
}

std::vector<QPointF> PicPlavo::LagrangeOrte() const
{
    std::vector<QPointF> orte;
    if (!lauf_ || !lagrangeZeigen_ || !bezug_.Dreht())
        return orte;
    const KoerperSatz& jetzt = lauf_->Jetzt();
    if (!bezug_.Passt(jetzt.size()))
        return orte;
    const Koerper& a = jetzt[bezug_.Erster()];
    const Koerper& b = jetzt[bezug_.Zweiter()];
    const std::optional<Bezugslage> lage = LageJetzt();
    const double abstand = std::hypot(b.X - a.X, b.Y - a.Y) / MeterProAE;
    const auto punkte = Lagrangepunkte(a.Masse, b.Masse, abstand, lage ? lage->drehrate : 0);
    if (!punkte)
        return orte;
    const qreal q = devicePixelRatioF();
    for (const QPointF& l : *punkte)
        orte.emplace_back(flaeche_.PixelSpalte(l.x()) / q, flaeche_.PixelZeile(l.y()) / q);
    return orte;
}

namespace {
constexpr int KreuzHalb = 4;   // logical pixels from a cross's centre to its ends
const QColor Beschriftung(0x30, 0x30, 0x30);
}  // namespace

QRegion PicPlavo::BezugBedeckt(QPoint v) const
{
    QRegion r;
    if (!lauf_ || bezug_.Fest())
        return r;
    r += BezugsTextRahmen(bezug_.Text(lauf_->Jetzt())).adjusted(-1, -1, 1, 1);
    const QFontMetrics mass(font());
    for (const QPointF& l : LagrangeOrte()) {
        // Also skips NaN.
        if (!(std::abs(l.x()) < 1e6 && std::abs(l.y()) < 1e6))
            continue;
        const QPoint m = l.toPoint() + v;
        r += QRect(m - QPoint(KreuzHalb + 1, KreuzHalb + 1), m + QPoint(KreuzHalb + 3 + mass.horizontalAdvance(QStringLiteral("L5")), KreuzHalb + 1));
        r += QRect(m + QPoint(KreuzHalb, -mass.height()), QSize(mass.horizontalAdvance(QStringLiteral("L5")) + 4, mass.height() + 2));
    }
    return r;
}

void PicPlavo::BezugZeichnen(QPainter& p) const
{
    if (!lauf_ || bezug_.Fest())
        return;
    p.save();
    const QPoint v = verschiebung_.toPoint();
    int nummer = 1;
    for (const QPointF& l : LagrangeOrte()) {
        const QString name = QStringLiteral("L%1").arg(nummer++);
        if (!(std::abs(l.x()) < 1e6 && std::abs(l.y()) < 1e6))
            continue;
        const QPointF m = l + QPointF(v);
        p.setPen(QPen(Beschriftung, 1));
        p.drawLine(m + QPointF(-KreuzHalb, -KreuzHalb), m + QPointF(KreuzHalb, KreuzHalb));
        p.drawLine(m + QPointF(-KreuzHalb, KreuzHalb), m + QPointF(KreuzHalb, -KreuzHalb));
        p.drawText(m + QPointF(KreuzHalb + 2, -2), name);
    }
    // The frame's name stays in its corner while the picture is dragged.
    const QString text = bezug_.Text(lauf_->Jetzt());
    const QRect rahmen = BezugsTextRahmen(text);
    p.fillRect(rahmen, QColor(255, 255, 255, 210));
    p.setPen(Beschriftung);
    p.drawText(rahmen, Qt::AlignCenter, text);
    p.restore();
}

void PicPlavo::KoerperGeaendert()
{
    ++aenderung_;
    QRegion neu;
    if (UeberlagerungAn()) {
        PunkteBerechnen();
        if (punkteZeigen_ || namenZeigen_)
            neu = punkte_.Bedeckt().translated(verschiebung_.toPoint());
        neu |= BezugBedeckt(verschiebung_.toPoint());
        if (pfeile_.An()) {
            PfeileBerechnen();
            neu += pfeile_.Bedeckt(size()).translated(verschiebung_.toPoint());
        }
        if (auswahl_)
            if (const std::optional<QPointF> ort = punkte_.Ort(*auswahl_))
                neu += RingRahmen(*ort + verschiebung_);
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
    if (punkteZeigen_ || namenZeigen_) {
        punkte_.Zeichnen(p, lauf_->Jetzt(), ereignis->rect(), verschiebung_, punkteZeigen_);
        gezeigt_ |= punkte_.Bedeckt().translated(v);
    }
    if (pfeile_.An()) {
        PfeileBerechnen();
        p.save();
        p.translate(verschiebung_);
        pfeile_.Zeichnen(p, bearbeitbar_, size(), ereignis->rect().translated(-v));
        p.restore();
        gezeigt_ |= pfeile_.Bedeckt(size()).translated(v);
    }
    if (auswahl_ && punkteZeigen_)
        if (const std::optional<QPointF> ort = punkte_.Ort(*auswahl_)) {
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(0x20, 0x60, 0xD0), 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(*ort + verschiebung_, RingHalbmesser, RingHalbmesser);
            p.restore();
            gezeigt_ |= RingRahmen(*ort + verschiebung_);
        }
    BezugZeichnen(p);
    gezeigt_ |= BezugBedeckt(v);
}

bool PicPlavo::event(QEvent* ereignis)
{
    // Tab goes through the bodies rather than on to the next widget.
    if (ereignis->type() == QEvent::KeyPress && bearbeitbar_ && lauf_) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        if ((taste->key() == Qt::Key_Tab || taste->key() == Qt::Key_Backtab)
            && !(taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            AuswahlWeiter(taste->key() == Qt::Key_Backtab);
            return true;
        }
    }
    if (ereignis->type() != QEvent::ToolTip)
        return QWidget::event(ereignis);
    auto* hilfe = static_cast<QHelpEvent*>(ereignis);
    std::optional<std::size_t> koerper;
    std::size_t anzahl = 0;
    if (lauf_ && punkteZeigen_ && !ziehen_ && !griff_) {
        PunkteBerechnen();
        koerper = punkte_.Bei(hilfe->pos());
        anzahl = punkte_.AnzahlBei(hilfe->pos());
    }
    if (!koerper) {
        QToolTip::hideText();
        ereignis->ignore();
        return true;
    }
    const KoerperSatz& satz = lauf_->Jetzt();
    const std::optional<Bezugslage> lage = LageJetzt();
    QString text = KoerperTipp(satz[*koerper], *koerper + 1, lauf_->Schrittzahl() > 0, lauf_->Mod().Intervall,
                               lage ? &*lage : nullptr);
    // The one on top is described; the others are only counted.
    if (anzahl > 1)
        text += QStringLiteral("\n%1 Körper liegen hier übereinander").arg(anzahl);
    QToolTip::showText(hilfe->globalPos(), text, this);
    return true;
}

void PicPlavo::mousePressEvent(QMouseEvent* ereignis)
{
    if (ereignis->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(ereignis);
        return;
    }
    if (bearbeitbar_ && lauf_ && pfeile_.GeschwindigkeitenAn()) {
        PunkteBerechnen();
        PfeileBerechnen();
        if (const std::optional<std::size_t> k = pfeile_.SpitzeBei(ereignis->position())) {
            // The handle sits on the arrow's tip: it starts from the arrow as drawn.
            const Koerper& koerper = lauf_->Jetzt()[*k];
            const Vektor v = Geschwindigkeit(koerper, Art());
            const std::optional<Bezugslage> lage = LageJetzt();
            const Vektor gesehen = lage ? Pfeilanzeige::GeschwindigkeitGesehen(*lage, koerper, v) : v;
            griff_ = Griff{*k, ereignis->position(), {}, false, true, ereignis->position(),
                           abbildung_.Pfeil(gesehen, pfeile_.VMassstab()), v};
            AuswahlSetzen(*k);
            return;
        }
    }
    if (bearbeitbar_ && lauf_ && punkteZeigen_) {
        PunkteBerechnen();
        if (const std::optional<std::size_t> k = punkte_.Bei(ereignis->position())) {
            // A click selects; a move past the drag distance moves the body.
            griff_ = Griff{*k, ereignis->position(), {}, false, false, ereignis->position(), {}, {}};
            AuswahlSetzen(*k);
            return;
        }
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
    if (griff_) {
        if (!(ereignis->buttons() & Qt::LeftButton)) {
            GriffAbbrechen();
            return;
        }
        const QPointF d = Geklemmt(ereignis->position()) - griff_->start;
        if (!griff_->aktiv && griff_->pfeil) {
            // The handle is meant to be grabbed: it follows at once, without a drag distance.
            griff_->aktiv = true;
            emit griffBegonnen();
            if (!griff_)
                return;
        }
        if (griff_->pfeil) {
            PfeilFolgen(ereignis->position(), ereignis->modifiers(), ereignis->globalPosition().toPoint());
            return;
        }
        if (!griff_->aktiv) {
            if (d.manhattanLength() < QApplication::startDragDistance())
                return;
            griff_->aktiv = true;
            // The window stops a running simulation here.
            emit griffBegonnen();
            if (!griff_)
                return;
        }
        griff_->verschiebung = d;
        update();
        if (lauf_ && griff_->koerper < lauf_->Jetzt().size()) {
            const Koerper& k = lauf_->Jetzt()[griff_->koerper];
            const double x = k.X / MeterProAE + d.x() * flaeche_.ScaleWidth() / std::max(width(), 1);
            const double y = k.Y / MeterProAE + d.y() * flaeche_.ScaleHeight() / std::max(height(), 1);
            QToolTip::showText(ereignis->globalPosition().toPoint(),
                               QStringLiteral("x = %1 AE, y = %2 AE").arg(KurzZuText(x, 6), KurzZuText(y, 6)), this);
        }
        return;
    }
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
    if (griff_ && ereignis->button() == Qt::LeftButton) {
        const Griff g = *griff_;
        griff_.reset();
        if (!g.aktiv)
            return;
        QToolTip::hideText();
        update();
        if (g.pfeil) {
            emit geschwindigkeitGezogen(g.koerper, QPointF(g.v.x, g.v.y));
            return;
        }
        const QPointF d = Geklemmt(ereignis->position()) - g.start;
        emit koerperGezogen(g.koerper, d);
        return;
    }
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
    GriffAbbrechen();
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
    GriffAbbrechen();
    ZiehenAbbrechen();
    QWidget::hideEvent(ereignis);
}

void PicPlavo::wheelEvent(QWheelEvent* ereignis)
{
    ereignis->accept();
    // A zoom under a drag would change what the drag's pixels mean.
    if (ziehen_ || griff_)
        return;
    const int rasten = RastenNehmen(radRest_, ereignis->angleDelta().y());
    if (rasten == 0)
        return;
    const QPointF stelle = ereignis->position();
    const double w = std::max(width(), 1), h = std::max(height(), 1);
    emit mausrad(rasten, QPointF(stelle.x() / w, stelle.y() / h));
}
