// SPDX-License-Identifier: GPL-3.0-or-later
#include "ausschnittumalle.h"

#include "sim/berechnung.h"

#include <algorithm>
#include <cmath>

std::optional<Ausschnitt> AusschnittUmAlle(const KoerperSatz& koerper, double seitenverhaeltnis)
{
    if (koerper.empty())
        return std::nullopt;
    double x1 = INFINITY, x2 = -INFINITY, y1 = INFINITY, y2 = -INFINITY;
    for (const Koerper& k : koerper) {
        if (!std::isfinite(k.X) || !std::isfinite(k.Y))
            return std::nullopt;
        const double x = k.X / MeterProAE, y = k.Y / MeterProAE;
        x1 = std::min(x1, x);
        x2 = std::max(x2, x);
        y1 = std::min(y1, y);
        y2 = std::max(y2, y);
    }
    const double verhaeltnis =
        std::isfinite(seitenverhaeltnis) && seitenverhaeltnis > 0 ? seitenverhaeltnis : 1.0;
    // Halves first: the sum of two far positions may overflow where their mean does not.
    Ausschnitt a{(x2 - x1) * 1.2, (y2 - y1) * 1.2, x1 / 2 + x2 / 2, y1 / 2 + y2 / 2};
    if (a.Breite == 0 && a.Hoehe == 0)
        a.Breite = a.Hoehe = 2;
    // Bodies almost at one place: the picture maps in single precision, so a
    // section narrower than its resolution around the centre would show nothing.
    const double kleinste = 1e-5 * std::max({1.0, std::abs(a.XOffset), std::abs(a.YOffset)});
    if (a.Breite < kleinste && a.Hoehe < kleinste)
        a.Breite = a.Hoehe = kleinste;
    if (a.Breite < a.Hoehe * verhaeltnis)
        a.Breite = a.Hoehe * verhaeltnis;
    else
        a.Hoehe = a.Breite / verhaeltnis;
    // Far out, the edges may leave the single-precision range of the picture.
    const float links = float(a.XOffset - a.Breite / 2), rechts = float(a.XOffset + a.Breite / 2);
    const float oben = float(a.YOffset - a.Hoehe / 2), unten = float(a.YOffset + a.Hoehe / 2);
    if (!std::isfinite(a.Breite) || !std::isfinite(a.Hoehe) || !std::isfinite(links) || !std::isfinite(rechts)
        || !std::isfinite(oben) || !std::isfinite(unten) || !(links < rechts) || !(oben < unten))
        return std::nullopt;
    return a;
}

std::optional<Ausschnitt> AusschnittUmBahnen(const KoerperSatz& koerper, double seitenverhaeltnis)
{
    if (!AusschnittUmAlle(koerper, seitenverhaeltnis))
        return std::nullopt;
    double masse = 0, x = 0, y = 0;
    for (const Koerper& k : koerper) {
        masse += k.Masse;
        x += k.Masse * k.X;
        y += k.Masse * k.Y;
    }
    if (!(masse > 0) || !std::isfinite(x / masse) || !std::isfinite(y / masse))
        return AusschnittUmAlle(koerper, seitenverhaeltnis);
    x /= masse;
    y /= masse;
    double r = 0;
    for (const Koerper& k : koerper)
        r = std::max(r, std::hypot(k.X - x, k.Y - y));
    // The square around the widest circle holds every other.
    KoerperSatz ecken(2);
    ecken[0].X = x - r;
    ecken[0].Y = y - r;
    ecken[1].X = x + r;
    ecken[1].Y = y + r;
    const std::optional<Ausschnitt> a = AusschnittUmAlle(ecken, seitenverhaeltnis);
    return a ? a : AusschnittUmAlle(koerper, seitenverhaeltnis);
}
