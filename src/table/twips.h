// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window and control sizes are given in twips: 1440 to the inch, so 15 twips
// are one pixel at 96 dots per inch.

#include <cmath>

inline int TwipsZuPixel(int twips, int dpi)
{
    return int(std::lround(double(twips) * dpi / 1440.0));
}
