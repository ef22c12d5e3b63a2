#pragma once
// One simulation step: gravity over all ordered pairs, the drawing of every
// body's segment and the step count.
//
// Semi-implicit Euler with the velocity kept as displacement per step:
//   v_i += dt^2 * sum_j mu * m_j * (p_j - p_i) / r^3   (pairs with r > 0)
//   p_i += v_i
// dt = Intervall * 86400 s, mu = 3.986659e14 m^3/s^2 per Earth mass.

#include "model/modplavo.h"
#include "sim/schrittkern.h"
#include "sim/zeichenflaeche.h"

#include <cstdint>
#include <vector>

inline constexpr double MeterProAE = 1.5e11;
inline constexpr double GravitationsParameter = 3.986659e14;   // m^3/s^2 per Earth mass

// Owns the scratch arrays of the step, so that no step allocates.
class Rechenwerk {
public:
    // Advances `sim` by one step and draws it, all or nothing: on any fault
    // (or a step count that would overflow) nothing changes, nothing is drawn,
    // and the faults are returned.
    unsigned Schritt(KoerperSatz& sim, double intervall, int32_t& schrittzahl, Zeichenflaeche& flaeche);

private:
    std::vector<double> x_, y_, m_, vx_, vy_, nx_, ny_;
    std::vector<Strich> striche_;
};
