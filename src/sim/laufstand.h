// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a run stands: the working set, the steps computed since it was built
// and the interval the next step uses. The run (Lauf) holds the one that
// counts; a replay, the worker's step, the kept strokes' end and the energy
// window each hold a copy of their own.

#include "model/modplavo.h"

#include <bit>
#include <cstdint>

struct Laufstand {
    // Bodies as they move: X, Y in metres, Vx, Vy the displacement per step
    // in metres (built with the interval in force at the time).
    KoerperSatz KoerperSim{Koerper{}};
    int32_t Schrittzahl = 0;
    double Intervall = 2.0;   // days per step
};

// Equal bit for bit: a NaN equals the same NaN, -0 differs from +0.
inline bool GleicheBits(double a, double b)
{
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

inline bool BitGleich(const Laufstand& a, const Laufstand& b)
{
    return a.Schrittzahl == b.Schrittzahl && GleicheBits(a.Intervall, b.Intervall)
        && BitGleich(a.KoerperSim, b.KoerperSim);
}
