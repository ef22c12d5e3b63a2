// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Arrows from the bodies' dots over the picture: their velocities or their
// accelerations, at a scale in pixels per unit that stays fixed once chosen
// (through a run and through zooming), so that lengths can be compared. The
// longest arrow is about a sixth of the picture's shorter side when the
// scale is chosen; a legend bar of a round value shows it. A body at rest
// has no arrow, and arrows under 3 pixels are left out.
//
// All arrows are collected as lines; many of them are set pixel by pixel
// into one image blended in one call, so 32,767 of them cost a few
// milliseconds rather than a painter's call per line.

#include "sim/bearbeitung.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class Bildabbildung;
class QPainter;

class Pfeile {
public:
    static constexpr double KuerzestePixel = 3;

    // Pixels per unit so that the longest of `werte` is `laenge` pixels; 0
    // when none is finite and above 0.
    static double Massstab(std::span<const Vektor> werte, double laenge);
    // The legend's value: 1, 2 or 5 times a power of ten, whose bar is at most `hoechstens` pixels.
    static double Legendenwert(double pixelProEinheit, double hoechstens);
    // "30 km/s", "500 m/s", "0,006 m/s²" in the user's number format.
    static QString Geschwindigkeitstext(double mps);
    static QString Beschleunigungstext(double mps2);

    // Each body's arrow that shows: from its dot at `mitten` (logical
    // pixels; `koerper` the body of each) along `werte[koerper]`.
    void Berechnen(std::span<const QPointF> mitten, std::span<const std::size_t> koerper,
                   std::span<const Vektor> werte, const Bildabbildung& abbildung, double pixelProEinheit);
    // Many arrows are drawn only inside `bereich` (logical pixels).
    void Zeichnen(QPainter& p, const QColor& farbe, bool griffe, QRect bereich) const;
    // The logical pixels the arrows cover (their hull), for repainting.
    QRect Bedeckt() const;
    // The body whose arrow tip lies within a handle's reach of `stelle`; the
    // last drawn on top. None where the handles are not drawn (a crowd).
    std::optional<std::size_t> SpitzeBei(QPointF stelle) const;
    bool Leer() const { return spitzen_.empty(); }

private:
    // The lines' pixels inside `r` (logical pixels) set into `bild` from its corner, one pixel wide.
    void Rastern(QImage& bild, QRect r, uint32_t farbe) const;

    std::vector<QLineF> linienPuffer_;   // shafts and heads, the first linien_ of them
    std::size_t linien_ = 0;
    mutable QImage ueberlage_;        // reused between paints
    std::vector<QPointF> spitzen_;
    std::vector<std::size_t> koerper_;   // beside spitzen_
    QRectF huelle_;
};
