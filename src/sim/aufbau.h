// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building the working set from the document set.

#include "model/modplavo.h"
#include "sim/laufstand.h"
#include "sim/schrittkern.h"

// Displacement per step of a body moving at `geschwindigkeit` m/s in
// `richtung` degrees (from +x towards +y), for `intervall` days per step.
// The order of operations is fixed: the angle is arctan(1) * richtung / 45,
// the factor (intervall * 86400) * geschwindigkeit, then times cos or sin.
double VerschiebungX(double intervall, double geschwindigkeit, double richtung);
double VerschiebungY(double intervall, double geschwindigkeit, double richtung);

// The working set of `stand` becomes a copy of `start` with speed and
// direction turned into the displacement per step at `intervall` days, which
// becomes the interval in use; the step count is the caller's. All or
// nothing: on a floating-point fault or a non-finite result `stand` is left
// as it was and the fault is returned.
unsigned KoerperSimAufbauen(const KoerperSatz& start, double intervall, Laufstand& stand);

// The same from the document set and interval.
inline unsigned KoerperSimAufbauen(const ModPlavo& mod, Laufstand& stand)
{
    return KoerperSimAufbauen(mod.KoerperStart, mod.Intervall, stand);
}
