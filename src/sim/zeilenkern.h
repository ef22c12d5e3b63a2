// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The velocity pass for a range of rows i (all j each), in three versions
// that give the same bits and raise the same floating-point flags as the
// literal loop: a scalar one that runs everywhere, an AVX2 one that may only
// be called when Avx2Verfuegbar() says so and an AVX-512 one for
// Avx512Verfuegbar().

#include "sim/prozessor.h"

#include <cstddef>

// Everything one velocity pass needs; rows are independent of each other.
// Row i reads vx[i], vy[i] and writes vxNeu[i], vyNeu[i], which may be the
// same arrays.
struct Zeilenauftrag {
    std::size_t n = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    const double* m = nullptr;
    const double* vx = nullptr;
    const double* vy = nullptr;
    double* vxNeu = nullptr;
    double* vyNeu = nullptr;
    double K = 0;
};

// Rows [von, bis) of the pass, bis <= n.
void ZeilenSkalar(const Zeilenauftrag& a, std::size_t von, std::size_t bis);

// Rows [von, bis) four at a time (a last one or two rows two at a time).
void ZeilenAvx2(const Zeilenauftrag& a, std::size_t von, std::size_t bis);

// Rows [von, bis) sixteen at a time (a last one to eight rows eight at a time).
void ZeilenAvx512(const Zeilenauftrag& a, std::size_t von, std::size_t bis);

// The whole pass of a small system (0 < n <= KleinBis) on the calling
// thread, each distance computed once for both rows of its pair: the roots
// take a third of the divider's time, and the divider is what the pass waits
// for. The same bits and flags as the rows above, but only while the thread
// rounds to nearest: other roundings do not give y[j] - y[i] exactly as
// -(y[i] - y[j]). The distances are kept on the stack (KleinBis^2 doubles).
inline constexpr std::size_t KleinBis = 64;
void ZeilenAvx2Klein(const Zeilenauftrag& a);
void ZeilenAvx512Klein(const Zeilenauftrag& a);
