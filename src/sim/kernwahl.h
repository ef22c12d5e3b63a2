// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which version of the rows the velocity pass runs. All give the same bits;
// they differ only in speed, and which is fastest depends on the processor:
// some run 512-bit divisions at full rate, others split them in two and gain
// nothing over AVX2. So the program measures once, on first use.

#include "sim/schrittkern.h"
#include "sim/zeilenkern.h"

#include <cstddef>

struct Zeilenkern {
    void (*lauf)(const Zeilenauftrag& a, std::size_t von, std::size_t bis) = nullptr;
    // Rows the kernel computes together: the unit in which rows are shared
    // between threads.
    std::size_t gruppe = 1;
    Befehlssatz satz = Befehlssatz::Skalar;
    // From this many bodies on the helper thread takes a share: below it,
    // waking the helper costs more than it saves.
    std::size_t zweiFaedenAb = MindestzahlFuerZweiFaeden;
    // The whole pass of a small system alone (see KleinBis), or null.
    void (*klein)(const Zeilenauftrag& a) = nullptr;
};

// Whether this processor can run `satz` (Automatisch and Skalar always).
bool BefehlssatzVerfuegbar(Befehlssatz satz);

// The fastest set this processor offers, measured on first call (a few
// milliseconds, on the calling thread alone). Leaves the thread's
// floating-point flags as it found them.
Befehlssatz GewaehlterBefehlssatz();

// Makes the program's own passes (Geschwindigkeiten, so the step too) use
// `satz` instead of the measured choice, for benchmarks and tests;
// Automatisch returns to the measured choice.
void BefehlssatzErzwingen(Befehlssatz satz);

// The kernel for `satz`; a set the processor lacks falls back to the next
// narrower one, Automatisch to GewaehlterBefehlssatz() or the forced one.
Zeilenkern KernFuer(Befehlssatz satz);
