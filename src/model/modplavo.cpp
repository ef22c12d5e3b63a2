#include "modplavo.h"

#include <algorithm>

void ModPlavo::AufEinenLeerenKoerper()
{
    KoerperStart.assign(1, Koerper{});
}

void ModPlavo::NeuDimensionieren(int n)
{
    KoerperStart.assign(size_t(n), Koerper{});
}

void ModPlavo::Laden(const KoerperSatz& gelesen)
{
    if (gelesen.empty())
        return;
    KoerperStart = gelesen;
}

bool BitGleich(const KoerperSatz& a, const KoerperSatz& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Koerper& x, const Koerper& y) { return BitGleich(x, y); });
}
