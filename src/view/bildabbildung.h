#pragma once
// Between the picture's logical pixels and the plane (metres): the one
// mapping for what the user points at, moves and drags on the picture, and
// for what is drawn over it. Positions and velocities that are shown or set
// go through it, so a projection of the picture (a moving frame) plugs in
// here and nowhere else.
//
// A shift of (dx, dy) pixels is exactly dx · Breite / breite and
// dy · Hoehe / hoehe AE, as a drag of the section counts it.

#include "sim/bearbeitung.h"
#include "sim/berechnung.h"
#include "view/ausschnitt.h"

#include <QPointF>
#include <QSizeF>

#include <algorithm>

class Bildabbildung {
public:
    Bildabbildung(const Ausschnitt& a, QSizeF groesse)
        : a_(a)
        , breite_(std::max(groesse.width(), 1.0))
        , hoehe_(std::max(groesse.height(), 1.0))
    {
    }

    // Metres per logical pixel; negative along a mirrored axis.
    double MeterProPixelX() const { return a_.Breite / breite_ * MeterProAE; }
    double MeterProPixelY() const { return a_.Hoehe / hoehe_ * MeterProAE; }

    Vektor Versatz(QPointF pixel) const
    {
        return {pixel.x() * (a_.Breite / breite_) * MeterProAE, pixel.y() * (a_.Hoehe / hoehe_) * MeterProAE};
    }
    Vektor Ort(QPointF pixel) const
    {
        return {(a_.Links() + pixel.x() / breite_ * a_.Breite) * MeterProAE,
                (a_.Oben() + pixel.y() / hoehe_ * a_.Hoehe) * MeterProAE};
    }
    QPointF Pixel(Vektor ort) const
    {
        return {(ort.x / MeterProAE - a_.Links()) / a_.Breite * breite_,
                (ort.y / MeterProAE - a_.Oben()) / a_.Hoehe * hoehe_};
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
};
