// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of reference: the run seen from a body, from the centre of mass or
// turning with two bodies. The run never changes with the frame; only what
// is drawn does, and a redraw draws exactly what was drawn live.

#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "sim/lauf.h"
#include "support/koerperbau.h"
#include "view/bezugssystem.h"
#include "view/bildflaeche.h"
#include "view/lagrangepunkte.h"
#include "view/laufbild.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

namespace {

constexpr int32_t Rot = 0x0000FF, Gruen = 0x00AA00, Blau = 0xFF0000;

// A sun, a comet that crosses the picture, and an earth drawn last.
KoerperSatz DreiKoerper()
{
    const double r = 0.75e11;
    return {NeuerKoerper(QStringLiteral("Sonne"), 332950, 0, 0, 0, 0, Blau),
            NeuerKoerper(QStringLiteral("Komet"), 0.1, -0.5e11, 0.3e11, 3e4, 200, Gruen),
            NeuerKoerper(QStringLiteral("Erde"), 1, r, 0, std::sqrt(3.986659e14 * 332950 / r), 90, Rot)};
}

// Pixels of each colour.
std::map<QRgb, std::set<std::pair<int, int>>> Farbflecken(const QImage& bild)
{
    std::map<QRgb, std::set<std::pair<int, int>>> flecken;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (bild.pixel(x, y) != 0xFFFFFFFF)
                flecken[bild.pixel(x, y)].insert({x, y});
    return flecken;
}

QRgb Pixelfarbe(int32_t farbe)
{
    return qRgb(farbe & 0xFF, (farbe >> 8) & 0xFF, (farbe >> 16) & 0xFF);
}

struct Bezugsprobe : ::testing::Test {
    ModPlavo mod;
    Arbeiter arbeiter;
    BildFlaeche bild;

    void SetUp() override
    {
        mod.KoerperStart = DreiKoerper();
        mod.Intervall = 2;
        // Odd sizes: the origin lies in the middle of pixel (100, 75).
        bild.GroesseSetzen(QSize(201, 151));
        bild.Scale(-1, -1, 1, 1);
    }
    void Neuzeichnen(Lauf& lauf)
    {
        lauf.NeuzeichnenBeginnen();
        while (lauf.NeuzeichnenArbeiten(Lauf::Uhr::now()) != Lauf::Neuzeichnungsstand::Fertig)
            lauf.ArbeiterAbwarten();
    }
};

}  // namespace

TEST_F(Bezugsprobe, ABodysWholeTrailIsOnePixelAtTheCentre)
{
    Lauf lauf(mod, arbeiter);
    LaufBild zeichnen(lauf, bild);
    zeichnen.BezugSetzen(Bezugssystem::EinKoerper(2));
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(lauf.Schritt(), KeinFehler);
    const auto flecken = Farbflecken(bild.Image());
    const std::set<std::pair<int, int>> mitte = {{100, 75}};
    EXPECT_EQ(flecken.at(Pixelfarbe(Rot)), mitte);
    // Seen from the earth, the sun goes round it at 0.5 AE, 50 pixels across
    // (give or take the 5 % of an orbit started without the half step).
    EXPECT_GT(flecken.at(Pixelfarbe(Blau)).size(), 150u);
    for (const auto& [x, y] : flecken.at(Pixelfarbe(Blau)))
        EXPECT_NEAR(std::hypot((x + 0.5 - 100.5) / 100.5, (y + 0.5 - 75.5) / 75.5), 0.5, 0.06);
}

TEST_F(Bezugsprobe, EveryFrameRedrawsWhatItDrewLiveAndFestComesBackWithTheSameRunBitForBit)
{
    // The run in the fixed frame, drawn as the picture draws it.
    Lauf fest(mod, arbeiter);
    BildFlaeche festBild;
    festBild.GroesseSetzen(bild.Groesse());
    festBild.Scale(-1, -1, 1, 1);
    LaufBild festZeichnen(fest, festBild);
    ASSERT_EQ(fest.Starten(), KeinFehler);
    for (int i = 0; i < 120; ++i)
        ASSERT_EQ(fest.Schritt(), KeinFehler);

    for (const Bezugssystem& bezug : {Bezugssystem::Schwerpunkt(), Bezugssystem::EinKoerper(0),
                                      Bezugssystem::EinKoerper(2), Bezugssystem::Mitrotierend(0, 2)}) {
        SCOPED_TRACE(bezug.Text(mod.KoerperStart).toStdString());
        // 13 strokes a block: a redraw hands out kept steps cut in the middle,
        // then computes the steps beyond the budget.
        Lauf lauf(mod, arbeiter, 13 * 16 * sizeof(Strich));
        LaufBild zeichnen(lauf, bild);
        zeichnen.BezugSetzen(bezug);
        bild.Cls();
        ASSERT_EQ(lauf.Starten(), KeinFehler);
        for (int i = 0; i < 120; ++i)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        ASSERT_GT(lauf.Speicher().Schritte(), 20);
        ASSERT_LT(lauf.Speicher().Schritte(), 120);
        const QImage live = bild.Image().copy();
        Neuzeichnen(lauf);
        EXPECT_TRUE(bild.Image() == live) << "the redraw in the frame";

        // Back to Fest: the fixed frame's picture, and the run never changed.
        zeichnen.BezugSetzen({});
        Neuzeichnen(lauf);
        EXPECT_TRUE(bild.Image() == festBild.Image());
        EXPECT_TRUE(BitGleich(lauf.Stand(), fest.Stand()));
    }
}

TEST_F(Bezugsprobe, TwoBodiesOnACircleStayOnTheirTwoPixelsWhileTheFrameTurnsWithThem)
{
    // Two suns 1 AE apart on a circle about their centre, each velocity taken
    // back half a step, as the step keeps it: a full turn takes 259 days.
    const double m = 332950, r = 0.5 * MeterProAE, h = 0.5 * 86400;
    const double u = std::sqrt(GravitationsParameter * m / (4 * r)), a = u * u / r;
    const double v = std::hypot(u, h / 2 * a), w = std::atan2(u, h / 2 * a) * 180 / std::numbers::pi;
    mod.KoerperStart = {NeuerKoerper(QStringLiteral("A"), m, -r, 0, v, w + 180, Rot),
                        NeuerKoerper(QStringLiteral("B"), m, r, 0, v, w, Blau)};
    mod.Intervall = 0.5;
    Lauf lauf(mod, arbeiter);
    LaufBild zeichnen(lauf, bild);
    zeichnen.BezugSetzen(Bezugssystem::Mitrotierend(0, 1));
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    for (int i = 0; i < 540; ++i) {
        ASSERT_EQ(lauf.Schritt(), KeinFehler);
        if (i == 260) {
            EXPECT_LT(lauf.Stand().KoerperSim[1].X, -0.99 * r) << "half way round";
        }
    }
    const auto flecken = Farbflecken(bild.Image());
    ASSERT_EQ(flecken.size(), 2u);
    const std::set<std::pair<int, int>> links = {{50, 75}}, rechts = {{150, 75}};
    EXPECT_EQ(flecken.at(Pixelfarbe(Rot)), links);
    EXPECT_EQ(flecken.at(Pixelfarbe(Blau)), rechts);
}

TEST(Lagrangepunkte, EqualMassesAndTheLimitOfAMasslessSecondBody)
{
    // Equal masses: L1 at the centre, L2 and L3 at ±1.19841 times the
    // distance, L4 and L5 on the perpendicular at √3/2.
    const auto gleich = Lagrangepunkte(1, 1, 2, 1);
    ASSERT_TRUE(gleich);
    EXPECT_NEAR((*gleich)[0].x(), 0, 1e-12);
    EXPECT_NEAR((*gleich)[1].x(), 2 * 1.19841, 2e-5);
    EXPECT_NEAR((*gleich)[2].x(), -2 * 1.19841, 2e-5);
    EXPECT_NEAR((*gleich)[3].y(), std::sqrt(3.0), 1e-12);
    EXPECT_NEAR((*gleich)[4].y(), -std::sqrt(3.0), 1e-12);
    // L4 leads the second body in its turn.
    EXPECT_LT((*Lagrangepunkte(1, 1, 2, -1))[3].y(), 0);

    // Sun and Jupiter: L1 and L2 about a Hill radius (mu/3)^(1/3) either side of Jupiter.
    const double mu = 1 / 1048.0;
    const auto sj = Lagrangepunkte(1 - mu, mu, 1, 1);
    ASSERT_TRUE(sj);
    const double hill = std::cbrt(mu / 3);
    EXPECT_NEAR((*sj)[0].x(), 1 - mu - hill, 0.1 * hill);
    EXPECT_NEAR((*sj)[1].x(), 1 - mu + hill, 0.1 * hill);
    EXPECT_NEAR((*sj)[2].x(), -1 - 5 * mu / 12, 1e-5);

    EXPECT_FALSE(Lagrangepunkte(1, -1, 1, 1)) << "a repelling mass";
    EXPECT_FALSE(Lagrangepunkte(0, 0, 1, 1));
}
