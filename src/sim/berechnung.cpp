// SPDX-License-Identifier: GPL-3.0-or-later
#include "berechnung.h"

#include <cmath>
#include <limits>

Schrittergebnis Rechenwerk::Schritt(Laufstand& stand)
{
    if (stand.Schrittzahl == std::numeric_limits<int32_t>::max())
        return {FehlerZaehlerUeberlauf, {}};

    KoerperSatz& sim = stand.KoerperSim;
    const size_t n = sim.size();
    if (x_.size() < n) {
        for (auto* v : {&x_, &y_, &m_, &vx_, &vy_, &nx_, &ny_})
            v->resize(n);
        striche_.resize(n);
    }
    for (size_t i = 0; i < n; ++i) {
        x_[i] = sim[i].X;
        y_[i] = sim[i].Y;
        m_[i] = sim[i].Masse;
        vx_[i] = sim[i].Vx();
        vy_[i] = sim[i].Vy();
    }

    // One clearing for the whole step: the pass returns K's faults with its
    // own, and the position pass adds to them.
    FlagsLoeschen();
    const double dt = stand.Intervall * 86400.0;
    const double K = dt * dt * GravitationsParameter;
    unsigned fehler = Geschwindigkeiten(n, x_.data(), y_.data(), m_.data(), vx_.data(), vy_.data(), K);

    bool endlich = true;
    for (size_t i = 0; i < n; ++i) {
        nx_[i] = vx_[i] + x_[i];
        ny_[i] = vy_[i] + y_[i];
        endlich = endlich && std::isfinite(vx_[i]) && std::isfinite(vy_[i]) && std::isfinite(nx_[i])
               && std::isfinite(ny_[i]);
    }
    fehler |= FlagsAlsFehler();
    if (!endlich)
        fehler |= FehlerNichtEndlich;
    if (fehler != KeinFehler)
        return {fehler, {}};

    // Narrowing a far position to single precision may overflow; that is the
    // picture's business (it clips), not a fault of the step, so it comes
    // after the test.
    for (size_t i = 0; i < n; ++i) {
        striche_[i] = {float(x_[i] / MeterProAE), float(y_[i] / MeterProAE), float(vx_[i] / MeterProAE),
                       float(vy_[i] / MeterProAE), sim[i].Farbe};
        sim[i].Vx() = vx_[i];
        sim[i].Vy() = vy_[i];
        sim[i].X = nx_[i];
        sim[i].Y = ny_[i];
    }
    ++stand.Schrittzahl;
    return {KeinFehler, std::span<const Strich>(striche_.data(), n)};
}
