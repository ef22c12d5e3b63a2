// SPDX-License-Identifier: GPL-3.0-or-later
// The AVX-512 rows of the pair sum, compiled for AVX-512F by pragmas like the
// AVX2 file, FMA off: the scalar loop's quotients and sums, bit for bit.

#include "paarsumme.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

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

// Rows i0 .. i0 + 7; lanes at or past `bis` load nothing and are not stored.
void Gruppe(const Paarauftrag& a, std::size_t i0, std::size_t bis)
{
    const std::size_t rest = bis - i0;
    const __mmask8 zeilen = rest >= 8 ? __mmask8(0xFF) : __mmask8((1u << rest) - 1);
    const __m512d xi = _mm512_maskz_loadu_pd(zeilen, a.x + i0);
    const __m512d yi = _mm512_maskz_loadu_pd(zeilen, a.y + i0);
    const __m512d null = _mm512_setzero_pd();
    __m512d summe = null;
    // Lane l takes j only from i0 + l + 1 on; a masked quotient is +0.
    const auto spalte = [&](std::size_t j, __mmask8 spuren) {
        const __m512d dx = _mm512_sub_pd(_mm512_set1_pd(a.x[j]), xi);
        const __m512d dy = _mm512_sub_pd(_mm512_set1_pd(a.y[j]), yi);
        const __m512d r = _mm512_sqrt_pd(_mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy)));
        const __mmask8 an = _mm512_mask_cmp_pd_mask(spuren, r, null, _CMP_GT_OQ);
        summe = _mm512_add_pd(summe, _mm512_maskz_div_pd(an, _mm512_set1_pd(a.m[j]), r));
    };
    std::size_t j = i0 + 1;
    for (; j < i0 + 8 && j < a.n; ++j)
        spalte(j, __mmask8((1u << (j - i0)) - 1));
    for (; j < a.n; ++j)
        spalte(j, __mmask8(0xFF));
    _mm512_mask_storeu_pd(a.summe + i0, zeilen, summe);
}

}  // namespace

void PaarzeilenAvx512(const Paarauftrag& a, std::size_t von, std::size_t bis)
{
    for (std::size_t i0 = von; i0 < bis; i0 += 8)
        Gruppe(a, i0, bis);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC diagnostic pop
#pragma GCC pop_options
#endif

#else

// Never called where Avx512Verfuegbar() is false; kept so that every build links.
void PaarzeilenAvx512(const Paarauftrag& a, std::size_t von, std::size_t bis)
{
    PaarzeilenSkalar(a, von, bis);
}

#endif
