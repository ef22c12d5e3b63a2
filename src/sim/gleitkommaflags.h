// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thread's floating-point fault flags, read and cleared cheaply: the step
// reads them a few times per step and the helper thread once per unit of
// rows, so their cost shows on small systems.

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
// FlagsAlsFehler, then FlagsLoeschen, for the price of one read when no
// fault is set.
unsigned FlagsNehmen();
