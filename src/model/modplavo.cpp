// SPDX-License-Identifier: GPL-3.0-or-later
#include "modplavo.h"

#include <algorithm>

bool BitGleich(const KoerperSatz& a, const KoerperSatz& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Koerper& x, const Koerper& y) { return BitGleich(x, y); });
}
