// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The visible section moved with the mouse and the keys: zoom about a point,
// drag, and move by a part of its size, all within fixed limits.
//
// Limits (AE): width and height stay between 1e-6 and 1e6 in magnitude, and
// the offsets within ±1e9. A change that would pass a limit is not taken, or
// for a move stops at the limit; a section typed beyond them may always come
// back towards them. Every number returned is finite, and the picture's
// single-precision edges stay apart, so its scale never collapses. A negative
// (mirrored) width or height is kept as it is: the arithmetic holds for it.

#include "view/ausschnittumalle.h"

inline constexpr double KleinsterAusschnitt = 1e-6;   // AE
inline constexpr double GroessterAusschnitt = 1e6;
inline constexpr double GroessterOffset = 1e9;
inline constexpr double RastFaktor = 1.25;            // size per wheel notch
inline constexpr int WinkelProRaste = 120;            // QWheelEvent::angleDelta per notch

// `rasten` wheel notches about the point at (anteilX, anteilY) of the
// picture (0 at the left or top edge, 1 at the right or bottom edge, clamped
// to that): that point stays where it is. A positive count zooms in, each
// notch dividing width and height by RastFaktor; a notch that would pass a
// limit ends the zoom there.
Ausschnitt Gezoomt(const Ausschnitt& a, int rasten, double anteilX, double anteilY);

// The plane dragged by (dx, dy) pixels on a picture of breite × hoehe
// pixels: it follows the mouse, the offsets go back by dx·Breite/breite and
// dy·Hoehe/hoehe. A picture size below one pixel counts as one.
Ausschnitt Gezogen(const Ausschnitt& a, double dx, double dy, double breite, double hoehe);

// Moved by parts of its own size: (0.1, 0) shows what lies a tenth of the
// width further right.
Ausschnitt Verschoben(const Ausschnitt& a, double teilX, double teilY);

// Round circles: one AE as many pixels across as down, on a picture whose
// width over height is `seitenverhaeltnis` (pixels). HoeheNachBreite fits the
// height to the width, BreiteNachHoehe the width to the height; each keeps
// the sign (a mirrored axis stays mirrored) and the offsets. A section that
// cannot be fitted (a size that would not be finite or would be zero) comes
// back unchanged.
Ausschnitt HoeheNachBreite(const Ausschnitt& a, double seitenverhaeltnis);
Ausschnitt BreiteNachHoehe(const Ausschnitt& a, double seitenverhaeltnis);

// Whole notches from the wheel's fine steps: adds `winkel` to `rest` and
// takes out the notches it holds, keeping the remainder with its sign.
int RastenNehmen(int& rest, int winkel);
