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
