// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/aufbau.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
Koerper Bewegt(double v, double richtung)
{
    Koerper k;
    k.NameSetzen(QStringLiteral("K"));
    k.Masse = 3;
    k.X = 5;
    k.Y = -6;
    k.Geschwindigkeit = v;
    k.Richtung = richtung;
    k.Farbe = 0x00FF00;
    return k;
}
}  // namespace

TEST(KoerperSimAufbauen, TurnsSpeedAndDirectionIntoADisplacementPerStep)
{
    ModPlavo mod;
    Laufstand stand;
    stand.Schrittzahl = 7;
    mod.KoerperStart = {Bewegt(10, 0), Bewegt(10, 90), Bewegt(10, 450), Bewegt(10, -90), Koerper{}};
    ASSERT_EQ(KoerperSimAufbauen(mod, stand), KeinFehler);
    ASSERT_EQ(stand.KoerperSim.size(), 5u);
    EXPECT_EQ(stand.Schrittzahl, 7) << "the count is the caller's";

    const double weg = 2 * 86400 * 10.0;
    EXPECT_EQ(stand.KoerperSim[0].Vx(), weg);
    EXPECT_EQ(stand.KoerperSim[0].Vy(), 0.0);
    EXPECT_EQ(stand.KoerperSim[1].Vy(), weg);
    EXPECT_NE(stand.KoerperSim[1].Vx(), 0.0) << "cos of the computed right angle is tiny, not zero";
    EXPECT_NEAR(stand.KoerperSim[1].Vx(), 0.0, 1e-9 * weg);
    EXPECT_NEAR(stand.KoerperSim[2].Vy(), weg, 1e-9 * weg);
    EXPECT_NEAR(stand.KoerperSim[3].Vy(), -weg, 1e-9 * weg);

    // Everything but the motion is copied.
    EXPECT_EQ(stand.KoerperSim[0].Name, mod.KoerperStart[0].Name);
    EXPECT_EQ(stand.KoerperSim[0].Masse, 3);
    EXPECT_EQ(stand.KoerperSim[0].X, 5);
    EXPECT_EQ(stand.KoerperSim[0].Y, -6);
    EXPECT_EQ(stand.KoerperSim[0].Farbe, 0x00FF00);
    EXPECT_EQ(stand.KoerperSim[4], Koerper{});

    // The order of operations is the fixed one.
    const double w = (std::atan(1.0) * 33.0) / 45.0;
    mod.KoerperStart = {Bewegt(7, 33)};
    mod.Intervall = 0.37;
    ASSERT_EQ(KoerperSimAufbauen(mod, stand), KeinFehler);
    EXPECT_EQ(stand.Intervall, 0.37) << "the interval built with is the one in use";
    EXPECT_EQ(stand.KoerperSim[0].Vx(), ((0.37 * 86400.0) * 7.0) * std::cos(w));
    EXPECT_EQ(stand.KoerperSim[0].Vy(), ((0.37 * 86400.0) * 7.0) * std::sin(w));
}

TEST(KoerperSimAufbauen, AFaultChangesNothing)
{
    const double unendlich = std::numeric_limits<double>::infinity();
    for (const Koerper& schlecht : {Bewegt(1e306, 0), Bewegt(1, unendlich), Bewegt(std::nan(""), 0)}) {
        ModPlavo mod;
        Laufstand stand;
        mod.KoerperStart = {Bewegt(1, 0)};
        ASSERT_EQ(KoerperSimAufbauen(mod, stand), KeinFehler);
        const Laufstand vorher = stand;

        mod.KoerperStart = {Bewegt(2, 0), schlecht, Bewegt(3, 0)};
        mod.Intervall = 1;
        EXPECT_NE(KoerperSimAufbauen(mod, stand), KeinFehler);
        EXPECT_TRUE(BitGleich(stand, vorher));
    }
}
