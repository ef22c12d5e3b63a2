// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One simulation step: gravity over all ordered pairs, every body's stroke
// and the step count. The step draws nothing: it returns what is to be drawn.
//
// Semi-implicit Euler with the velocity kept as displacement per step:
//   v_i += dt^2 * sum_j mu * m_j * (p_j - p_i) / r^3   (pairs with r > 0)
//   p_i += v_i
// dt = Intervall * 86400 s, mu = 3.986659e14 m^3/s^2 per Earth mass.

#include "sim/laufstand.h"
#include "sim/schrittkern.h"
#include "sim/strich.h"

#include <cstdint>
#include <span>
#include <vector>

inline constexpr double MeterProAE = 1.5e11;
inline constexpr double GravitationsParameter = 3.986659e14;   // m^3/s^2 per Earth mass

// What a step gives back besides the state after it.
struct Schrittergebnis {
    unsigned fehler = KeinFehler;       // SchrittFehler bits
    // Each body's stroke from where it was to where it is now, in the order
    // of the bodies: later ones paint over earlier ones. Empty after a fault;
    // valid until the engine's next step.
    std::span<const Strich> striche;
};

// Owns the scratch arrays of the step, so that no step allocates.
class Rechenwerk {
public:
    // Advances `stand` by one step at its interval, all or nothing: on any
    // fault (or a step count that would overflow) `stand` stays as it was
    // and the faults are returned.
    Schrittergebnis Schritt(Laufstand& stand);

private:
    std::vector<double> x_, y_, m_, vx_, vy_, nx_, ny_;
    std::vector<Strich> striche_;
};
