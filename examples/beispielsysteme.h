// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The example systems shipped in examples/, built from published values with
// the program's own gravitational parameter, so that what is circular here is
// circular in the program.
//
// Conventions of the body files: metres, m/s, Earth masses, directions in
// degrees from +x towards +y (+y points down on the screen, so every orbit
// here turns clockwise as seen), colours RGB with red in the low byte.
// Every system has its centre of mass at the origin and no total momentum, so
// it stays in the default 2 x 2 AE section.

#include "model/modplavo.h"

#include <QString>
#include <vector>

// The calculation interval (days) the examples are set up for. The step keeps
// the speed half a step behind the position (a kick comes before every
// drift), so each stored velocity is the one half an interval before the
// start; at this interval the orbits close, at others they are slightly
// elliptic.
inline constexpr double BeispielIntervall = 0.5;

inline constexpr double Sonnenmasse = 332950.0;   // Earth masses

struct Beispiel {
    QString Datei;          // file name inside examples/
    KoerperSatz Koerper;    // document set: speed and direction
};

std::vector<Beispiel> Beispiele();

// Published figure-eight of three equal masses (G = 1, m = 1, unit length):
// body 1 at (X, Y), body 2 at (-X, -Y), body 3 at the origin with (VX, VY),
// bodies 1 and 2 with half of -(VX, VY); one period takes Periode time units.
namespace Acht {
inline constexpr double X = 0.97000436;
inline constexpr double Y = -0.24308753;
inline constexpr double VX = -0.93240737;
inline constexpr double VY = -0.86473146;
inline constexpr double Periode = 6.32591398;
}  // namespace Acht
