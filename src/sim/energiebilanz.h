// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conserved quantities of a working set: what a user looks at to see how far
// the fixed-step method has drifted.
//
// Units are the program's own: a unit of Masse is one Earth mass of 5.977e24 kg
// (with G = 6.67e-11 m^3/(kg s^2) its gravitational parameter is 3.986659e14),
// positions in metres, and the speed of a body is its displacement per step
// divided by the step's seconds (Intervall * 86400).

#include "model/modplavo.h"
#include "sim/schrittkern.h"

#include <atomic>

inline constexpr double KilogrammProMasse = 5.977e24;

struct Energiebilanz {
    double Kinetisch = 0;      // J, sum of m v^2 / 2
    double Potentiell = 0;     // J, sum over pairs i < j of -G m_i m_j / r (pairs at r = 0 left out, as the step does)
    double Gesamt = 0;         // J
    double ImpulsX = 0;        // kg m/s
    double ImpulsY = 0;
    double Drehimpuls = 0;     // kg m^2/s about the origin, x vy - y vx: positive turns from +x towards +y (clockwise on screen)

    bool Endlich() const;      // every value is a finite number
};

// The balance of the working set `sim` at `intervall` days per step. At an
// interval of 0 the bodies still move but have no speed: what depends on the
// speeds is NaN, "not known", rather than a zero that looks like rest.
//
// The pairs take n^2 / 2 roots and quotients (a third of a second for 32,767
// bodies with AVX-512, eight times that with the plain loop); `satz` chooses the version of that sum (see paarsumme.h),
// all with the same bits. Once another thread sets `abbrechen`, the
// computation stops within a few milliseconds and its result means nothing.
Energiebilanz EnergiebilanzBerechnen(const KoerperSatz& sim, double intervall,
                                     Befehlssatz satz = Befehlssatz::Automatisch,
                                     const std::atomic<bool>* abbrechen = nullptr);

// The balance the document set will have at step 0: the working set built
// from it with the same conversion as the start of a run.
Energiebilanz StartbilanzBerechnen(const KoerperSatz& start, double intervall,
                                   const std::atomic<bool>* abbrechen = nullptr);

// (e - e0) / |e0|; NaN where it has no meaning (e0 is 0 or a value not finite).
double RelativeAenderung(double e, double e0);
