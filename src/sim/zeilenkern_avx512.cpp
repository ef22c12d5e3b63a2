// The AVX-512 rows. As with the AVX2 file, only the functions here are
// compiled for AVX-512F (by pragmas, not by a compiler flag), all but
// ZeilenAvx512 are internal, and FMA stays off, so no product is fused into
// a sum.
//
// Each lane is one row i and walks j in ascending order, so every sum is
// formed exactly as in the scalar loop. The masks do what the AVX2 kernel
// does with blends: a lane whose pair the scalar loop skips (r > 0 false)
// or that lies past the last row computes nothing with a mask, and a
// masked-out lane raises no floating-point flag and keeps its old value bit
// for bit (-0 stays -0).

#include "zeilenkern.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f")
#endif

namespace {

// 8 rows per vector, `Vektoren` vectors per group: two give the divider two
// independent chains to interleave, which the latency of root, cube and
// quotient needs on a short row (16 bodies are one group).
template <int Vektoren>
void Gruppe(const Zeilenauftrag& a, std::size_t i0, std::size_t bis)
{
    __mmask8 zeilen[Vektoren];
    __m512d xi[Vektoren], yi[Vektoren], vx[Vektoren], vy[Vektoren];
    for (int v = 0; v < Vektoren; ++v) {
        const std::size_t von = i0 + 8 * std::size_t(v);
        const std::size_t rest = von < bis ? bis - von : 0;
        zeilen[v] = rest >= 8 ? __mmask8(0xFF) : __mmask8((1u << rest) - 1);
        // Rows past the end read nothing (a masked load touches no memory there).
        xi[v] = _mm512_maskz_loadu_pd(zeilen[v], a.x + von);
        yi[v] = _mm512_maskz_loadu_pd(zeilen[v], a.y + von);
        vx[v] = _mm512_maskz_loadu_pd(zeilen[v], a.vx + von);
        vy[v] = _mm512_maskz_loadu_pd(zeilen[v], a.vy + von);
    }
    const __m512d null = _mm512_setzero_pd();
    const __m512d K = _mm512_set1_pd(a.K);
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;

    for (std::size_t j = 0; j < a.n; ++j) {
        const __m512d xj = _mm512_set1_pd(x[j]);
        const __m512d yj = _mm512_set1_pd(y[j]);
        const __m512d mj = _mm512_set1_pd(m[j]);
        for (int v = 0; v < Vektoren; ++v) {
            const __mmask8 z = zeilen[v];
            const __m512d dy = _mm512_maskz_sub_pd(z, yi[v], yj);
            const __m512d dx = _mm512_maskz_sub_pd(z, xi[v], xj);
            const __m512d r = _mm512_maskz_sqrt_pd(
                z, _mm512_maskz_add_pd(z, _mm512_maskz_mul_pd(z, dy, dy), _mm512_maskz_mul_pd(z, dx, dx)));
            // Signalling, like the scalar comparison: a NaN raises "invalid".
            const __mmask8 an = _mm512_mask_cmp_pd_mask(z, r, null, _CMP_GT_OS);
            const __m512d r3 = _mm512_maskz_mul_pd(an, _mm512_maskz_mul_pd(an, r, r), r);
            const __m512d km = _mm512_maskz_mul_pd(an, K, mj);
            // x[j] - x[i] raises what x[i] - x[j] above raised already.
            const __m512d qx = _mm512_maskz_div_pd(
                an, _mm512_maskz_mul_pd(an, _mm512_maskz_sub_pd(an, xj, xi[v]), km), r3);
            const __m512d qy = _mm512_maskz_div_pd(
                an, _mm512_maskz_mul_pd(an, _mm512_maskz_sub_pd(an, yj, yi[v]), km), r3);
            vx[v] = _mm512_mask_add_pd(vx[v], an, qx, vx[v]);
            vy[v] = _mm512_mask_add_pd(vy[v], an, qy, vy[v]);
        }
    }

    for (int v = 0; v < Vektoren; ++v) {
        const std::size_t von = i0 + 8 * std::size_t(v);
        _mm512_mask_storeu_pd(a.vxNeu + von, zeilen[v], vx[v]);
        _mm512_mask_storeu_pd(a.vyNeu + von, zeilen[v], vy[v]);
    }
}

}  // namespace

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
#pragma GCC pop_options
#endif

#else

// Never called where Avx512Verfuegbar() is false; kept so that every build links.
void ZeilenAvx512(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    ZeilenSkalar(a, von, bis);
}

#endif
