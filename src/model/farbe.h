// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A body's colour as stored (red in the low byte, then green and blue) and
// as Qt's images and colours hold it (0xAARRGGBB, alpha opaque).

#include <cstdint>

constexpr uint32_t FarbeAlsArgb(int32_t farbe)
{
    const auto f = uint32_t(farbe);
    return 0xFF000000u | ((f & 0xFFu) << 16) | (f & 0xFF00u) | ((f >> 16) & 0xFFu);
}

// The alpha byte is dropped: a body's colour is always opaque.
constexpr int32_t FarbeAusArgb(uint32_t argb)
{
    return int32_t(((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16));
}
