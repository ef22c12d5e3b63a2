// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The smallest visible section that shows every body, for "Alle Körper zeigen".

#include "model/modplavo.h"
#include "view/ausschnitt.h"

#include <optional>

// The section around all `koerper` with a margin of a tenth of their extent
// on every side, widened in one direction to `seitenverhaeltnis` (picture
// width over height, in pixels) so that circles stay round. Bodies all at one
// place get 2 AE around them in the shorter direction. Nothing when a
// position or the result is not finite.
std::optional<Ausschnitt> AusschnittUmAlle(const KoerperSatz& koerper, double seitenverhaeltnis);

// As AusschnittUmAlle, for the circles every body describes about the
// bodies' centre of mass at the distance it has from it: a system of bound
// orbits stays in view as it turns. Nothing when AusschnittUmAlle gives none.
std::optional<Ausschnitt> AusschnittUmBahnen(const KoerperSatz& koerper, double seitenverhaeltnis);
