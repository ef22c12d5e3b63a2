// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pairs of the potential energy, row by row: for each body i the sum over
// j > i of m_j / r_ij (Earth masses per metre), pairs at r = 0 or at a
// distance that is NaN left out, as the step leaves them out. This is where
// the energy balance spends its time (about n^2 / 2 roots and quotients).
//
// A scalar, an AVX2 and an AVX-512 version give the same bits: each vector
// lane is one row i and adds its quotients for j in ascending order, as the
// scalar loop does, and a left-out pair adds +0, which changes no sum.

#include "sim/schrittkern.h"

#include <atomic>
#include <cstddef>

struct Paarauftrag {
    std::size_t n = 0;
    const double* x = nullptr;   // metres
    const double* y = nullptr;
    const double* m = nullptr;   // Earth masses
    double* summe = nullptr;     // row i's sum into summe[i]
};

// Rows [von, bis) of `a`, bis <= n. The vector versions may only be called
// where Avx2Verfuegbar() / Avx512Verfuegbar() say so.
void PaarzeilenSkalar(const Paarauftrag& a, std::size_t von, std::size_t bis);
void PaarzeilenAvx2(const Paarauftrag& a, std::size_t von, std::size_t bis);
void PaarzeilenAvx512(const Paarauftrag& a, std::size_t von, std::size_t bis);

// Every row of `a` with the version for `satz` (Automatisch: the one the
// step uses; a set the processor lacks falls back as in KernFuer). Looks at
// `abbrechen` every few milliseconds, and returns false with the sums
// incomplete once another thread has set it.
bool PaarsummenBerechnen(const Paarauftrag& a, Befehlssatz satz = Befehlssatz::Automatisch,
                         const std::atomic<bool>* abbrechen = nullptr);
