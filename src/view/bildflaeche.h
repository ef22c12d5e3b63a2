// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface on an image: white background, one-pixel solid lines
// without antialiasing, drawn straight into the pixels. It draws the strokes
// the run's steps give back.
//
// A point (x, y) in user units lands in pixel column floor((x - x1) / (x2 - x1) * W)
// and row floor((y - y1) / (y2 - y1) * H). Everything is clipped in floating
// point before any integer conversion, so far-away, infinite or NaN
// coordinates draw nothing instead of misbehaving.

#include "sim/strich.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class BildFlaeche {
public:
    BildFlaeche();

    // Size in device pixels; the image is cleared to white.
    void GroesseSetzen(QSize pixel);
    QSize Groesse() const { return bild_.size(); }
    const QImage& Image() const;

    // Fill with white; the scale stays.
    void Cls();
    // (x1, y1) becomes the upper-left, (x2, y2) the lower-right corner of the
    // drawing area; x2 < x1 or y2 < y1 mirror that axis.
    void Scale(double x1, double y1, double x2, double y2);
    float ScaleWidth() const { return float(x2_ - x1_); }    // x2 - x1, single precision
    float ScaleHeight() const { return float(y2_ - y1_); }   // y2 - y1
    // A one-pixel solid segment from (x, y) to (x + dx, y + dy), user units.
    void Line(float x, float y, float dx, float dy, int32_t farbe);
    void PSet(float x, float y, int32_t farbe);
    // Strokes in order, each as Line then PSet, at once.
    void Striche(std::span<const Strich> striche);

    // The pixels changed since the last call (for repainting only what changed).
    QRect GeaendertNehmen();

    // Where a point in user units lands, in pixels not yet rounded down.
    double PixelSpalte(double x) const { return (x - x1_) / (x2_ - x1_) * bild_.width(); }
    double PixelZeile(double y) const { return (y - y1_) / (y2_ - y1_) * bild_.height(); }

private:
    // Takes the pixels for a batch of drawing: detaches the image once (a
    // copy handed out by Image() keeps what it showed) instead of per pixel.
    void Oeffnen();
    template <bool MitKehrwert>
    void StricheZeichnenMit(const Strich* striche, std::size_t anzahl);
    void LinieZiehen(double ax, double ay, double bx, double by, uint32_t rgb);
    void PunktSetzen(double sx, double sy, uint32_t rgb);
    void Bresenham(int x0, int y0, int x1, int y1, uint32_t rgb, bool pruefen);
    void Pixel(int px, int py, uint32_t rgb);
    void Merken(int links, int oben, int rechts, int unten)
    {
        links_ = links, oben_ = oben, rechts_ = rechts, unten_ = unten;
    }
    double Spalte(double x) const { return (x - x1_) / (x2_ - x1_) * breite_; }
    double Zeile(double y) const { return (y - y1_) / (y2_ - y1_) * hoehe_; }

    QImage bild_;
    uint32_t* pixel_ = nullptr;   // valid between Oeffnen() and the end of that drawing call
    qsizetype proZeile_ = 0;      // pixels per scan line
    int breite_ = 1, hoehe_ = 1;
    double x1_ = 0, y1_ = 0, x2_ = 1, y2_ = 1;
    // 1 / (x2_ - x1_) and 1 / (y2_ - y1_); kehrwertGenau_ when multiplying
    // by them gives the bits of dividing (both powers of two).
    double kehrwertX_ = 1, kehrwertY_ = 1;
    bool kehrwertGenau_ = true;
    int links_ = 0, oben_ = 0, rechts_ = -1, unten_ = -1;   // changed area, empty when rechts_ < links_
    // The pixel offsets of the short lines, for scan lines of versatzZeile_ pixels.
    std::vector<int32_t> versaetze_;
    qsizetype versatzZeile_ = 0;
};
