#include "modplavo.h"

#include <algorithm>

void ModPlavo::AufEinenLeerenKoerper()
{
    KoerperSim.assign(1, Koerper{});
    KoerperStart.assign(1, Koerper{});
}

void ModPlavo::NeuDimensionieren(int n)
{
    KoerperSim.assign(size_t(n), Koerper{});
    KoerperStart.assign(size_t(n), Koerper{});
}

void ModPlavo::Laden(const KoerperSatz& gelesen)
{
    if (gelesen.empty())
        return;
    KoerperStart = gelesen;
    KoerperSim.assign(gelesen.size(), Koerper{});
}

bool BitGleich(const KoerperSatz& a, const KoerperSatz& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Koerper& x, const Koerper& y) { return BitGleich(x, y); });
}
