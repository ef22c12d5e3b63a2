// SPDX-License-Identifier: GPL-3.0-or-later
#include "gleitkommaflags.h"

#include <cfenv>

#if defined(__x86_64__) && defined(__GNUC__) && defined(__SSE2_MATH__)
#include <immintrin.h>
#define PLAVO_NUR_SSE 1
#endif

namespace {

constexpr unsigned FehlerFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;

// The raw flags (FE_ bits) of this thread's double arithmetic.
inline unsigned Lesen()
{
#ifdef PLAVO_NUR_SSE
    // Double arithmetic runs on SSE here, so the x87 status word never holds
    // a fault of ours; reading it too (as fetestexcept does) would double the
    // cost. The flag bits of MXCSR are the FE_ bits.
    return _mm_getcsr() & FehlerFlags;
#else
    return unsigned(std::fetestexcept(FehlerFlags));
#endif
}

// Clears the fault flags; `gesetzt` is what Lesen() returned.
inline void Loeschen(unsigned gesetzt)
{
    // Loading MXCSR holds up the pipeline, and fesetenv-style clearing
    // rewrites the x87 environment as well: clear only what is set
    // (inexact, set by nearly every step, is left alone).
    if (gesetzt == 0)
        return;
#ifdef PLAVO_NUR_SSE
    _mm_setcsr(_mm_getcsr() & ~FehlerFlags);
#else
    std::feclearexcept(FehlerFlags);
#endif
}

unsigned AlsFehler(unsigned f)
{
    unsigned fehler = KeinFehler;
    if (f & FE_OVERFLOW)
        fehler |= FehlerUeberlauf;
    if (f & FE_DIVBYZERO)
        fehler |= FehlerDivisionDurchNull;
    if (f & FE_INVALID)
        fehler |= FehlerUngueltig;
    return fehler;
}

}  // namespace

void FlagsLoeschen()
{
    Loeschen(Lesen());
}

unsigned FlagsAlsFehler()
{
    return AlsFehler(Lesen());
}

unsigned FlagsNehmen()
{
    const unsigned f = Lesen();
    Loeschen(f);
    return AlsFehler(f);
}
