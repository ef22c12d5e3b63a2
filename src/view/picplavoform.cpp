// SPDX-License-Identifier: GPL-3.0-or-later
// Shaping the system on the picture: the arrows over it, the handle at a
// velocity arrow's tip, the selection and the keys that act on it, and the
// right click. The picture reports each gesture once complete; the window
// turns it into one command.
#include "picplavo.h"

#include "model/zahltext.h"
#include "sim/lauf.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>

void PicPlavo::PfeilFolgen(QPointF stelle, Qt::KeyboardModifiers tasten, QPoint global)
{
    Griff& g = *griff_;
    QPointF d = stelle - g.letzte;
    g.letzte = stelle;
    // Shift: a tenth of the mouse's motion, for fine settings.
    if (tasten & Qt::ShiftModifier)
        d /= 10;
    g.pfeilPixel += d;
    if (!lauf_ || g.koerper >= lauf_->Jetzt().size() || !(pfeile_.VMassstab() > 0))
        return;
    const KoerperSatz& satz = lauf_->Jetzt();
    const Koerper& k = satz[g.koerper];
    // The arrow is drawn as the frame sees it: what it points at is turned back.
    const std::optional<Bezugslage> lage = LageJetzt();
    g.v = abbildung_.AusPfeil(g.pfeilPixel, pfeile_.VMassstab());
    if (lage)
        g.v = Pfeilanzeige::GeschwindigkeitZurueck(*lage, k, g.v);
    const Bewegungsart art = Art();
    const std::optional<std::size_t> zentrum = StaerksterZug(satz, {k.X, k.Y}, g.koerper);
    const auto gesehen = [&] { return lage ? Pfeilanzeige::GeschwindigkeitGesehen(*lage, k, g.v) : g.v; };
    Vektor w = gesehen();
    QString text = QStringLiteral("Geschwindigkeit: %1 m/s\nRichtung: %2°")
                       .arg(KurzZuText(std::hypot(w.x, w.y), 6), KurzZuText(RichtungGrad(w), 6));
    if (zentrum) {
        const Koerper& z = satz[*zentrum];
        const Vektor vz = Geschwindigkeit(z, art);
        const Vektor rel{k.X - z.X, k.Y - z.Y};
        // Ctrl: on the circular orbit, in the sense the arrow points.
        if (tasten & Qt::ControlModifier) {
            const int sinn = Umlaufsinn(rel, {g.v.x - vz.x, g.v.y - vz.y});
            if (const std::optional<Vektor> kreis = Kreisbahn(rel, z.Masse, k.Masse, sinn != 0 ? sinn : 1))
                g.v = {vz.x + kreis->x, vz.y + kreis->y};
        }
        w = gesehen();
        const double relativ = std::hypot(g.v.x - vz.x, g.v.y - vz.y);
        const double kreis = Kreisgeschwindigkeit(std::hypot(rel.x, rel.y), z.Masse, k.Masse);
        QString name = KoerperNameKurz(z);
        if (name.isEmpty())
            name = QStringLiteral("Körper %1").arg(*zentrum + 1);
        text = QStringLiteral("Geschwindigkeit: %1 m/s\nRichtung: %2°\nRelativ zu %3: %4 m/s = %5 × Kreisbahn")
                   .arg(KurzZuText(std::hypot(w.x, w.y), 6), KurzZuText(RichtungGrad(w), 6), name,
                        KurzZuText(relativ, 6), KurzZuText(relativ / kreis, 4));
    }
    update();
    QToolTip::showText(global, text, this);
}

void PicPlavo::GriffAbbrechen()
{
    if (!griff_)
        return;
    const bool aktiv = griff_->aktiv;
    griff_.reset();
    if (!aktiv)
        return;
    QToolTip::hideText();
    update();
    emit griffAbgebrochen();
}

QPointF PicPlavo::Geklemmt(QPointF stelle) const
{
    return {std::clamp(stelle.x(), 0.0, double(std::max(width() - 1, 0))),
            std::clamp(stelle.y(), 0.0, double(std::max(height() - 1, 0)))};
}

void PicPlavo::BearbeitungErlauben(bool an)
{
    bearbeitbar_ = an;
    if (!an) {
        GriffAbbrechen();
        AuswahlSetzen(std::nullopt);
    }
}

void PicPlavo::AuswahlSetzen(std::optional<std::size_t> koerper)
{
    if (koerper == auswahl_)
        return;
    auswahl_ = koerper;
    // The old ring goes with what was shown, the new one with the dots.
    KoerperGeaendert();
}

void PicPlavo::AuswahlWeiter(bool zurueck)
{
    const std::size_t n = lauf_->Jetzt().size();
    if (n == 0)
        return;
    std::size_t k;
    if (!auswahl_ || *auswahl_ >= n)
        k = zurueck ? n - 1 : 0;
    else
        k = zurueck ? (*auswahl_ + n - 1) % n : (*auswahl_ + 1) % n;
    AuswahlSetzen(k);
}

void PicPlavo::keyPressEvent(QKeyEvent* ereignis)
{
    if (ereignis->key() == Qt::Key_Escape && griff_) {
        GriffAbbrechen();
        return;
    }
    const bool ctrl = ereignis->modifiers() & Qt::ControlModifier;
    if (!bearbeitbar_ || !auswahl_ || ctrl || griff_) {
        QWidget::keyPressEvent(ereignis);
        return;
    }
    const double schritt = (ereignis->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    QPointF d;
    switch (ereignis->key()) {
    case Qt::Key_Left: d = {-schritt, 0}; break;
    case Qt::Key_Right: d = {schritt, 0}; break;
    case Qt::Key_Up: d = {0, -schritt}; break;
    case Qt::Key_Down: d = {0, schritt}; break;
    case Qt::Key_Delete:
        emit auswahlEntfernen(*auswahl_);
        return;
    default:
        QWidget::keyPressEvent(ereignis);
        return;
    }
    emit auswahlVerschieben(*auswahl_, d);
}

void PicPlavo::contextMenuEvent(QContextMenuEvent* ereignis)
{
    if (!bearbeitbar_ || !lauf_ || griff_ || ziehen_) {
        ereignis->ignore();
        return;
    }
    std::optional<std::size_t> k;
    if (punkteZeigen_) {
        PunkteBerechnen();
        k = punkte_.Bei(ereignis->pos());
    }
    emit kontextmenueGewuenscht(ereignis->pos(), k ? qlonglong(*k) : -1, ereignis->globalPos());
}

Bewegungsart PicPlavo::Art() const
{
    return {lauf_ && lauf_->Stand().Schrittzahl > 0, lauf_ ? lauf_->Stand().Intervall : 2.0};
}

void PicPlavo::PfeileBerechnen()
{
    if (!lauf_ || !pfeile_.An())
        return;
    PunkteBerechnen();
    const Platzierung jetzt = PlatzierungJetzt();
    if (pfeileFuer_ == jetzt)
        return;
    pfeileFuer_ = jetzt;
    punkte_.Mitten(mitten_, mittenKoerper_);
    std::optional<std::pair<std::size_t, Vektor>> ersetzt;
    if (griff_ && griff_->aktiv && griff_->pfeil)
        ersetzt = std::pair(griff_->koerper, griff_->v);
    pfeile_.Berechnen(lauf_->Jetzt(), Art(), mitten_, mittenKoerper_, abbildung_, LageJetzt(), ersetzt);
}

void PicPlavo::AbbildungSetzen(const Bildabbildung& abbildung)
{
    abbildung_ = abbildung;
    ++aenderung_;
}

void PicPlavo::GeschwindigkeitenZeigen(bool an)
{
    if (lauf_)
        pfeile_.GeschwindigkeitenZeigen(an, lauf_->Jetzt(), Art(), abbildung_.Groesse(), LageJetzt());
    KoerperGeaendert();
}

void PicPlavo::BeschleunigungenZeigen(bool an)
{
    if (lauf_)
        pfeile_.BeschleunigungenZeigen(an, lauf_->Jetzt(), Art(), lauf_->Stand().Schrittzahl, abbildung_.Groesse());
    KoerperGeaendert();
}

void PicPlavo::MassstaebeWaehlen()
{
    if (lauf_)
        pfeile_.MassstaebeWaehlen(lauf_->Jetzt(), Art(), lauf_->Stand().Schrittzahl, abbildung_.Groesse(),
                                  LageJetzt());
    KoerperGeaendert();
}

void PicPlavo::GeschwindigkeitsMassstabWaehlen()
{
    if (lauf_ && pfeile_.GeschwindigkeitenAn())
        pfeile_.VMassstabWaehlen(lauf_->Jetzt(), Art(), abbildung_.Groesse(), LageJetzt());
    KoerperGeaendert();
}
