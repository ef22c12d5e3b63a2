// SPDX-License-Identifier: GPL-3.0-or-later
// The AVX-512 rows. As with the AVX2 file, only the functions here are
// compiled for AVX-512F (by pragmas, not by a compiler flag), all but
// ZeilenAvx512 are internal, and FMA stays off, so no product is fused into
// a sum.
//
// Each lane is one row i and walks j in ascending order, so every sum is
// formed exactly as in the scalar loop. As in the AVX2 kernel, every lane
// computes something whose flags the scalar loop raises too, so the result
// does not hang on masked arithmetic suppressing faults (clang may compute a
// masked operation on every lane and select afterwards): a lane past the
// last row repeats the last row; in a pair the scalar loop skips (r > 0
// false) r is +0 or NaN, the divisor becomes 1 (or stays NaN) and K and m
// become 0, so the dividend is 0, or NaN from a NaN distance, for which the
// comparison has raised "invalid" already; the old velocity is kept out of
// the sum and put back by a blend (-0 stays -0). Masks only select.

#include "zeilenkern.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <algorithm>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f")
// GCC 12's _mm512_sqrt_pd passes an undefined vector along, and warns of it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

// 8 rows per vector, `Vektoren` vectors per group: two give the divider two
// independent chains to interleave, which the latency of root, cube and
// quotient needs on a short row (16 bodies are one group).
//
// With `AusTabelle` the distances are read from `tabelle` (see Abstaende)
// instead of computed.
template <int Vektoren, bool AusTabelle = false>
void Gruppe(const Zeilenauftrag& a, std::size_t i0, std::size_t bis, const double* tabelle = nullptr,
            std::size_t schritt = 0)
{
    __mmask8 zeilen[Vektoren];
    __m512d xi[Vektoren], yi[Vektoren], vx[Vektoren], vy[Vektoren];
    const std::size_t letzte = bis - 1;
    for (int v = 0; v < Vektoren; ++v) {
        const std::size_t von = i0 + 8 * std::size_t(v);
        const std::size_t rest = von < bis ? bis - von : 0;
        zeilen[v] = rest >= 8 ? __mmask8(0xFF) : __mmask8((1u << rest) - 1);
        // Rows past the end read nothing (a masked load touches no memory
        // there) and repeat the last row instead.
        xi[v] = _mm512_mask_loadu_pd(_mm512_set1_pd(a.x[letzte]), zeilen[v], a.x + von);
        yi[v] = _mm512_mask_loadu_pd(_mm512_set1_pd(a.y[letzte]), zeilen[v], a.y + von);
        vx[v] = _mm512_mask_loadu_pd(_mm512_set1_pd(a.vx[letzte]), zeilen[v], a.vx + von);
        vy[v] = _mm512_mask_loadu_pd(_mm512_set1_pd(a.vy[letzte]), zeilen[v], a.vy + von);
    }
    const __m512d null = _mm512_setzero_pd();
    const __m512d eins = _mm512_set1_pd(1.0);
    const __m512d K = _mm512_set1_pd(a.K);
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;

    for (std::size_t j = 0; j < a.n; ++j) {
        const __m512d xj = _mm512_set1_pd(x[j]);
        const __m512d yj = _mm512_set1_pd(y[j]);
        const __m512d mj = _mm512_set1_pd(m[j]);
        for (int v = 0; v < Vektoren; ++v) {
            __m512d r;
            if constexpr (AusTabelle) {
                r = _mm512_loadu_pd(tabelle + j * schritt + i0 + 8 * std::size_t(v));
            } else {
                const __m512d dy = _mm512_sub_pd(yi[v], yj);
                const __m512d dx = _mm512_sub_pd(xi[v], xj);
                r = _mm512_sqrt_pd(_mm512_add_pd(_mm512_mul_pd(dy, dy), _mm512_mul_pd(dx, dx)));
            }
            // Signalling, like the scalar comparison: a NaN raises "invalid".
            const __mmask8 an = _mm512_cmp_pd_mask(r, null, _CMP_GT_OS);
            const __m512d r3 = _mm512_mask_blend_pd(an, eins, _mm512_mul_pd(_mm512_mul_pd(r, r), r));
            const __m512d km = _mm512_mul_pd(_mm512_maskz_mov_pd(an, K), _mm512_maskz_mov_pd(an, mj));
            // x[j] - x[i] raises what x[i] - x[j] above raised already.
            const __m512d qx = _mm512_div_pd(_mm512_mul_pd(_mm512_sub_pd(xj, xi[v]), km), r3);
            const __m512d qy = _mm512_div_pd(_mm512_mul_pd(_mm512_sub_pd(yj, yi[v]), km), r3);
            vx[v] = _mm512_mask_blend_pd(an, vx[v], _mm512_add_pd(qx, _mm512_maskz_mov_pd(an, vx[v])));
            vy[v] = _mm512_mask_blend_pd(an, vy[v], _mm512_add_pd(qy, _mm512_maskz_mov_pd(an, vy[v])));
        }
    }

    for (int v = 0; v < Vektoren; ++v) {
        const std::size_t von = i0 + 8 * std::size_t(v);
        _mm512_mask_storeu_pd(a.vxNeu + von, zeilen[v], vx[v]);
        _mm512_mask_storeu_pd(a.vyNeu + von, zeilen[v], vy[v]);
    }
}

// As in the AVX2 file: the distance of every pair of rows i, j < schritt
// into tabelle[j * schritt + i] (rows from n on stand for row n - 1), in
// blocks of 8 x 8, each computed as the scalar loop computes it for the
// block's rows and stored for its columns too, transposed; row j's root is
// the same bits when rounding to nearest.
void Abstaende(const Zeilenauftrag& a, double* tabelle, std::size_t schritt)
{
    const std::size_t letzte = a.n - 1;
    const __m512d xl = _mm512_set1_pd(a.x[letzte]);
    const __m512d yl = _mm512_set1_pd(a.y[letzte]);
    // Pairs of elements, then of 128-bit and of 256-bit pieces.
    const __m512i paarLo = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
    const __m512i paarHi = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
    const __m512i haelfteLo = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
    const __m512i haelfteHi = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
    for (std::size_t I = 0; I < schritt; I += 8) {
        for (std::size_t J = I; J < schritt; J += 8) {
            const std::size_t rest = J < a.n ? a.n - J : 0;
            const __mmask8 da = rest >= 8 ? __mmask8(0xFF) : __mmask8((1u << rest) - 1);
            const __m512d xj = _mm512_mask_loadu_pd(xl, da, a.x + J);
            const __m512d yj = _mm512_mask_loadu_pd(yl, da, a.y + J);
            __m512d r[8];
            for (std::size_t l = 0; l < 8; ++l) {
                const std::size_t i = std::min(I + l, letzte);
                const __m512d dy = _mm512_sub_pd(_mm512_set1_pd(a.y[i]), yj);
                const __m512d dx = _mm512_sub_pd(_mm512_set1_pd(a.x[i]), xj);
                r[l] = _mm512_sqrt_pd(_mm512_add_pd(_mm512_mul_pd(dy, dy), _mm512_mul_pd(dx, dx)));
                _mm512_storeu_pd(tabelle + (I + l) * schritt + J, r[l]);
            }
            if (J == I)
                continue;   // symmetric in itself
            __m512d t[8], u[8];
            for (int k = 0; k < 4; ++k) {
                t[2 * k] = _mm512_unpacklo_pd(r[2 * k], r[2 * k + 1]);
                t[2 * k + 1] = _mm512_unpackhi_pd(r[2 * k], r[2 * k + 1]);
            }
            for (int k = 0; k < 2; ++k) {
                u[4 * k + 0] = _mm512_permutex2var_pd(t[4 * k], paarLo, t[4 * k + 2]);
                u[4 * k + 1] = _mm512_permutex2var_pd(t[4 * k + 1], paarLo, t[4 * k + 3]);
                u[4 * k + 2] = _mm512_permutex2var_pd(t[4 * k], paarHi, t[4 * k + 2]);
                u[4 * k + 3] = _mm512_permutex2var_pd(t[4 * k + 1], paarHi, t[4 * k + 3]);
            }
            for (std::size_t c = 0; c < 4; ++c) {
                _mm512_storeu_pd(tabelle + (J + c) * schritt + I, _mm512_permutex2var_pd(u[c], haelfteLo, u[c + 4]));
                _mm512_storeu_pd(tabelle + (J + c + 4) * schritt + I,
                                 _mm512_permutex2var_pd(u[c], haelfteHi, u[c + 4]));
            }
        }
    }
}

}  // namespace

void ZeilenAvx512Klein(const Zeilenauftrag& a)
{
    const std::size_t schritt = (a.n + 7) & ~std::size_t(7);
    alignas(64) double tabelle[KleinBis * KleinBis];
    Abstaende(a, tabelle, schritt);
    std::size_t i0 = 0;
    for (; i0 + 8 < a.n; i0 += 16)
        Gruppe<2, true>(a, i0, a.n, tabelle, schritt);
    if (i0 < a.n)
        Gruppe<1, true>(a, i0, a.n, tabelle, schritt);
}

void ZeilenAvx512(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    std::size_t i0 = von;
    for (; i0 + 8 < bis; i0 += 16)
        Gruppe<2>(a, i0, bis);
    if (i0 < bis)
        Gruppe<1>(a, i0, bis);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC diagnostic pop
#pragma GCC pop_options
#endif

#else

// Never called where Avx512Verfuegbar() is false; kept so that every build links.
void ZeilenAvx512(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    ZeilenSkalar(a, von, bis);
}

void ZeilenAvx512Klein(const Zeilenauftrag& a)
{
    ZeilenSkalar(a, 0, a.n);
}

#endif
