// SPDX-License-Identifier: GPL-3.0-or-later
#include "pfeile.h"

#include "model/zahltext.h"
#include "view/bildabbildung.h"

#include <QPainter>
#include <cmath>

namespace {
constexpr double Griffweite = 5;   // logical pixels about a tip that grab it
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
    linien_.clear();
    spitzen_.clear();
    koerper_.clear();
    huelle_ = QRectF();
    if (!(pixelProEinheit > 0))
        return;
    double links = 1e300, oben = 1e300, rechts = -1e300, unten = -1e300;
    for (std::size_t i = 0; i < mitten.size(); ++i) {
        const std::size_t k = koerper[i];
        if (k >= werte.size())
            continue;
        const QPointF d = abbildung.Pfeil(werte[k], pixelProEinheit);
        const double l = std::hypot(d.x(), d.y());
        // Also false for NaN; an arrow far longer than any picture is cut.
        if (!(l >= KuerzestePixel) || l > 1e6)
            continue;
        const QPointF a = mitten[i], b = a + d;
        linien_.emplace_back(a, b);
        const QPointF e = d / l;
        const QPointF n(-e.y(), e.x());
        linien_.emplace_back(b, b - Spitzenlaenge * e + 0.5 * Spitzenlaenge * n);
        linien_.emplace_back(b, b - Spitzenlaenge * e - 0.5 * Spitzenlaenge * n);
        spitzen_.push_back(b);
        koerper_.push_back(k);
        links = std::min({links, a.x(), b.x()}), rechts = std::max({rechts, a.x(), b.x()});
        oben = std::min({oben, a.y(), b.y()}), unten = std::max({unten, a.y(), b.y()});
    }
    if (!spitzen_.empty())
        huelle_ = QRectF(QPointF(links, oben), QPointF(rechts, unten)).adjusted(-Griffweite - 2, -Griffweite - 2,
                                                                                 Griffweite + 2, Griffweite + 2);
}

void Pfeile::Zeichnen(QPainter& p, const QColor& farbe, bool griffe) const
{
    if (linien_.empty())
        return;
    p.save();
    p.setPen(QPen(farbe, 1));
    if (linien_.size() >= GerastertAb) {
        const QRect r = huelle_.toAlignedRect();
        if (ueberlage_.width() < r.width() || ueberlage_.height() < r.height())
            ueberlage_ = QImage(std::max(ueberlage_.width(), r.width()), std::max(ueberlage_.height(), r.height()),
                                QImage::Format_ARGB32_Premultiplied);
        ueberlage_.fill(Qt::transparent);
        Rastern(ueberlage_, farbe.rgba());
        p.drawImage(r.topLeft(), ueberlage_, QRect(0, 0, r.width(), r.height()));
    } else {
        p.drawLines(linien_.data(), qsizetype(linien_.size()));
    }
    if (griffe && spitzen_.size() <= 2000) {
        // Handles only where they can be told apart; a crowd is edited by zooming in.
        p.setBrush(Qt::white);
        for (const QPointF& s : spitzen_)
            p.drawEllipse(s, 2.5, 2.5);
    }
    p.restore();
}

void Pfeile::Rastern(QImage& bild, uint32_t farbe) const
{
    const QPoint ecke = huelle_.toAlignedRect().topLeft();
    const int w = bild.width(), h = bild.height();
    auto* const pixel = reinterpret_cast<uint32_t*>(bild.bits());
    const qsizetype zeile = bild.bytesPerLine() / 4;
    for (const QLineF& l : linien_) {
        int x0 = int(std::floor(l.x1())) - ecke.x(), y0 = int(std::floor(l.y1())) - ecke.y();
        const int x1 = int(std::floor(l.x2())) - ecke.x(), y1 = int(std::floor(l.y2())) - ecke.y();
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int fehler = dx + dy;
        for (;;) {
            if (unsigned(x0) < unsigned(w) && unsigned(y0) < unsigned(h))
                pixel[y0 * zeile + x0] = farbe;
            if (x0 == x1 && y0 == y1)
                break;
            const int f2 = 2 * fehler;
            if (f2 >= dy)
                fehler += dy, x0 += sx;
            if (f2 <= dx)
                fehler += dx, y0 += sy;
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
    for (std::size_t i = 0; i < spitzen_.size(); ++i) {
        const QPointF d = spitzen_[i] - stelle;
        if (d.x() * d.x() + d.y() * d.y() <= Griffweite * Griffweite)
            treffer = koerper_[i];
    }
    return treffer;
}
