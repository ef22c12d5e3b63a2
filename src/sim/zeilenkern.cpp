#include "zeilenkern.h"

#include <cmath>

bool Avx2Verfuegbar()
{
#if defined(__x86_64__) && defined(__GNUC__)
    // Also checks that the operating system saves the YMM registers.
    static const bool vorhanden = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return vorhanden;
#else
    return false;
#endif
}

bool Avx512Verfuegbar()
{
#if defined(__x86_64__) && defined(__GNUC__)
    // Also checks that the operating system saves the ZMM and mask registers.
    static const bool vorhanden = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return vorhanden;
#else
    return false;
#endif
}

// In the AVX2 file; only called where AVX2 is present.
void VektorOberhaelftenLeerenAvx();

void VektorOberhaelftenLeeren()
{
    if (Avx2Verfuegbar())
        VektorOberhaelftenLeerenAvx();
}

void ZeilenSkalar(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;
    for (std::size_t i = von; i < bis; ++i) {
        double vx = a.vx[i];
        double vy = a.vy[i];
        for (std::size_t j = 0; j < a.n; ++j) {
            const double dy = y[i] - y[j];
            const double dx = x[i] - x[j];
            const double r = std::sqrt(dy * dy + dx * dx);
            if (r > 0) {
                const double r3 = r * r * r;
                vx = (x[j] - x[i]) * (a.K * m[j]) / r3 + vx;
                vy = (y[j] - y[i]) * (a.K * m[j]) / r3 + vy;
            }
        }
        a.vxNeu[i] = vx;
        a.vyNeu[i] = vy;
    }
}
