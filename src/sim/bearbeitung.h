// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of shaping a system on the picture: velocities, the body
// that pulls hardest, circular orbits, accelerations, a new body, the
// momentum set to zero and a run's state taken as the start. Plain functions
// on values, for either body set: the document's (speed in m/s, direction in
// degrees) and the run's (displacement per step). The commands that apply
// them to the document or the run are the window's.
//
// Units: metres, m/s, m/s^2; masses in Earth masses of 3.986659e14 m^3/s^2.

#include "model/modplavo.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct Vektor {
    double x = 0, y = 0;
};

// How a set holds the motion of its bodies.
struct Bewegungsart {
    bool arbeitssatz = false;   // the run's: displacement per step; else speed and direction
    double intervall = 2.0;     // days per step of the run's set
};

// A body's velocity in m/s. For the run's set at an interval of 0 (or one
// not finite) it is not known: NaN.
Vektor Geschwindigkeit(const Koerper& k, Bewegungsart art);
// Sets it; for the document's set as speed and a direction in [0, 360).
// False, with the body unchanged, when the run's interval gives no speed.
bool GeschwindigkeitSetzen(Koerper& k, Vektor v, Bewegungsart art);
// The direction of `v` in degrees from +x towards +y, in [0, 360).
double RichtungGrad(Vektor v);

// The body that pulls hardest at `ort`: the greatest m / r^2 among bodies of
// positive mass at a distance above 0, `ausser` left out. None when nothing pulls.
std::optional<std::size_t> StaerksterZug(const KoerperSatz& satz, Vektor ort,
                                         std::optional<std::size_t> ausser = std::nullopt);

// The sense in which `v` goes round a centre at `relativ` from it (both
// relative to the centre): +1 from +x towards +y, -1 the other way, 0 along the line.
int Umlaufsinn(Vektor relativ, Vektor v);
// The velocity relative to a centre of mass `zentralmasse` at which a body
// of mass `masse` at `relativ` from it goes round on a circle in the sense
// `sinn` (two bodies about each other: sqrt(mu (M + m) / r), perpendicular to
// the line between them). None when they do not attract or lie on each other.
std::optional<Vektor> Kreisbahn(Vektor relativ, double zentralmasse, double masse, int sinn);
// The speed of that orbit, m/s; NaN where there is none.
double Kreisgeschwindigkeit(double abstand, double zentralmasse, double masse);

// Every body's gravitational acceleration at the current positions, m/s^2,
// by the step's own velocity pass (so pairs at distance 0 are left out as
// the step leaves them). Returns its floating-point faults.
unsigned Beschleunigungen(const KoerperSatz& satz, std::vector<double>& ax, std::vector<double>& ay);

// A palette of clearly distinct colours that show on white, as body colours.
const std::vector<int32_t>& Farbpalette();
// The first palette colour no body has; once all are taken, round again.
int32_t NaechsteFarbe(const KoerperSatz& satz);
// "Körper <n>" with the smallest n from the set's size + 1 on that no body is named.
QString NeuerKoerpername(const KoerperSatz& satz);

// The body "Körper hier einfügen" adds at `ort`: named by NeuerKoerpername,
// 1 Earth mass, the next palette colour, on a circular orbit about the body
// that pulls hardest there, or at rest when nothing pulls. It goes round in
// the sense in which the other bodies go round that one (their angular
// momentum about it), +1 when they do not.
Koerper EinzufuegenderKoerper(const KoerperSatz& satz, Vektor ort, Bewegungsart art);

// The same velocity subtracted from every body so that the centre of mass
// rests. False, with nothing changed, when it rests already, the total mass
// is 0 or the velocities are not known.
bool ImpulsNullSetzen(KoerperSatz& satz, Bewegungsart art);

// The run's bodies where they stand as a document set: the speed is the
// displacement per step over `intervall` * 86400 seconds, the direction its
// angle in [0, 360). None when the interval gives no speed.
std::optional<KoerperSatz> AlsStartzustand(const KoerperSatz& sim, double intervall);
