// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The velocity pass of the gravity step, on plain arrays: the hot loop of the
// whole program, free of Qt so that benchmarks and fuzzers can call it.
//
// For every ordered pair (i, j), i and j ascending, j = i included:
//   r = sqrt((y[i]-y[j])^2 + (x[i]-x[j])^2)
//   if r > 0:  vx[i] = (x[j]-x[i]) * (K*m[j]) / (r*r*r) + vx[i]   (same for y)
// K = dt^2 * mu in m^3 per Earth mass, so vx, vy are displacements per step.

#include <cstddef>
#include <cstdint>

#include "sim/gleitkommaflags.h"

// The literal scalar loop; the reference every faster version must match bit for bit.
void GeschwindigkeitenReferenz(std::size_t n, const double* x, const double* y, const double* m,
                               double* vx, double* vy, double K);

// The program's velocity pass: same bits as the reference, with the fastest
// vector kernel the processor offers (see GewaehlterBefehlssatz), on two
// threads from MindestzahlFuerZweiFaeden bodies on (see HelferFaden); below
// that the helper is not woken. Returns the floating-point faults set on the
// calling thread when it returns, together with those of the helper's rows:
// the same bits the reference raises, provided the caller's flags were clear
// (FlagsLoeschen) when it began. So a step clears once, computes K, the pass
// and the positions, and reads once more at the end.
unsigned Geschwindigkeiten(std::size_t n, const double* x, const double* y, const double* m,
                           double* vx, double* vy, double K);

// Below this many bodies waking the helper thread costs more than it saves
// (the scalar and AVX2 passes; the AVX-512 pass shares from 128 on).
inline constexpr std::size_t MindestzahlFuerZweiFaeden = 40;

// The choices Geschwindigkeiten makes by itself, to be forced in tests and
// benchmarks. A request for a set the processor lacks runs the next narrower
// one it has: AVX-512 falls back to AVX2, AVX2 to scalar.
enum class Befehlssatz { Automatisch, Skalar, Avx2, Avx512 };
enum class Aufteilung {
    Automatisch,
    Allein,      // the calling thread only
    Geteilt,     // calling thread from the first rows on, helper from the last
    NurHelfer,   // every row on the helper thread (tests)
    Bremse,      // shared, but the helper dawdles before each unit, so that
                 // the caller takes its units over (tests)
};
unsigned GeschwindigkeitenMit(Befehlssatz satz, Aufteilung aufteilung, std::size_t n, const double* x,
                              const double* y, const double* m, double* vx, double* vy, double K);
