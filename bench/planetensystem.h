// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system the step benchmarks run on.

#include "model/modplavo.h"
#include "sim/berechnung.h"

#include <cmath>
#include <cstdint>
#include <numbers>

inline constexpr double Intervall = 0.25;   // days per step

// A star of one solar mass (in Earth masses) and n - 1 planets of up to one
// Earth mass on circular orbits between 0.3 and 0.95 AE. With a quarter day
// per step the planets move one to three pixels per step in the default
// section on a 653 x 532 surface: the common case of short trails.
inline ModPlavo Planetensystem(int n)
{
    ModPlavo mod;
    mod.Intervall = Intervall;
    mod.KoerperStart.assign(size_t(n), Koerper{});
    Koerper& stern = mod.KoerperStart[0];
    stern.Masse = 333000;
    stern.Farbe = 0x00C0FF;
    uint64_t z = 12345;
    auto zufall = [&z] {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        return double(z >> 11) * 0x1p-53;
    };
    for (size_t i = 1; i < size_t(n); ++i) {
        Koerper& k = mod.KoerperStart[i];
        const double r = (0.3 + 0.65 * zufall()) * MeterProAE;
        const double winkel = 360 * zufall();
        k.Masse = zufall();
        k.X = r * std::cos(winkel * std::numbers::pi / 180);
        k.Y = r * std::sin(winkel * std::numbers::pi / 180);
        k.Geschwindigkeit = std::sqrt(GravitationsParameter * stern.Masse / r);
        k.Richtung = winkel + 90;
        k.Farbe = int32_t(zufall() * 0xFFFFFF);
    }
    return mod;
}
