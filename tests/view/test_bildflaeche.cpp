// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/bildflaeche.h"
#include "view/ausschnittumalle.h"
#include "view/ausschnittwechsel.h"
#include "view/trefferraster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <vector>

namespace {
constexpr QRgb Weiss = 0xFFFFFFFF;

int Gefaerbt(const QImage& bild)
{
    int n = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            n += bild.pixel(x, y) != Weiss;
    return n;
}

// Two equal surfaces: one takes a step's strokes at once, the other each
// stroke as a line and a point, as single calls draw it.
struct Zwei {
    BildFlaeche einzeln, zusammen;
    Zwei(QSize groesse, double x1, double y1, double x2, double y2)
    {
        for (BildFlaeche* f : {&einzeln, &zusammen}) {
            f->GroesseSetzen(groesse);
            f->Scale(x1, y1, x2, y2);
            f->GeaendertNehmen();
        }
    }
    void Zeichnen(std::span<const Strich> striche)
    {
        for (const Strich& s : striche) {
            einzeln.Line(s.x, s.y, s.dx, s.dy, s.farbe);
            einzeln.PSet(s.x, s.y, s.farbe);
        }
        zusammen.Striche(striche);
    }
};
}  // namespace

TEST(BildFlaeche, MapsTheSectionOntoThePixels)
{
    BildFlaeche f;
    f.GroesseSetzen(QSize(200, 100));
    f.Scale(-1, -1, 1, 1);
    EXPECT_EQ(f.ScaleWidth(), 2.0f);

    // Half an AE right of the centre: halfway between centre and right edge.
    f.PSet(0.5f, 0.0f, 0x0000FF);
    EXPECT_EQ(f.Image().pixel(150, 50), qRgb(255, 0, 0)) << "red is the low byte";
    f.PSet(0.0f, 0.5f, 0xFF0000);
    EXPECT_EQ(f.Image().pixel(100, 75), qRgb(0, 0, 255)) << "y grows downwards";
    EXPECT_EQ(Gefaerbt(f.Image()), 2);

    // With width 4 and x offset 1 the section runs from -1 to 3.
    f.Cls();
    EXPECT_EQ(Gefaerbt(f.Image()), 0);
    f.Scale(-1, -1, 3, 1);
    f.PSet(1.0f, 0.0f, 0x00FF00);
    EXPECT_EQ(f.Image().pixel(100, 50), qRgb(0, 255, 0));

    // A negative width mirrors the x axis.
    f.Cls();
    f.Scale(1, -1, -1, 1);
    f.PSet(0.5f, 0.0f, 0x00FF00);
    EXPECT_EQ(f.Image().pixel(50, 50), qRgb(0, 255, 0));
}

TEST(BildFlaeche, LinesAreOnePixelWideAndIncludeBothEnds)
{
    BildFlaeche f;
    f.GroesseSetzen(QSize(100, 100));
    f.Scale(0, 0, 100, 100);
    f.Line(10.5f, 20.5f, 30.0f, 0.0f, 0);
    EXPECT_EQ(Gefaerbt(f.Image()), 31);
    EXPECT_EQ(f.Image().pixel(10, 20), qRgb(0, 0, 0));
    EXPECT_EQ(f.Image().pixel(40, 20), qRgb(0, 0, 0));

    f.Cls();
    const QImage vorher = f.Image();   // a copy handed out, as to an export, keeps what it had
    const Strich s{20.5f, 1.5f, 0.5f, 0.5f, 0};
    f.Striche({&s, 1});
    EXPECT_EQ(Gefaerbt(vorher), 0);
    EXPECT_EQ(Gefaerbt(f.Image()), 2);
    f.Line(0.5f, 0.5f, 9.0f, 9.0f, 0);
    EXPECT_EQ(Gefaerbt(f.Image()), 12) << "a diagonal has one pixel per column";
}

TEST(BildFlaeche, ClipsWhatLiesOutsideWithoutConvertingIt)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    BildFlaeche f;
    f.GroesseSetzen(QSize(100, 100));
    f.Scale(0, 0, 100, 100);

    f.PSet(1e30f, 5, 0);
    f.PSet(nan, 5, 0);
    f.PSet(-inf, 5, 0);
    f.Line(nan, 5, 1, 1, 0);
    f.Line(5, 5, inf, 0, 0);
    f.Line(-1e30f, 5, 1e25f, 0, 0);
    f.Line(200, 200, 50, 50, 0);
    EXPECT_EQ(Gefaerbt(f.Image()), 0);

    // A segment from far outside through the picture is cut to its visible part.
    f.Line(-3e38f, 50.5f, 3.4e38f, 0, 0);
    EXPECT_EQ(Gefaerbt(f.Image()), 100);
}

TEST(BildFlaeche, AStepDrawnAtOnceEqualsItsLinesAndPointsOneByOne)
{
    // Short strokes (the fast path), long ones, strokes across the edge,
    // far outside, NaN, and a mirrored section.
    std::vector<Strich> striche;
    uint64_t z = 99;
    auto zufall = [&z] {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        return float(double(z >> 11) * 0x1p-53);
    };
    for (int i = 0; i < 3000; ++i) {
        const float weite = i % 10 == 0 ? 0.5f : i % 10 == 1 ? 1e30f : 0.01f;
        striche.push_back({2.4f * zufall() - 1.2f, 2.4f * zufall() - 1.2f, weite * (zufall() - 0.5f),
                           weite * (zufall() - 0.5f), int32_t(zufall() * 0xFFFFFF)});
    }
    // Every short line from 0 to 6 pixels in each direction, with the start
    // anywhere inside its pixel.
    const float pixel = 2.0f / 653;
    for (int dx = -6; dx <= 6; ++dx)
        for (int dy = -6; dy <= 6; ++dy)
            for (int k = 0; k < 4; ++k)
                striche.push_back({0.3f + zufall() * pixel, -0.2f + zufall() * pixel, dx * pixel, dy * pixel,
                                   0x10000 * (k + 1) + 0x100 * (dx + 6) + (dy + 6)});
    striche.push_back({std::numeric_limits<float>::quiet_NaN(), 0, 0, 0, 0});
    striche.push_back({0, 0, std::numeric_limits<float>::infinity(), 0, 0x123456});

    // Sections whose width and height are powers of two (where the batch
    // multiplies by the reciprocal instead of dividing), mirrored or not,
    // and sections where one or both are not.
    const double abschnitte[][4] = {
        {-1, -1, 1, 1}, {1, -1, -1, 1}, {-0.5, 0.25, 0.5, -0.75}, {-1.3, -0.9, 1.1, 1.0}, {-1, -0.75, 1, 0.75},
    };
    for (const auto& a : abschnitte) {
        SCOPED_TRACE(::testing::Message() << "section " << a[0] << ", " << a[1] << " to " << a[2] << ", " << a[3]);
        Zwei z(QSize(653, 532), a[0], a[1], a[2], a[3]);
        z.Zeichnen(striche);
        EXPECT_EQ(z.zusammen.Image(), z.einzeln.Image());
        EXPECT_EQ(z.zusammen.GeaendertNehmen(), z.einzeln.GeaendertNehmen());
    }
}

TEST(BildFlaeche, StrokesOnPixelBordersLandWhereSingleCallsPutThem)
{
    // A section 3 wide: multiplying by 1/3 instead of dividing by 3 moves
    // some points just across a pixel border. Such points are searched for
    // and drawn as strokes going every way; the batch must put every pixel
    // where Line and PSet put it, and count the end pixels in the changed area.
    const double x1 = -1.5, breite = 3, bildBreite = 600;
    std::vector<Strich> striche;
    for (int k = 1; k < int(bildBreite) && striche.size() < 64; ++k) {
        float x = float(x1 + k * breite / bildBreite);
        for (int schritt = 0; schritt < 8; ++schritt, x = std::nextafter(x, 2.0f)) {
            const double geteilt = (double(x) - x1) / breite * bildBreite;
            const double malKehrwert = (double(x) - x1) * (1 / breite) * bildBreite;
            if (std::floor(geteilt) == std::floor(malKehrwert))
                continue;
            const float d = float(striche.size() % 3) * 0.005f - 0.005f;
            striche.push_back({x, x * 0.5f, d, -d, int32_t(0x123456 + striche.size())});
            striche.push_back({x + d, x * 0.5f, -d, d, int32_t(0x654321 + striche.size())});
        }
    }
    ASSERT_GE(striche.size(), 8u) << "no pixel borders found where the two ways differ";

    Zwei z(QSize(int(bildBreite), 600), x1, x1, x1 + breite, x1 + breite);
    z.Zeichnen(striche);
    EXPECT_EQ(z.zusammen.Image(), z.einzeln.Image());

    // One short stroke at a time, in each direction: the changed area holds both ends.
    for (const Strich& s : striche) {
        z.zusammen.GeaendertNehmen();
        z.einzeln.GeaendertNehmen();
        z.Zeichnen({&s, 1});
        ASSERT_EQ(z.zusammen.GeaendertNehmen(), z.einzeln.GeaendertNehmen()) << s.x << ", " << s.dx;
    }
}

// The section around all bodies: their extent with a tenth on every side,
// widened to the picture's shape; the cases that have no extent or no number.
TEST(AusschnittUmAlle, HoldsEveryBodyInThePicturesShape)
{
    const auto koerper = [](std::initializer_list<std::pair<double, double>> ae) {
        KoerperSatz satz;
        for (auto [x, y] : ae) {
            Koerper k;
            k.X = x * 1.5e11;
            k.Y = y * 1.5e11;
            satz.push_back(k);
        }
        return satz;
    };
    auto a = AusschnittUmAlle(koerper({{-1, 0}, {3, 2}}), 2.0);
    ASSERT_TRUE(a);
    EXPECT_DOUBLE_EQ(a->Breite, 4.8);
    EXPECT_DOUBLE_EQ(a->Hoehe, 2.4);
    EXPECT_DOUBLE_EQ(a->XOffset, 1.0);
    EXPECT_DOUBLE_EQ(a->YOffset, 1.0);
    a = AusschnittUmAlle(koerper({{0, -1}, {0, 1}}), 2.0);   // a vertical line: widened
    EXPECT_DOUBLE_EQ(a->Breite, 4.8);
    EXPECT_DOUBLE_EQ(a->Hoehe, 2.4);

    a = AusschnittUmAlle(koerper({{5, 5}, {5, 5}}), 1.0);
    EXPECT_DOUBLE_EQ(a->Breite, 2.0);
    EXPECT_DOUBLE_EQ(a->Hoehe, 2.0);
    EXPECT_DOUBLE_EQ(a->XOffset, 5.0);
    // Almost at one place: still a section the picture can resolve.
    a = AusschnittUmAlle(koerper({{1000, 0}, {1000 + 1e-12, 0}}), 1.0);
    ASSERT_TRUE(a);
    EXPECT_LT(float(a->XOffset - a->Breite / 2), float(a->XOffset + a->Breite / 2));

    EXPECT_FALSE(AusschnittUmAlle(koerper({{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}}), 1.0));
    EXPECT_FALSE(AusschnittUmAlle(koerper({{-1e300, 0}, {1e300, 0}}), 1.0)) << "the extent overflows";
    EXPECT_FALSE(AusschnittUmAlle(koerper({{1e39, 0}}), 1.0)) << "beyond the picture's single precision";
}

// n notches in and n out about any point give the section back; the point
// stays put meanwhile; the wheel's fine steps add up to notches.
TEST(Ausschnittwechsel, ZoomAboutAPointComesBackAndKeepsThePointInPlace)
{
    const Ausschnitt anfaenge[] = {{2, 2, 0, 0}, {0.08, 0.32, 0.972, 0.155}, {-4, 3e5, 1e3, -7}};   // mirrored and off-centre
    const std::pair<double, double> stellen[] = {{0.5, 0.5}, {0, 0}, {1, 1}, {0.25, 0.8}};
    for (const Ausschnitt& start : anfaenge)
        for (auto [ux, uy] : stellen)
            for (int n : {1, 7, 30}) {
                const double px = start.XOffset + (ux - 0.5) * start.Breite;
                const double py = start.YOffset + (uy - 0.5) * start.Hoehe;
                Ausschnitt a = start;
                for (int i = 0; i < n; ++i)
                    a = Gezoomt(a, 1, ux, uy);
                EXPECT_NEAR(a.Breite, start.Breite / std::pow(1.25, n), 1e-12 * std::abs(a.Breite)) << n;
                EXPECT_NEAR(a.XOffset + (ux - 0.5) * a.Breite, px, 1e-12 * std::max(std::abs(px), std::abs(start.Breite)));
                EXPECT_NEAR(a.YOffset + (uy - 0.5) * a.Hoehe, py, 1e-12 * std::max(std::abs(py), std::abs(start.Hoehe)));
                a = Gezoomt(a, -n, ux, uy);   // one event of n notches
                EXPECT_NEAR(a.Breite, start.Breite, 1e-12 * std::abs(start.Breite)) << n << " " << ux;
                EXPECT_NEAR(a.Hoehe, start.Hoehe, 1e-12 * std::abs(start.Hoehe));
                EXPECT_NEAR(a.XOffset, start.XOffset, 1e-12 * std::max(std::abs(start.XOffset), std::abs(start.Breite)));
                EXPECT_NEAR(a.YOffset, start.YOffset, 1e-12 * std::max(std::abs(start.YOffset), std::abs(start.Hoehe)));
            }

    int rest = 0;
    int rasten = 0;
    for (int i = 0; i < 7; ++i)
        rasten += RastenNehmen(rest, 15);
    EXPECT_EQ(rasten, 0);
    EXPECT_EQ(RastenNehmen(rest, 15), 1) << "eight fine steps of 15 make a notch";
    EXPECT_EQ(RastenNehmen(rest, -119), 0);
    EXPECT_EQ(RastenNehmen(rest, -1), -1);
    EXPECT_EQ(RastenNehmen(rest, 250), 2);
    EXPECT_EQ(rest, 10);
}

// At a limit nothing happens; a section typed beyond the limits may come back.
TEST(Ausschnittwechsel, LimitsStopZoomAndMoveQuietly)
{
    const Ausschnitt gross{1e6, 1e6, 0, 0};
    EXPECT_EQ(Gezoomt(gross, -1, 0.3, 0.3), gross);
    EXPECT_EQ(Gezoomt(gross, 1, 0.5, 0.5).Breite, 8e5);
    const Ausschnitt klein{1.2e-6, 1, 0, 0};
    EXPECT_EQ(Gezoomt(klein, 1, 0.5, 0.5), klein) << "1.2e-6 / 1.25 is below 1e-6";
    EXPECT_EQ(Gezoomt(klein, 5, 0.5, 0.5), klein);
    // A hundred notches out from 2 AE end at the last size below the limit.
    EXPECT_DOUBLE_EQ(Gezoomt(Ausschnitt{2, 2, 0, 0}, -100, 0, 0).Breite, 2 * std::pow(1.25, 58));
    const Ausschnitt getippt{1e7, 2e-7, 0, 0};
    EXPECT_EQ(Gezoomt(getippt, 1, 0.5, 0.5), getippt) << "the height would shrink further below its limit";
    EXPECT_EQ(Gezoomt(Ausschnitt{1e7, 1, 0, 0}, 1, 0.5, 0.5).Breite, 8e6);

    // Far out, the picture's single-precision edges must stay apart.
    const Ausschnitt fern{1e4, 1e4, 1e8, 0};
    const Ausschnitt a = Gezoomt(fern, 1000, 0.5, 0.5);
    EXPECT_LT(float(a.XOffset - a.Breite / 2), float(a.XOffset + a.Breite / 2));
    EXPECT_GT(a.Breite, 8.0) << "a float step at 1e8 is 8";

    // A drag stops at the offset limit in its own direction only.
    const Ausschnitt rand{1e6, 1e6, 9.99e8, 0};
    const Ausschnitt gezogen = Gezogen(rand, -100, -10, 100, 100);
    EXPECT_EQ(gezogen.XOffset, 1e9);
    EXPECT_EQ(gezogen.YOffset, 1e5);
    EXPECT_EQ(Gezogen(gezogen, 50, 0, 100, 100).XOffset, 1e9 - 5e5) << "and comes back";
    EXPECT_EQ(Gezogen(Ausschnitt{2, 2, 0, 0}, 1, 1, 0, 0).XOffset, -2.0) << "a picture of no pixels counts as one";
    EXPECT_EQ(Verschoben(Ausschnitt{2, 4, 1, 1}, 0.1, -0.1), (Ausschnitt{2, 4, 1.2, 0.6}));
    const Ausschnitt riesig{1e308, 1e308, 0, 0};
    EXPECT_EQ(Gezogen(riesig, 1000, 0, 10, 10), riesig) << "an overflow sets nothing";
}

// The grid finds what a look at every dot finds: the one drawn last on top,
// and how many lie under the point, also at the grid's edges and far away.
TEST(Trefferraster, FindsTheTopmostDotAndCountsThoseUnderThePoint)
{
    std::mt19937 zufall(32767);
    for (const double r : {4.5, 8.0, 1.0}) {
        std::vector<Trefferraster::Mittelpunkt> punkte;
        for (int i = 0; i < 3000; ++i)
            punkte.push_back({int32_t(zufall() % 400) - 20, int32_t(zufall() % 300) - 20});
        punkte.push_back(punkte[17]);   // two on one pixel: the later one is on top
        Trefferraster raster;
        raster.Aufbauen(punkte, r);
        for (int i = 0; i < 2000; ++i) {
            const double x = double(int(zufall() % 5000)) / 10 - 40, y = double(int(zufall() % 4000)) / 10 - 40;
            std::size_t anzahl = 0, oben = 0;
            for (std::size_t k = 0; k < punkte.size(); ++k) {
                const double dx = punkte[k].x + 0.5 - x, dy = punkte[k].y + 0.5 - y;
                if (dx * dx + dy * dy <= r * r)
                    ++anzahl, oben = k;
            }
            const Trefferraster::Treffer t = raster.Bei(x, y);
            ASSERT_EQ(t.anzahl, anzahl) << x << ", " << y;
            if (anzahl > 0) {
                ASSERT_EQ(t.rang, oben) << x << ", " << y;
            }
        }
        const Trefferraster::Treffer t = raster.Bei(punkte[17].x + 0.5, punkte[17].y + 0.5);
        EXPECT_EQ(t.rang, punkte.size() - 1);
        EXPECT_GE(t.anzahl, 2u);
        EXPECT_EQ(raster.Bei(1e300, -1e300).anzahl, 0u);
        EXPECT_EQ(raster.Bei(std::nan(""), 0).anzahl, 0u);
    }
}
