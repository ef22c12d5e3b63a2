// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document's data as plain data: the bodies as the user edits, loads and
// saves them, and the settings that live for the whole run. The one mutable
// instance belongs to the Dokument, which alone changes it; the moving bodies
// are the run's.

#include "koerper.h"
#include <QString>
#include <vector>

// Body sets are 1-based in the user's view (body k is row k of the table and
// record k of the file); here body k lives at index k - 1.
using KoerperSatz = std::vector<Koerper>;

// Both sets equal bit for bit (see BitGleich).
bool BitGleich(const KoerperSatz& a, const KoerperSatz& b);

// Loops and the file reader count bodies in 16 bits.
inline constexpr int MaxKoerper = 32767;

struct ModPlavo {
    KoerperSatz KoerperStart{Koerper{}};   // document set: what the user edits, loads and saves
    double Intervall = 2.0;                // simulated days per step
    QString DateiName;                     // path of the current body file; empty when untitled
    bool Gespeichert = true;               // no unsaved changes
};
