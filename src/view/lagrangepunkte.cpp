// SPDX-License-Identifier: GPL-3.0-or-later
#include "lagrangepunkte.h"

#include <cmath>

namespace {

// In units of the distance, with mu the second body's share of the mass:
// gravity of both plus the centrifugal pull along the axis. Its zeros are
// L1, L2 and L3.
double Kraft(double x, double mu)
{
    const double a = x + mu, b = x - 1 + mu;
    return x - (1 - mu) * a / (std::abs(a) * a * a) - mu * b / (std::abs(b) * b * b);
}

// Between lo (where the force is negative) and hi (positive), by halving:
// the force has a pole at each body, which Newton's method would jump over.
double Nullstelle(double lo, double hi, double mu)
{
    for (int i = 0; i < 200 && lo < hi; ++i) {
        const double mitte = lo + (hi - lo) / 2;
        if (mitte == lo || mitte == hi)
            break;
        (Kraft(mitte, mu) < 0 ? lo : hi) = mitte;
    }
    return lo + (hi - lo) / 2;
}

}  // namespace

std::optional<std::array<QPointF, 5>> Lagrangepunkte(double masse1, double masse2, double abstand, double drehsinn)
{
    const double m = masse1 + masse2;
    // Only two attracting masses have them.
    if (!(masse1 >= 0 && masse2 >= 0 && m > 0 && std::isfinite(m) && abstand > 0 && std::isfinite(abstand)))
        return std::nullopt;
    const double mu = masse2 / m;
    const double y = (drehsinn < 0 ? -1.0 : 1.0) * std::sqrt(3.0) / 2;
    const std::array<QPointF, 5> einheit = {
        QPointF(Nullstelle(-mu, 1 - mu, mu), 0),
        QPointF(Nullstelle(1 - mu, 2, mu), 0),
        QPointF(Nullstelle(-2, -mu, mu), 0),
        QPointF(0.5 - mu, y),
        QPointF(0.5 - mu, -y),
    };
    std::array<QPointF, 5> punkte;
    for (std::size_t i = 0; i < punkte.size(); ++i)
        punkte[i] = einheit[i] * abstand;
    return punkte;
}
