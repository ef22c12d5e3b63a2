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
