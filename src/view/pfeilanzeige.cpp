// SPDX-License-Identifier: GPL-3.0-or-later
#include "pfeilanzeige.h"

#include "view/bezugssystem.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
const QColor VFarbe(0x20, 0x60, 0xD0);
const QColor AFarbe(0xD0, 0x30, 0x20);
constexpr int Rand = 8;            // logical pixels from the picture's corner
constexpr int LegendenHoehe = 18;  // per legend line
constexpr double LegendeHoechstens = 120;   // pixels of a legend bar at most
}  // namespace

double Pfeilanzeige::Laenge(QSizeF bild)
{
    return std::min(bild.width(), bild.height()) / 6;
}

void Pfeilanzeige::GeschwindigkeitenBerechnen(const KoerperSatz& satz, Bewegungsart art)
{
    v_.resize(satz.size());
    for (std::size_t i = 0; i < satz.size(); ++i)
        v_[i] = Geschwindigkeit(satz[i], art);
}

void Pfeilanzeige::GeschwindigkeitenSehen(const KoerperSatz& satz, const std::optional<Bezugslage>& lage)
{
    if (lage)
        for (std::size_t i = 0; i < satz.size(); ++i)
            v_[i] = GeschwindigkeitGesehen(*lage, satz[i], v_[i]);
}

void Pfeilanzeige::VMassstabWaehlen(const KoerperSatz& satz, Bewegungsart art, QSizeF bild,
                                    const std::optional<Bezugslage>& lage)
{
    GeschwindigkeitenBerechnen(satz, art);
    GeschwindigkeitenSehen(satz, lage);
    vMassstab_ = Pfeile::Massstab(v_, Laenge(bild));
}

void Pfeilanzeige::GeschwindigkeitenZeigen(bool an, const KoerperSatz& satz, Bewegungsart art, QSizeF bild,
                                           const std::optional<Bezugslage>& lage)
{
    if (an && !vAn_)
        VMassstabWaehlen(satz, art, bild, lage);
    vAn_ = an;
}

void Pfeilanzeige::BeschleunigungenZeigen(bool an, const KoerperSatz& satz, Bewegungsart art, int32_t schritt,
                                          QSizeF bild)
{
    if (an && !aAn_) {
        aAn_ = true;
        vorigerSchritt_ = -1;
        StandGeaendert(satz, art, schritt);
        aMassstab_ = Pfeile::Massstab(a_, Laenge(bild));
    }
    aAn_ = an;
}

void Pfeilanzeige::MassstaebeWaehlen(const KoerperSatz& satz, Bewegungsart art, int32_t schritt, QSizeF bild,
                                     const std::optional<Bezugslage>& lage)
{
    if (vAn_)
        VMassstabWaehlen(satz, art, bild, lage);
    if (aAn_) {
        vorigerSchritt_ = -1;
        StandGeaendert(satz, art, schritt);
        aMassstab_ = Pfeile::Massstab(a_, Laenge(bild));
    }
}

void Pfeilanzeige::StandGeaendert(const KoerperSatz& satz, Bewegungsart art, int32_t schritt)
{
    if (!aAn_)
        return;
    const double dt = art.intervall * 86400.0;
    const bool ausDemSchritt = satz.size() >= AusDemSchrittAb && schritt > 0 && vorigerSchritt_ == schritt - 1
                            && vorigeV_.size() == satz.size() && std::isfinite(dt) && dt != 0;
    if (ausDemSchritt) {
        // v += dt² · a: the step's own kick, without the pass over all pairs.
        a_.resize(satz.size());
        for (std::size_t i = 0; i < satz.size(); ++i)
            a_[i] = {(satz[i].Vx() - vorigeV_[i].x) / (dt * dt), (satz[i].Vy() - vorigeV_[i].y) / (dt * dt)};
    } else {
        std::vector<double> ax, ay;
        ::Beschleunigungen(satz, ax, ay);
        a_.resize(satz.size());
        for (std::size_t i = 0; i < satz.size(); ++i)
            a_[i] = {ax[i], ay[i]};
    }
    if (satz.size() >= AusDemSchrittAb && schritt > 0) {
        vorigeV_.resize(satz.size());
        for (std::size_t i = 0; i < satz.size(); ++i)
            vorigeV_[i] = {satz[i].Vx(), satz[i].Vy()};
        vorigerSchritt_ = schritt;
    } else {
        vorigerSchritt_ = -1;
    }
}

void Pfeilanzeige::Berechnen(const KoerperSatz& satz, Bewegungsart art, std::span<const QPointF> mitten,
                             std::span<const std::size_t> koerper, const Bildabbildung& abbildung,
                             const std::optional<Bezugslage>& lage,
                             std::optional<std::pair<std::size_t, Vektor>> ersetzt)
{
    if (vAn_) {
        GeschwindigkeitenBerechnen(satz, art);
        if (ersetzt && ersetzt->first < v_.size())
            v_[ersetzt->first] = ersetzt->second;
        GeschwindigkeitenSehen(satz, lage);
        // Chosen while everything rested: chosen once something moves.
        if (!(vMassstab_ > 0))
            vMassstab_ = Pfeile::Massstab(v_, Laenge(abbildung.Groesse()));
        vPfeile_.Berechnen(mitten, koerper, v_, abbildung, vMassstab_);
    }
    if (aAn_) {
        if (!(aMassstab_ > 0))
            aMassstab_ = Pfeile::Massstab(a_, Laenge(abbildung.Groesse()));
        std::span<const Vektor> a = a_;
        if (lage && (lage->c != 1 || lage->s != 0)) {
            // Turned with the frame only: the arrows show the pull on each body.
            aGesehen_.resize(a_.size());
            for (std::size_t i = 0; i < a_.size(); ++i)
                aGesehen_[i] = {lage->c * a_[i].x + lage->s * a_[i].y, -lage->s * a_[i].x + lage->c * a_[i].y};
            a = aGesehen_;
        }
        aPfeile_.Berechnen(mitten, koerper, a, abbildung, aMassstab_);
    }
}

Vektor Pfeilanzeige::GeschwindigkeitGesehen(const Bezugslage& lage, const Koerper& k, Vektor v)
{
    const QPointF w = lage.Geschwindigkeit(lage.Ort(KoerperOrt(k, MeterProAE)), QPointF(v.x, v.y), MeterProAE);
    return {w.x(), w.y()};
}

Vektor Pfeilanzeige::GeschwindigkeitZurueck(const Bezugslage& lage, const Koerper& k, Vektor w)
{
    const QPointF v = lage.GeschwindigkeitZurueck(lage.Ort(KoerperOrt(k, MeterProAE)), QPointF(w.x, w.y), MeterProAE);
    return {v.x(), v.y()};
}

QRect Pfeilanzeige::Legenden(QSize bild) const
{
    const int zeilen = int(vAn_) + int(aAn_);
    const int hoehe = zeilen * LegendenHoehe;
    return QRect(0, bild.height() - hoehe - 2 * Rand, int(LegendeHoechstens) + 140, hoehe + 2 * Rand);
}

void Pfeilanzeige::Zeichnen(QPainter& p, bool griffe, QSize bild, QRect bereich) const
{
    if (aAn_)
        aPfeile_.Zeichnen(p, AFarbe, false, bereich);
    if (vAn_)
        vPfeile_.Zeichnen(p, VFarbe, griffe, bereich);
    // The legends: a bar of a round value and what it stands for.
    int y = bild.height() - Rand - LegendenHoehe / 2;
    const auto legende = [&](double massstab, const QColor& farbe, QString (*text)(double)) {
        const double wert = Pfeile::Legendenwert(massstab, LegendeHoechstens);
        if (wert > 0) {
            const double laenge = wert * massstab;
            p.save();
            p.setPen(QPen(farbe, 2));
            p.drawLine(QPointF(Rand, y), QPointF(Rand + laenge, y));
            p.drawLine(QPointF(Rand, y - 3), QPointF(Rand, y + 3));
            p.drawLine(QPointF(Rand + laenge, y - 3), QPointF(Rand + laenge, y + 3));
            p.setPen(QColor(0x30, 0x30, 0x30));
            p.drawText(QPointF(Rand + laenge + 6, y + p.fontMetrics().ascent() / 2.0 - 1), text(wert));
            p.restore();
        }
        y -= LegendenHoehe;
    };
    if (vAn_)
        legende(vMassstab_, VFarbe, &Pfeile::Geschwindigkeitstext);
    if (aAn_)
        legende(aMassstab_, AFarbe, &Pfeile::Beschleunigungstext);
}

QRect Pfeilanzeige::Bedeckt(QSize bild) const
{
    QRect r;
    if (vAn_)
        r |= vPfeile_.Bedeckt();
    if (aAn_)
        r |= aPfeile_.Bedeckt();
    if (An())
        r |= Legenden(bild);
    return r;
}

std::optional<std::size_t> Pfeilanzeige::SpitzeBei(QPointF stelle) const
{
    return vAn_ ? vPfeile_.SpitzeBei(stelle) : std::nullopt;
}
