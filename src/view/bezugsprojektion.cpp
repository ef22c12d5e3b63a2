// SPDX-License-Identifier: GPL-3.0-or-later
#include "bezugsprojektion.h"

#include <algorithm>

void Bezugsprojektion::Setzen(const Bezugssystem& system)
{
    system_ = system;
    Beginnen();
}

void Bezugsprojektion::Beginnen()
{
    rest_.clear();
    richtung_ = {};
}

void Bezugsprojektion::Schritt(std::span<const Strich> striche, const KoerperSatz& koerper, const Ziel& zeichnen)
{
    rest_.clear();
    Striche(striche, koerper, zeichnen);
}

void Bezugsprojektion::Striche(std::span<const Strich> striche, const KoerperSatz& koerper, const Ziel& zeichnen)
{
    const std::size_t n = koerper.size();
    if (system_.Fest() || n == 0 || !system_.Passt(n)) {
        zeichnen(striche);
        return;
    }
    // First the step begun in an earlier piece.
    if (!rest_.empty()) {
        const std::size_t fehlt = std::min(n - rest_.size(), striche.size());
        rest_.insert(rest_.end(), striche.begin(), striche.begin() + std::ptrdiff_t(fehlt));
        striche = striche.subspan(fehlt);
        if (rest_.size() < n)
            return;
        aus_.resize(n);
        Projizieren(rest_.data(), n, koerper, aus_.data());
        rest_.clear();
        zeichnen(aus_);
    }
    const std::size_t ganze = striche.size() / n;
    if (ganze > 0) {
        aus_.resize(ganze * n);
        for (std::size_t k = 0; k < ganze; ++k)
            Projizieren(striche.data() + k * n, n, koerper, aus_.data() + k * n);
        zeichnen(aus_);
    }
    rest_.assign(striche.begin() + std::ptrdiff_t(ganze * n), striche.end());
}

namespace {

// Both coordinates of a point, which the compiler keeps in one vector register.
using Paar = double __attribute__((vector_size(16)));

// One step's strokes from the frame at `a` (their starts) and at `b` (their
// ends). Each end as the surface computes it: start plus displacement, in
// single precision; the result narrowed as the step narrows its own.
template <bool Drehen>
void StricheProjizieren(const Strich* striche, std::size_t n, const Bezugslage& a, const Bezugslage& b, Strich* aus)
{
    const Paar oa = {a.ursprung.x(), a.ursprung.y()}, ob = {b.ursprung.x(), b.ursprung.y()};
    // p' = (c·px + s·py, −s·px + c·py), lane by lane.
    const Paar ca = {a.c, a.c}, sa = {a.s, -a.s}, cb = {b.c, b.c}, sb = {b.s, -b.s};
    for (std::size_t i = 0; i < n; ++i) {
        const Strich& s = striche[i];
        const float ex = s.x + s.dx, ey = s.y + s.dy;
        Paar p = Paar{s.x, s.y} - oa;
        Paar q = Paar{ex, ey} - ob;
        if constexpr (Drehen) {
            p = ca * p + sa * Paar{p[1], p[0]};
            q = cb * q + sb * Paar{q[1], q[0]};
        }
        const float x = float(p[0]), y = float(p[1]);
        const Paar d = q - Paar{x, y};
        aus[i] = {x, y, float(d[0]), float(d[1]), s.farbe};
    }
}

}  // namespace

void Bezugsprojektion::Projizieren(const Strich* striche, std::size_t n, const KoerperSatz& koerper, Strich* aus)
{
    const auto anfang = [striche](std::size_t i) { return QPointF(striche[i].x, striche[i].y); };
    const auto ende = [striche](std::size_t i) {
        const float ex = striche[i].x + striche[i].dx, ey = striche[i].y + striche[i].dy;
        return QPointF(ex, ey);
    };
    if (system_.Typ() == Bezugssystem::Art::Schwerpunkt) {
        // Both centres in one pass over the masses, as Lage finds each.
        double m = 0;
        Paar ma = {0, 0}, mb = {0, 0}, sa = {0, 0}, sb = {0, 0};
        for (std::size_t i = 0; i < n; ++i) {
            const double mi = koerper[i].Masse;
            const Strich& s = striche[i];
            const float ex = s.x + s.dx, ey = s.y + s.dy;
            const Paar a = {s.x, s.y}, b = {ex, ey};
            m += mi;
            ma += mi * a;
            mb += mi * b;
            sa += a;
            sb += b;
        }
        Bezugslage a, b;
        const Paar oa = m != 0 ? ma / m : sa / double(n), ob = m != 0 ? mb / m : sb / double(n);
        a.ursprung = QPointF(oa[0], oa[1]);
        b.ursprung = QPointF(ob[0], ob[1]);
        StricheProjizieren<false>(striche, n, a, b, aus);
        return;
    }
    const Bezugslage a = system_.Lage(koerper, anfang, richtung_);
    const Bezugslage b = system_.Lage(koerper, ende, richtung_);
    if (system_.Dreht())
        StricheProjizieren<true>(striche, n, a, b, aus);
    else
        StricheProjizieren<false>(striche, n, a, b, aus);
}
