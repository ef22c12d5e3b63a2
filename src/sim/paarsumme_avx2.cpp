// SPDX-License-Identifier: GPL-3.0-or-later
// The AVX2 rows of the pair sum. As with the step's kernels, only this file's
// functions are compiled for AVX2, by pragmas, and FMA stays off: the
// quotients and sums are the scalar loop's, bit for bit.

#include "paarsumme.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace {

// Rows i0 .. i0 + 3; lanes at or past `bis` repeat row bis - 1 and are dropped.
void Gruppe(const Paarauftrag& a, std::size_t i0, std::size_t bis)
{
    std::size_t zeile[4];
    for (int l = 0; l < 4; ++l)
        zeile[l] = i0 + l < bis ? i0 + l : bis - 1;
    const __m256d xi = _mm256_set_pd(a.x[zeile[3]], a.x[zeile[2]], a.x[zeile[1]], a.x[zeile[0]]);
    const __m256d yi = _mm256_set_pd(a.y[zeile[3]], a.y[zeile[2]], a.y[zeile[1]], a.y[zeile[0]]);
    const __m256d null = _mm256_setzero_pd();
    const __m256d alle = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    __m256d summe = null;
    // Lane l takes j only from i0 + l + 1 on: in the first three columns a
    // lane mask says which lanes have reached their diagonal.
    const auto spalte = [&](std::size_t j, __m256d zeilen) {
        const __m256d dx = _mm256_sub_pd(_mm256_set1_pd(a.x[j]), xi);
        const __m256d dy = _mm256_sub_pd(_mm256_set1_pd(a.y[j]), yi);
        const __m256d r = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)));
        const __m256d an = _mm256_and_pd(zeilen, _mm256_cmp_pd(r, null, _CMP_GT_OQ));
        summe = _mm256_add_pd(summe, _mm256_and_pd(an, _mm256_div_pd(_mm256_set1_pd(a.m[j]), r)));
    };
    std::size_t j = i0 + 1;
    for (; j < i0 + 4 && j < a.n; ++j) {
        const std::size_t k = j - i0;   // lanes 0 .. k - 1 are past their diagonal
        spalte(j, _mm256_castsi256_pd(_mm256_set_epi64x(k > 3 ? -1 : 0, k > 2 ? -1 : 0, k > 1 ? -1 : 0, -1)));
    }
    for (; j < a.n; ++j)
        spalte(j, alle);

    double erg[4];
    _mm256_storeu_pd(erg, summe);
    for (int l = 0; l < 4 && i0 + l < bis; ++l)
        a.summe[i0 + l] = erg[l];
}

}  // namespace

void PaarzeilenAvx2(const Paarauftrag& a, std::size_t von, std::size_t bis)
{
    for (std::size_t i0 = von; i0 < bis; i0 += 4)
        Gruppe(a, i0, bis);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

// Never called where Avx2Verfuegbar() is false; kept so that every build links.
void PaarzeilenAvx2(const Paarauftrag& a, std::size_t von, std::size_t bis)
{
    PaarzeilenSkalar(a, von, bis);
}

#endif
