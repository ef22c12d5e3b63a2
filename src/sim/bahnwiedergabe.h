// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run replayed from the document set on a copy of its own, for the orbit
// data: the rows equal what the run computed, and neither the window's
// working set nor its picture is touched. Steps 0, abstand, 2 * abstand, ...
// and the last step are chosen; the run's interventions are applied at their
// steps, before that step's rows are written; the caller decides how many steps a slice
// computes, so a long replay never blocks the user interface.

#include "model/modplavo.h"
#include "sim/bahndaten.h"
#include "sim/berechnung.h"
#include "sim/eingriff.h"
#include "sim/laufstand.h"

#include <cstdint>
#include <string>

class Bahnwiedergabe {
public:
    Bahnwiedergabe(const ModPlavo& mod, int32_t schrittzahl, int32_t abstand, BahndatenFormat format,
                   Eingriffe eingriffe = {});

    // Builds the working set and appends the header and the rows of step 0.
    unsigned Beginnen(std::string& ziel);
    // Computes up to `schritte` further steps and appends the rows of the
    // chosen ones. A fault ends the replay and is returned.
    unsigned Weiter(std::string& ziel, int32_t schritte);

    bool Fertig() const { return stand_.Schrittzahl >= schrittzahl_; }
    int32_t Schritt() const { return stand_.Schrittzahl; }
    int32_t Schrittzahl() const { return schrittzahl_; }

private:
    void Eingreifen();

    KoerperSatz start_;
    Eingriffe eingriffe_;
    std::size_t naechster_ = 0;
    double intervall_;
    int32_t schrittzahl_;
    int32_t abstand_;
    BahndatenFormat format_;
    Laufstand stand_;
    Rechenwerk werk_;
};
