// SPDX-License-Identifier: GPL-3.0-or-later
// A step and its drawing allocate nothing once the working arrays have
// grown to the number of bodies: the replay of a long run must not touch the
// heap per step or per body. Counted by replacing the global operator new
// for this test program.

#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "view/bildflaeche.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> Zuteilungen{0};
}

void* operator new(std::size_t groesse)
{
    Zuteilungen.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(groesse ? groesse : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// Bodies on a ring inside the default section, slowly moving.
ModPlavo Ring(int n)
{
    ModPlavo mod;
    mod.Intervall = 0.5;
    mod.KoerperStart.assign(size_t(n), Koerper{});
    for (int i = 0; i < n; ++i) {
        Koerper& k = mod.KoerperStart[size_t(i)];
        k.Masse = 1 + i % 3;
        k.X = 1e11 * std::cos(i * 0.7);
        k.Y = 1e11 * std::sin(i * 0.7);
        k.Geschwindigkeit = 2e4;
        k.Richtung = i * 40.1;
        k.Farbe = 0x102030 * (i % 5);
    }
    return mod;
}

}  // namespace

TEST(Zuteilung, StepsAndTheirDrawingAllocateNothing)
{
    // One thread for a few bodies, both for many (from 40, or 128 with AVX-512).
    for (const int n : {10, 200}) {
        Laufstand stand;
        ASSERT_EQ(KoerperSimAufbauen(Ring(n), stand), KeinFehler);
        BildFlaeche flaeche;
        flaeche.GroesseSetzen(QSize(653, 532));
        flaeche.Scale(-1, -1, 1, 1);
        Rechenwerk werk;
        const auto schritt = [&] {
            const Schrittergebnis e = werk.Schritt(stand);
            flaeche.Striche(e.striche);
            return e.fehler;
        };
        ASSERT_EQ(schritt(), KeinFehler);

        const long vorher = Zuteilungen.load();
        for (int k = 0; k < 200; ++k)
            ASSERT_EQ(schritt(), KeinFehler);
        EXPECT_EQ(Zuteilungen.load() - vorher, 0) << n << " bodies";
        EXPECT_EQ(stand.Schrittzahl, 201);
    }
}
