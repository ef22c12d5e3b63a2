#pragma once
// The velocity pass of the gravity step, on plain arrays: the hot loop of the
// whole program, free of Qt so that benchmarks and fuzzers can call it.
//
// For every ordered pair (i, j), i and j ascending, j = i included:
//   r = sqrt((y[i]-y[j])^2 + (x[i]-x[j])^2)
//   if r > 0:  vx[i] = (x[j]-x[i]) * (K*m[j]) / (r*r*r) + vx[i]   (same for y)
// K = dt^2 * mu in m^3 per Earth mass, so vx, vy are displacements per step.

#include <cstddef>
#include <cstdint>

#include "sim/zeilenkern.h"

// Floating-point faults of a step, as bits.
enum SchrittFehler : unsigned {
    KeinFehler = 0,
    FehlerUeberlauf = 1u << 0,          // overflow
    FehlerDivisionDurchNull = 1u << 1,
    FehlerUngueltig = 1u << 2,          // invalid operation (NaN involved, inf - inf, ...)
    FehlerNichtEndlich = 1u << 3,       // a new value is infinite or NaN
    FehlerZaehlerUeberlauf = 1u << 4,   // Schrittzahl would pass 2^31 - 1
};

// Clears the thread's overflow, division-by-zero and invalid flags, so a
// later FlagsAlsFehler sees only new faults.
void FlagsLoeschen();
// The thread's overflow, division-by-zero and invalid flags as SchrittFehler bits.
unsigned FlagsAlsFehler();

// The literal scalar loop; the reference every faster version must match bit for bit.
void GeschwindigkeitenReferenz(std::size_t n, const double* x, const double* y, const double* m,
                               double* vx, double* vy, double K);

// The program's velocity pass: same bits as the reference, with the fastest
// vector kernel the processor offers (see GewaehlterBefehlssatz), on two threads from MindestzahlFuerZweiFaeden bodies on
// (see HelferFaden). Returns the floating-point faults it raised (the flags
// of every thread it used), the same bits the reference raises; faults of
// `vorarbeit` are not among them.
unsigned Geschwindigkeiten(std::size_t n, const double* x, const double* y, const double* m,
                           double* vx, double* vy, double K, Vorarbeit vorarbeit = {});

// Below this many bodies waking the helper thread costs more than it saves
// (the scalar and AVX2 passes; the AVX-512 pass shares from 128 on).
inline constexpr std::size_t MindestzahlFuerZweiFaeden = 40;

// The choices Geschwindigkeiten makes by itself, to be forced in tests and
// benchmarks. A request for a set the processor lacks runs the next narrower
// one it has: AVX-512 falls back to AVX2, AVX2 to scalar.
enum class Befehlssatz { Automatisch, Skalar, Avx2, Avx512 };
enum class Aufteilung {
    Automatisch,
    Allein,      // the calling thread only
    Geteilt,     // calling thread from the first rows on, helper from the last
    NurHelfer,   // every row on the helper thread (tests)
    Bremse,      // shared, but the helper dawdles before each unit, so that
                 // the caller takes its units over (tests)
};
unsigned GeschwindigkeitenMit(Befehlssatz satz, Aufteilung aufteilung, std::size_t n, const double* x,
                              const double* y, const double* m, double* vx, double* vy, double K,
                              Vorarbeit vorarbeit = {});
