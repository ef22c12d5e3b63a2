// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage1252.h"

#include <algorithm>
#include <array>

namespace {
// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kObereSteuerzeichen = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}

char16_t ZeichenAusCp1252(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kObereSteuerzeichen[byte - 0x80];
    return char16_t(byte);
}

uint8_t ZeichenNachCp1252(char16_t zeichen)
{
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF))
        return uint8_t(zeichen);
    const auto it = std::find(kObereSteuerzeichen.begin(), kObereSteuerzeichen.end(), zeichen);
    if (it != kObereSteuerzeichen.end())
        return uint8_t(0x80 + (it - kObereSteuerzeichen.begin()));
    return uint8_t('?');
}
