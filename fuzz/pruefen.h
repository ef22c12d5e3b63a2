// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A property of a fuzz target. A violation aborts, which the fuzzer reports
// as a crash with the input that caused it.

#include <cstdio>
#include <cstdlib>

#define PRUEFEN(bedingung)                                                                       \
    do {                                                                                         \
        if (!(bedingung)) {                                                                      \
            std::fprintf(stderr, "%s:%d: verletzt: %s\n", __FILE__, __LINE__, #bedingung);       \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)
