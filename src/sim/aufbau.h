#pragma once
// Building the working set from the document set.

#include "model/modplavo.h"
#include "sim/schrittkern.h"

// Displacement per step of a body moving at `geschwindigkeit` m/s in
// `richtung` degrees (from +x towards +y), for `intervall` days per step.
// The order of operations is fixed: the angle is arctan(1) * richtung / 45,
// the factor (intervall * 86400) * geschwindigkeit, then times cos or sin.
double VerschiebungX(double intervall, double geschwindigkeit, double richtung);
double VerschiebungY(double intervall, double geschwindigkeit, double richtung);

// KoerperSim becomes a copy of KoerperStart with speed and direction turned
// into the displacement per step. All or nothing: on a floating-point fault
// or a non-finite result the working set is left as it was and the fault is
// returned.
unsigned KoerperSimAufbauen(ModPlavo& mod);
