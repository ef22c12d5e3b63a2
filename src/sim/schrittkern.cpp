#include "schrittkern.h"

#include "helferfaden.h"
#include "kernwahl.h"
#include "zeilenkern.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {
constexpr unsigned FehlerFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;
}

void FlagsLoeschen()
{
#if defined(__x86_64__) && defined(__GNUC__)
    // feclearexcept rewrites the whole x87 environment, and loading MXCSR
    // holds up the pipeline: together they cost more than a small step.
    // Double arithmetic runs on SSE here; only the fault flags that
    // FlagsAlsFehler reads are cleared, each status word only when one of
    // them is set (inexact is set by nearly every step). The flag bits are
    // the same in both status words.
    uint16_t x87;
    __asm__ volatile("fnstsw %0" : "=am"(x87));
    if (x87 & FehlerFlags)
        __asm__ volatile("fnclex");
    const unsigned csr = _mm_getcsr();
    if (csr & FehlerFlags)
        _mm_setcsr(csr & ~FehlerFlags);
#else
    std::feclearexcept(FehlerFlags);
#endif
}

unsigned FlagsAlsFehler()
{
#if defined(__x86_64__) && defined(__GNUC__)
    uint16_t x87;
    __asm__ volatile("fnstsw %0" : "=am"(x87));
    const unsigned f = (_mm_getcsr() | x87) & FehlerFlags;
#else
    const int f = std::fetestexcept(FehlerFlags);
#endif
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

unsigned GeschwindigkeitenMit(Befehlssatz satz, Aufteilung aufteilung, std::size_t n, const double* x,
                              const double* y, const double* m, double* vx, double* vy, double K,
                              Vorarbeit vorarbeit)
{
    const Zeilenauftrag a{n, x, y, m, vx, vy, vx, vy, K};
    const Zeilenkern kern = KernFuer(satz);

    HelferFaden* helfer = nullptr;
    if (aufteilung == Aufteilung::Automatisch)
        aufteilung = n >= kern.zweiFaedenAb ? Aufteilung::Geteilt : Aufteilung::Allein;
    if (aufteilung != Aufteilung::Allein && n > 0)
        helfer = HelferFaden::Instanz();

    if (helfer) {
        FlagsLoeschen();
        unsigned helferFehler = KeinFehler;
        if (helfer->Rechnen(kern.lauf, kern.gruppe, a, aufteilung != Aufteilung::NurHelfer, helferFehler,
                            aufteilung == Aufteilung::Bremse, vorarbeit))
            return FlagsAlsFehler() | helferFehler;
    }
    // Alone: the work first, then flags of the pass's own.
    if (vorarbeit)
        vorarbeit();
    FlagsLoeschen();
    if (n > 0)
        kern.lauf(a, 0, n);
    return FlagsAlsFehler();
}

unsigned Geschwindigkeiten(std::size_t n, const double* x, const double* y, const double* m,
                           double* vx, double* vy, double K, Vorarbeit vorarbeit)
{
    return GeschwindigkeitenMit(Befehlssatz::Automatisch, Aufteilung::Automatisch, n, x, y, m, vx, vy, K,
                                vorarbeit);
}
