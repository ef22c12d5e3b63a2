// SPDX-License-Identifier: GPL-3.0-or-later
#include "pfeile.h"

#include "model/zahltext.h"
#include "view/bildabbildung.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
constexpr double Griffweite = 5;   // logical pixels about a tip that grab it
// Handles only where they can be told apart; a crowd is edited by zooming in.
constexpr std::size_t GriffeHoechstens = 2000;
constexpr double Spitzenlaenge = 6;
// From this many lines on they are set into an image: a painter's call per line costs too much.
constexpr std::size_t GerastertAb = 3000;
}  // namespace

double Pfeile::Massstab(std::span<const Vektor> werte, double laenge)
{
    double groesste = 0;
    for (const Vektor& v : werte) {
        const double b = std::hypot(v.x, v.y);
        if (std::isfinite(b) && b > groesste)
            groesste = b;
    }
    return groesste > 0 ? laenge / groesste : 0;
}

double Pfeile::Legendenwert(double pixelProEinheit, double hoechstens)
{
    if (!(pixelProEinheit > 0) || !std::isfinite(pixelProEinheit))
        return 0;
    const double grenze = hoechstens / pixelProEinheit;
    double zehner = std::pow(10.0, std::floor(std::log10(grenze)));
    for (const double f : {5.0, 2.0, 1.0})
        if (f * zehner <= grenze)
            return f * zehner;
    return zehner / 2;
}

QString Pfeile::Geschwindigkeitstext(double mps)
{
    if (std::abs(mps) >= 1000)
        return KurzZuText(mps / 1000, 6) + QStringLiteral(" km/s");
    return KurzZuText(mps, 6) + QStringLiteral(" m/s");
}

QString Pfeile::Beschleunigungstext(double mps2)
{
    return KurzZuText(mps2, 6) + QStringLiteral(" m/s²");
}

void Pfeile::Berechnen(std::span<const QPointF> mitten, std::span<const std::size_t> koerper,
                       std::span<const Vektor> werte, const Bildabbildung& abbildung, double pixelProEinheit)
{
    linien_ = 0;
    spitzen_.clear();
    koerper_.clear();
    huelle_ = QRectF();
    if (!(pixelProEinheit > 0))
        return;
    double links = 1e300, oben = 1e300, rechts = -1e300, unten = -1e300;
    // Written in place, the buffer kept between calls: no growth check and no clearing per line.
    if (linienPuffer_.size() < 3 * mitten.size())
        linienPuffer_.resize(3 * mitten.size());
    QLineF* linie = linienPuffer_.data();
    for (std::size_t i = 0; i < mitten.size(); ++i) {
        const std::size_t k = koerper[i];
        if (k >= werte.size())
            continue;
        const QPointF d = abbildung.Pfeil(werte[k], pixelProEinheit);
        // Squared first: most of a crowd's arrows are left out or kept
        // without a root. Also false for NaN; an arrow far longer than any
        // picture is cut.
        const double l2 = d.x() * d.x() + d.y() * d.y();
        if (!(l2 >= KuerzestePixel * KuerzestePixel) || l2 > 1e12)
            continue;
        const double l = std::sqrt(l2);
        const QPointF a = mitten[i], b = a + d;
        const QPointF e = d / l;
        const QPointF n(-e.y(), e.x());
        *linie++ = QLineF(a, b);
        *linie++ = QLineF(b, b - Spitzenlaenge * e + 0.5 * Spitzenlaenge * n);
        *linie++ = QLineF(b, b - Spitzenlaenge * e - 0.5 * Spitzenlaenge * n);
        spitzen_.push_back(b);
        koerper_.push_back(k);
        links = std::min({links, a.x(), b.x()}), rechts = std::max({rechts, a.x(), b.x()});
        oben = std::min({oben, a.y(), b.y()}), unten = std::max({unten, a.y(), b.y()});
    }
    linien_ = std::size_t(linie - linienPuffer_.data());
    if (!spitzen_.empty())
        huelle_ = QRectF(QPointF(links, oben), QPointF(rechts, unten)).adjusted(-Griffweite - 2, -Griffweite - 2,
                                                                                 Griffweite + 2, Griffweite + 2);
}

void Pfeile::Zeichnen(QPainter& p, const QColor& farbe, bool griffe, QRect bereich) const
{
    if (linien_ == 0)
        return;
    p.save();
    p.setPen(QPen(farbe, 1));
    if (linien_ >= GerastertAb) {
        // Only what is to be painted: arrows reach past the picture's edges.
        const QRect r = huelle_.toAlignedRect().intersected(bereich);
        if (!r.isEmpty()) {
            if (ueberlage_.width() < r.width() || ueberlage_.height() < r.height())
                ueberlage_ = QImage(std::max(ueberlage_.width(), r.width()),
                                    std::max(ueberlage_.height(), r.height()), QImage::Format_ARGB32_Premultiplied);
            auto* const pixel = reinterpret_cast<uint32_t*>(ueberlage_.bits());
            const qsizetype zeile = ueberlage_.bytesPerLine() / 4;
            for (int y = 0; y < r.height(); ++y)
                std::memset(pixel + y * zeile, 0, std::size_t(r.width()) * 4);
            Rastern(ueberlage_, r, farbe.rgba());
            p.drawImage(r.topLeft(), ueberlage_, QRect(0, 0, r.width(), r.height()));
        }
    } else {
        p.drawLines(linienPuffer_.data(), qsizetype(linien_));
    }
    if (griffe && spitzen_.size() <= GriffeHoechstens) {
        p.setBrush(Qt::white);
        for (const QPointF& s : spitzen_)
            p.drawEllipse(s, 2.5, 2.5);
    }
    p.restore();
}

namespace {

// Cuts the segment a-b to [0, w] x [0, h]; false when nothing of it is left.
bool Schneiden(double& ax, double& ay, double& bx, double& by, double w, double h)
{
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy}, q[4] = {ax, w - ax, ay, h - ay};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    bx = ax + t1 * dx, by = ay + t1 * dy;
    ax += t0 * dx, ay += t0 * dy;
    return true;
}

}  // namespace

void Pfeile::Rastern(QImage& bild, QRect r, uint32_t farbe) const
{
    // 2^32 / n, for the lines' steps; 0 for a line of one pixel.
    static const std::array<double, 1024> Kehrwerte = [] {
        std::array<double, 1024> k{};
        for (std::size_t n = 1; n < k.size(); ++n)
            k[n] = 4294967296.0 / double(n);
        return k;
    }();
    const int w = r.width(), h = r.height();
    auto* const pixel = reinterpret_cast<uint32_t*>(bild.bits());
    const qsizetype zeile = bild.bytesPerLine() / 4;
    for (const QLineF& l : std::span(linienPuffer_.data(), linien_)) {
        double ax = l.x1() - r.left(), ay = l.y1() - r.top(), bx = l.x2() - r.left(), by = l.y2() - r.top();
        const bool innen = ax >= 0 && ay >= 0 && bx >= 0 && by >= 0 && ax < w && bx < w && ay < h && by < h;
        if (!innen && !Schneiden(ax, ay, bx, by, w, h))
            continue;
        // Inside or cut to the rectangle, so truncation rounds down (a cut
        // end a hair below 0 lands on 0, and is tested per pixel anyway).
        const int x0 = int(ax), y0 = int(ay);
        const int dx = int(bx) - x0, dy = int(by) - y0;
        // Along the longer axis, the other in 32.32 fixed point from the
        // first pixel's centre: no branch per pixel, and never a pixel past
        // the line's ends.
        const int n = std::max(std::abs(dx), std::abs(dy));
        // Most lines are a few pixels long: their setup, a division above
        // all, would cost more than their pixels. The reciprocal's rounding
        // stays far below a pixel over any line.
        const double je = std::size_t(n) < Kehrwerte.size() ? Kehrwerte[std::size_t(n)] : 4294967296.0 / n;
        const int64_t sx = int64_t(dx * je), sy = int64_t(dy * je);
        int64_t fx = (int64_t(x0) << 32) + (int64_t(1) << 31), fy = (int64_t(y0) << 32) + (int64_t(1) << 31);
        if (innen) {
            for (int i = 0; i <= n; ++i, fx += sx, fy += sy)
                pixel[(fy >> 32) * zeile + (fx >> 32)] = farbe;
        } else {
            // A cut end may round onto the edge's far side.
            for (int i = 0; i <= n; ++i, fx += sx, fy += sy) {
                const int64_t x = fx >> 32, y = fy >> 32;
                if (uint64_t(x) < uint64_t(w) && uint64_t(y) < uint64_t(h))
                    pixel[y * zeile + x] = farbe;
            }
        }
    }
}

QRect Pfeile::Bedeckt() const
{
    return huelle_.toAlignedRect();
}

std::optional<std::size_t> Pfeile::SpitzeBei(QPointF stelle) const
{
    std::optional<std::size_t> treffer;
    // A handle not drawn is not there: in a crowd every press would take
    // some body's velocity instead of moving the picture.
    if (spitzen_.size() > GriffeHoechstens)
        return treffer;
    for (std::size_t i = 0; i < spitzen_.size(); ++i) {
        const QPointF d = spitzen_[i] - stelle;
        if (d.x() * d.x() + d.y() * d.y() <= Griffweite * Griffweite)
            treffer = koerper_[i];
    }
    return treffer;
}
