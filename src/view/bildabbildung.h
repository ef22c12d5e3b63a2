// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between the picture's logical pixels and the plane (metres): the one
// mapping for what the user points at, moves and drags on the picture, and
// for what is drawn over it. Positions and velocities that are shown or set
// go through it, so a projection of the picture (a moving frame) plugs in
// here and nowhere else.
//
// A shift of (dx, dy) pixels is exactly dx · Breite / breite and
// dy · Hoehe / hoehe AE, as a drag of the section counts it; seen in a
// turning frame, it is turned back into the fixed frame.

#include "sim/bearbeitung.h"
#include "sim/berechnung.h"
#include "view/ausschnitt.h"
#include "view/bezugslage.h"

#include <QPointF>
#include <QSizeF>

#include <algorithm>
#include <optional>

class Bildabbildung {
public:
    Bildabbildung(const Ausschnitt& a, QSizeF groesse)
        : a_(a)
        , breite_(std::max(groesse.width(), 1.0))
        , hoehe_(std::max(groesse.height(), 1.0))
    {
    }

    // The picture is seen in the frame that stands at `lage`.
    void LageSetzen(const std::optional<Bezugslage>& lage) { lage_ = lage; }

    // Metres per logical pixel; negative along a mirrored axis.
    double MeterProPixelX() const { return a_.Breite / breite_ * MeterProAE; }
    double MeterProPixelY() const { return a_.Hoehe / hoehe_ * MeterProAE; }

    Vektor Versatz(QPointF pixel) const
    {
        const Vektor d{pixel.x() * (a_.Breite / breite_) * MeterProAE, pixel.y() * (a_.Hoehe / hoehe_) * MeterProAE};
        if (!lage_ || (lage_->c == 1 && lage_->s == 0))
            return d;
        return {lage_->c * d.x - lage_->s * d.y, lage_->s * d.x + lage_->c * d.y};
    }
    Vektor Ort(QPointF pixel) const
    {
        QPointF q(a_.Links() + pixel.x() / breite_ * a_.Breite, a_.Oben() + pixel.y() / hoehe_ * a_.Hoehe);
        if (lage_)
            q = lage_->OrtZurueck(q);
        return {q.x() * MeterProAE, q.y() * MeterProAE};
    }
    QPointF Pixel(Vektor ort) const
    {
        QPointF q(ort.x / MeterProAE, ort.y / MeterProAE);
        if (lage_)
            q = lage_->Ort(q);
        return {(q.x() - a_.Links()) / a_.Breite * breite_, (q.y() - a_.Oben()) / a_.Hoehe * hoehe_};
    }
    // A velocity (m/s) drawn as an arrow of `pixelProMps` pixels per m/s, and back.
    QPointF Pfeil(Vektor v, double pixelProMps) const
    {
        return {v.x * pixelProMps * Vorzeichen(a_.Breite), v.y * pixelProMps * Vorzeichen(a_.Hoehe)};
    }
    Vektor AusPfeil(QPointF pfeil, double pixelProMps) const
    {
        return {pfeil.x() / pixelProMps * Vorzeichen(a_.Breite), pfeil.y() / pixelProMps * Vorzeichen(a_.Hoehe)};
    }
    QSizeF Groesse() const { return {breite_, hoehe_}; }

private:
    static double Vorzeichen(double d) { return d < 0 ? -1.0 : 1.0; }

    Ausschnitt a_;
    double breite_, hoehe_;
    std::optional<Bezugslage> lage_;
};
