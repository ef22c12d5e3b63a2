// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The visible section of the plane, in AE and double precision: its width
// and height, and the point shown at the centre of the picture. x grows to
// the right and y downwards; a negative width or height mirrors the picture.

struct Ausschnitt {
    double Breite = 2.0;
    double Hoehe = 2.0;
    double XOffset = 0.0;
    double YOffset = 0.0;

    // The picture's edges: left and top are its upper-left corner, right and
    // bottom its lower-right one.
    double Links() const { return -Breite / 2 + XOffset; }
    double Oben() const { return -Hoehe / 2 + YOffset; }
    double Rechts() const { return Breite / 2 + XOffset; }
    double Unten() const { return Hoehe / 2 + YOffset; }

    bool operator==(const Ausschnitt&) const = default;
};
