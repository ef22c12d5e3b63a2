#include "schrittkern.h"

#include <cfenv>
#include <cmath>

void FlagsLoeschen()
{
    std::feclearexcept(FE_ALL_EXCEPT);
}

unsigned FlagsAlsFehler()
{
    const int f = std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
    unsigned fehler = KeinFehler;
    if (f & FE_OVERFLOW)
        fehler |= FehlerUeberlauf;
    if (f & FE_DIVBYZERO)
        fehler |= FehlerDivisionDurchNull;
    if (f & FE_INVALID)
        fehler |= FehlerUngueltig;
    return fehler;
}

void GeschwindigkeitenReferenz(std::size_t n, const double* x, const double* y, const double* m,
                               double* vx, double* vy, double K)
{
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            const double dy = y[i] - y[j];
            const double dx = x[i] - x[j];
            const double r = std::sqrt(dy * dy + dx * dx);
            if (r > 0) {
                const double r3 = r * r * r;
                vx[i] = (x[j] - x[i]) * (K * m[j]) / r3 + vx[i];
                vy[i] = (y[j] - y[i]) * (K * m[j]) / r3 + vy[i];
            }
        }
    }
}

unsigned Geschwindigkeiten(std::size_t n, const double* x, const double* y, const double* m,
                           double* vx, double* vy, double K)
{
    FlagsLoeschen();
    GeschwindigkeitenReferenz(n, x, y, m, vx, vy, K);
    return FlagsAlsFehler();
}
