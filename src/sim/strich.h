// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a step draws for one body: a segment from (x, y) by (dx, dy), then a
// point at (x, y). AE, single precision, as the picture's user scale takes
// them; +y points down on the screen.

#include <cstdint>

struct Strich {
    float x, y, dx, dy;
    int32_t farbe;   // RGB as in Koerper::Farbe
};
