// SPDX-License-Identifier: GPL-3.0-or-later
// The AVX2 rows. Only the functions of this file are compiled for AVX2 (by
// the pragmas below, not by a compiler flag), and all but ZeilenAvx2 are
// internal, so nothing here can leak into code that runs on older
// processors. FMA is not enabled, so no product can be fused into a sum.

#include "zeilenkern.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <algorithm>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace {

// Four lanes, and two for a last group of one or two rows (half the divider time).
struct Vier {
    using V = __m256d;
    static constexpr int Breite = 4;
    static V Alle(double d) { return _mm256_set1_pd(d); }
    static V Laden(const double* p, const std::size_t* i) { return _mm256_set_pd(p[i[3]], p[i[2]], p[i[1]], p[i[0]]); }
    static V LadenAb(const double* p) { return _mm256_loadu_pd(p); }
    static void Ablegen(double* p, V v) { _mm256_storeu_pd(p, v); }
    static V Plus(V a, V b) { return _mm256_add_pd(a, b); }
    static V Minus(V a, V b) { return _mm256_sub_pd(a, b); }
    static V Mal(V a, V b) { return _mm256_mul_pd(a, b); }
    static V Durch(V a, V b) { return _mm256_div_pd(a, b); }
    static V Wurzel(V a) { return _mm256_sqrt_pd(a); }
    // Signalling, like the scalar comparison: a NaN raises "invalid".
    static V Groesser(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OS); }
    static V Und(V maske, V a) { return _mm256_and_pd(maske, a); }
    static V UndNicht(V maske, V a) { return _mm256_andnot_pd(maske, a); }
    static V Wahl(V sonst, V dann, V maske) { return _mm256_blendv_pd(sonst, dann, maske); }
};

struct Zwei {
    using V = __m128d;
    static constexpr int Breite = 2;
    static V Alle(double d) { return _mm_set1_pd(d); }
    static V Laden(const double* p, const std::size_t* i) { return _mm_set_pd(p[i[1]], p[i[0]]); }
    static V LadenAb(const double* p) { return _mm_loadu_pd(p); }
    static void Ablegen(double* p, V v) { _mm_storeu_pd(p, v); }
    static V Plus(V a, V b) { return _mm_add_pd(a, b); }
    static V Minus(V a, V b) { return _mm_sub_pd(a, b); }
    static V Mal(V a, V b) { return _mm_mul_pd(a, b); }
    static V Durch(V a, V b) { return _mm_div_pd(a, b); }
    static V Wurzel(V a) { return _mm_sqrt_pd(a); }
    static V Groesser(V a, V b) { return _mm_cmp_pd(a, b, _CMP_GT_OS); }
    static V Und(V maske, V a) { return _mm_and_pd(maske, a); }
    static V UndNicht(V maske, V a) { return _mm_andnot_pd(maske, a); }
    static V Wahl(V sonst, V dann, V maske) { return _mm_blendv_pd(sonst, dann, maske); }
};

// Rows i0 .. i0 + Breite - 1, those at or past `bis` replaced by bis - 1:
// the repeated row raises only the flags that row raises anyway, and its
// results are dropped.
//
// Each lane is one row i and walks j in ascending order, so every sum is
// formed exactly as in the scalar loop. A pair the scalar loop skips (r > 0
// false: j = i, the same place, or NaN) must raise no flag of its own and
// keep the old velocity bit for bit (-0 stays -0). In such a lane r is +0 or
// NaN, so r * r * r raises nothing and the divisor becomes 1 (or stays NaN);
// K and m become 0, so the dividend is 0, or NaN from a NaN distance, for
// which the comparison has raised "invalid" already; the old velocity is
// kept out of the sum (a signalling NaN there would raise "invalid") and put
// back by the blend.
//
// With `AusTabelle` the distances are read from `tabelle` (see Abstaende)
// instead of computed.
template <class S, bool AusTabelle = false>
void Gruppe(const Zeilenauftrag& a, std::size_t i0, std::size_t bis, const double* tabelle = nullptr,
            std::size_t schritt = 0)
{
    using V = typename S::V;
    std::size_t zeile[S::Breite];
    for (int l = 0; l < S::Breite; ++l)
        zeile[l] = i0 + l < bis ? i0 + l : bis - 1;
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;
    const V null = S::Alle(0.0);
    const V eins = S::Alle(1.0);
    const V K = S::Alle(a.K);
    const V xi = S::Laden(x, zeile);
    const V yi = S::Laden(y, zeile);
    V vx = S::Laden(a.vx, zeile);
    V vy = S::Laden(a.vy, zeile);

    for (std::size_t j = 0; j < a.n; ++j) {
        const V xj = S::Alle(x[j]);
        const V yj = S::Alle(y[j]);
        const V mj = S::Alle(m[j]);
        V r;
        if constexpr (AusTabelle) {
            r = S::LadenAb(tabelle + j * schritt + i0);
        } else {
            const V dy = S::Minus(yi, yj);
            const V dx = S::Minus(xi, xj);
            r = S::Wurzel(S::Plus(S::Mal(dy, dy), S::Mal(dx, dx)));
        }
        const V an = S::Groesser(r, null);

        const V r3 = S::Plus(S::Mal(S::Mal(r, r), r), S::UndNicht(an, eins));
        const V km = S::Mal(S::Und(an, K), S::Und(an, mj));
        // x[j] - x[i] raises what x[i] - x[j] above raised already.
        const V qx = S::Durch(S::Mal(S::Minus(xj, xi), km), r3);
        const V qy = S::Durch(S::Mal(S::Minus(yj, yi), km), r3);
        vx = S::Wahl(vx, S::Plus(qx, S::Und(an, vx)), an);
        vy = S::Wahl(vy, S::Plus(qy, S::Und(an, vy)), an);
    }

    double ergx[S::Breite], ergy[S::Breite];
    S::Ablegen(ergx, vx);
    S::Ablegen(ergy, vy);
    for (int l = 0; l < S::Breite && i0 + l < bis; ++l) {
        a.vxNeu[i0 + l] = ergx[l];
        a.vyNeu[i0 + l] = ergy[l];
    }
}

// The distance of every pair of rows i, j < schritt into
// tabelle[j * schritt + i] (rows from n on stand for row n - 1), in blocks
// of 4 x 4, each computed as the scalar loop computes it for the block's
// rows and stored for its columns too, transposed. Rounding to nearest,
// y[j] - y[i] is exactly -(y[i] - y[j]), so row j's root is the same bits
// and raises the same flags: the divider, which the pass waits for, does
// nearly half the roots less.
void Abstaende(const Zeilenauftrag& a, double* tabelle, std::size_t schritt)
{
    const std::size_t letzte = a.n - 1;
    for (std::size_t I = 0; I < schritt; I += 4) {
        for (std::size_t J = I; J < schritt; J += 4) {
            std::size_t spalte[4];
            for (int l = 0; l < 4; ++l)
                spalte[l] = std::min(J + l, letzte);
            const __m256d xj = Vier::Laden(a.x, spalte);
            const __m256d yj = Vier::Laden(a.y, spalte);
            __m256d r[4];
            for (std::size_t l = 0; l < 4; ++l) {
                const std::size_t i = std::min(I + l, letzte);
                const __m256d dy = _mm256_sub_pd(_mm256_set1_pd(a.y[i]), yj);
                const __m256d dx = _mm256_sub_pd(_mm256_set1_pd(a.x[i]), xj);
                r[l] = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dy, dy), _mm256_mul_pd(dx, dx)));
                _mm256_storeu_pd(tabelle + (I + l) * schritt + J, r[l]);
            }
            if (J == I)
                continue;   // symmetric in itself
            const __m256d t0 = _mm256_unpacklo_pd(r[0], r[1]);
            const __m256d t1 = _mm256_unpackhi_pd(r[0], r[1]);
            const __m256d t2 = _mm256_unpacklo_pd(r[2], r[3]);
            const __m256d t3 = _mm256_unpackhi_pd(r[2], r[3]);
            _mm256_storeu_pd(tabelle + (J + 0) * schritt + I, _mm256_permute2f128_pd(t0, t2, 0x20));
            _mm256_storeu_pd(tabelle + (J + 1) * schritt + I, _mm256_permute2f128_pd(t1, t3, 0x20));
            _mm256_storeu_pd(tabelle + (J + 2) * schritt + I, _mm256_permute2f128_pd(t0, t2, 0x31));
            _mm256_storeu_pd(tabelle + (J + 3) * schritt + I, _mm256_permute2f128_pd(t1, t3, 0x31));
        }
    }
}

}  // namespace

void ZeilenAvx2Klein(const Zeilenauftrag& a)
{
    const std::size_t schritt = (a.n + 3) & ~std::size_t(3);
    alignas(32) double tabelle[KleinBis * KleinBis];
    Abstaende(a, tabelle, schritt);
    std::size_t i0 = 0;
    for (; i0 + 2 < a.n; i0 += 4)
        Gruppe<Vier, true>(a, i0, a.n, tabelle, schritt);
    if (i0 < a.n)
        Gruppe<Zwei, true>(a, i0, a.n, tabelle, schritt);
}

void ZeilenAvx2(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    std::size_t i0 = von;
    for (; i0 + 2 < bis; i0 += 4)
        Gruppe<Vier>(a, i0, bis);
    if (i0 < bis)
        Gruppe<Zwei>(a, i0, bis);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

// Never called where Avx2Verfuegbar() is false; kept so that every build links.
void ZeilenAvx2(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    ZeilenSkalar(a, von, bis);
}

void ZeilenAvx2Klein(const Zeilenauftrag& a)
{
    ZeilenSkalar(a, 0, a.n);
}

#endif
