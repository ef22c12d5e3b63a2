// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An edit of the bodies where a run stands at a later step (moved, given a
// new velocity, added, removed): the run keeps it as part of its history, so
// that every redraw, replay and export applies it at its step. It holds the
// whole working set after the edit, which is simple and exact: applying it
// is one assignment, whatever the edit was.
//
// Interventions are shared and never changed once made, so a record of the
// run compares them by identity.

#include "model/modplavo.h"

#include <cstdint>
#include <memory>
#include <vector>

struct Eingriff {
    int32_t Schritt = 0;   // made when the run stood after this many steps
    KoerperSatz Koerper;   // the working set after the edit, displacements per step
    // Per body, the row of the document set it stems from (0-based), or -1
    // for a body the run added: the table shows the document's rows only.
    std::vector<int32_t> Zeilen;
};

using EingriffPtr = std::shared_ptr<const Eingriff>;
// In the order made, so by ascending step; several at one step apply in turn.
using Eingriffe = std::vector<EingriffPtr>;
