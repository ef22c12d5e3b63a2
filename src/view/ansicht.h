// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the picture shows: the one place that holds the visible section. The
// surface knows the section only as its scale, narrowed to single precision;
// dialogs and commands read the section here.

#include "view/ausschnitt.h"

class Ansicht {
public:
    const Ausschnitt& Aktuell() const { return ausschnitt_; }
    // Only stores it: the window redraws when the change is complete.
    void Setzen(const Ausschnitt& a) { ausschnitt_ = a; }

private:
    Ausschnitt ausschnitt_;   // 2 × 2 AE about the origin at every start
};
