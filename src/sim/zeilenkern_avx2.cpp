// The AVX2 rows. Only this file is compiled for AVX2 (by the pragma below,
// not by a compiler flag), so nothing here can leak into code that runs on
// older processors; FMA stays off, so no product is fused into a sum.

#include "zeilenkern.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2")

// Each lane is one row i and walks j in ascending order, so every sum is
// formed exactly as in the scalar loop. A pair the scalar loop skips (r > 0
// false: j = i, the same place, or NaN) must raise no flag of its own and
// keep the old velocity bit for bit (-0 stays -0). In such a lane r is +0 or
// NaN, so r * r * r raises nothing and the divisor becomes 1 (or stays NaN);
// K and m become 0, so the dividend is 0, or NaN from a NaN distance, for
// which the comparison has raised "invalid" already; the old velocity is
// kept out of the sum (a signalling NaN there would raise "invalid") and put
// back by the blend.
void ZeilenAvx2(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;
    const __m256d null = _mm256_setzero_pd();
    const __m256d eins = _mm256_set1_pd(1.0);
    const __m256d K = _mm256_set1_pd(a.K);

    for (std::size_t i0 = von; i0 < bis; i0 += 4) {
        const std::size_t i1 = i0 + 1 < bis ? i0 + 1 : bis - 1;
        const std::size_t i2 = i0 + 2 < bis ? i0 + 2 : bis - 1;
        const std::size_t i3 = i0 + 3 < bis ? i0 + 3 : bis - 1;
        const __m256d xi = _mm256_set_pd(x[i3], x[i2], x[i1], x[i0]);
        const __m256d yi = _mm256_set_pd(y[i3], y[i2], y[i1], y[i0]);
        __m256d vx = _mm256_set_pd(a.vx[i3], a.vx[i2], a.vx[i1], a.vx[i0]);
        __m256d vy = _mm256_set_pd(a.vy[i3], a.vy[i2], a.vy[i1], a.vy[i0]);

        for (std::size_t j = 0; j < a.n; ++j) {
            const __m256d xj = _mm256_broadcast_sd(x + j);
            const __m256d yj = _mm256_broadcast_sd(y + j);
            const __m256d mj = _mm256_broadcast_sd(m + j);
            const __m256d dy = _mm256_sub_pd(yi, yj);
            const __m256d dx = _mm256_sub_pd(xi, xj);
            const __m256d r = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dy, dy), _mm256_mul_pd(dx, dx)));
            // Signalling, like the scalar comparison: a NaN distance raises "invalid".
            const __m256d an = _mm256_cmp_pd(r, null, _CMP_GT_OS);

            const __m256d r3 = _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(r, r), r), _mm256_andnot_pd(an, eins));
            const __m256d km = _mm256_mul_pd(_mm256_and_pd(an, K), _mm256_and_pd(an, mj));
            // x[j] - x[i] raises what x[i] - x[j] above raised already.
            const __m256d qx = _mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(xj, xi), km), r3);
            const __m256d qy = _mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(yj, yi), km), r3);
            const __m256d sx = _mm256_add_pd(qx, _mm256_and_pd(an, vx));
            const __m256d sy = _mm256_add_pd(qy, _mm256_and_pd(an, vy));
            vx = _mm256_blendv_pd(vx, sx, an);
            vy = _mm256_blendv_pd(vy, sy, an);
        }

        alignas(32) double ergx[4], ergy[4];
        _mm256_store_pd(ergx, vx);
        _mm256_store_pd(ergy, vy);
        for (std::size_t l = 0; l < 4 && i0 + l < bis; ++l) {
            a.vx[i0 + l] = ergx[l];
            a.vy[i0 + l] = ergy[l];
        }
    }
}

#pragma GCC pop_options

#else

// Never called where Avx2Verfuegbar() is false; kept so that every build links.
void ZeilenAvx2(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    ZeilenSkalar(a, von, bis);
}

#endif
