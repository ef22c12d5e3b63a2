// SPDX-License-Identifier: GPL-3.0-or-later
#include "prozessor.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__) && defined(__GNUC__)
namespace {
// Compiled for AVX alone; only called where AVX2 is present.
__attribute__((target("avx"))) void ObereHaelftenLeeren()
{
    _mm256_zeroupper();
}
}  // namespace
#endif

void VektorOberhaelftenLeeren()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (Avx2Verfuegbar())
        ObereHaelftenLeeren();
#endif
}
