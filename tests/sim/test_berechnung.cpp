// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "sim/energiebilanz.h"
#include "mainwindow/titel.h"
#include "sim/kernwahl.h"
#include "support/koerperbau.h"
#include "view/bildflaeche.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

Koerper Ruhend(double masse, double x, double y, int32_t farbe = 0)
{
    Koerper k;
    k.Masse = masse;
    k.X = x;
    k.Y = y;
    k.Farbe = farbe;
    return k;
}

// Mass 3 at (5, -6), green, moving at v m/s in direction `richtung`.
Koerper Bewegt(double v, double richtung)
{
    return NeuerKoerper(QStringLiteral("K"), 3, 5, -6, v, richtung, 0x00FF00);
}

struct Probe {
    Laufstand stand;
    QString dateiName;
    Rechenwerk werk;
    std::vector<Strich> striche;   // every stroke the steps gave back, in order
    QString titel;

    unsigned Schritt()
    {
        // The step as the window takes it: the caption only after a step that went through.
        const Schrittergebnis e = werk.Schritt(stand);
        striche.insert(striche.end(), e.striche.begin(), e.striche.end());
        if (e.fehler == KeinFehler)
            titel = TitelText(stand.Schrittzahl, stand.Intervall, dateiName);
        return e.fehler;
    }
};

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

TEST(Berechnung, TwoBodiesHandCheckable)
{
    Probe l;
    l.stand.Intervall = 1;
    const double d = 1e9;
    l.stand.KoerperSim = {Ruhend(1, 0, 0), Ruhend(0, d, 0, 0xFF)};
    ASSERT_EQ(l.Schritt(), KeinFehler);

    const double K = 86400.0 * 86400.0 * 3.986659e14;
    const Koerper& b = l.stand.KoerperSim[1];
    EXPECT_EQ(b.Vx(), -K / (d * d));
    EXPECT_EQ(b.X, d - K / (d * d));
    EXPECT_EQ(b.Vy(), 0.0);
    EXPECT_EQ(b.Y, 0.0);
    EXPECT_EQ(l.stand.KoerperSim[0], Ruhend(1, 0, 0)) << "a massless body pulls nothing";

    // Body A: a stroke of zero length at the origin; then B's, from where it was.
    ASSERT_EQ(l.striche.size(), 2u);
    EXPECT_EQ(l.striche[0].x, 0.0f);
    EXPECT_EQ(l.striche[0].dx, 0.0f);
    const Strich& strichB = l.striche[1];
    EXPECT_EQ(strichB.x, float(d / 1.5e11));
    EXPECT_EQ(strichB.y, 0.0f);
    EXPECT_EQ(strichB.dx, float((-K / (d * d)) / 1.5e11));
    EXPECT_EQ(strichB.farbe, 0xFF);
    EXPECT_EQ(l.stand.Schrittzahl, 1);
}

TEST(Berechnung, SingleBodyDrawsAStraightTrail)
{
    Probe l;
    Koerper k = Ruhend(5, 0, 0);
    k.Geschwindigkeit = 1000;
    k.Richtung = 0;
    ASSERT_EQ(KoerperSimAufbauen({k}, 2, l.stand), KeinFehler);
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(l.Schritt(), KeinFehler);
    EXPECT_EQ(l.stand.KoerperSim[0].X, 10 * (2 * 86400 * 1000.0));
    EXPECT_EQ(l.stand.KoerperSim[0].Y, 0.0);
    ASSERT_EQ(l.striche.size(), 10u);
    for (const Strich& z : l.striche)
        EXPECT_TRUE(z.y == 0.0f && z.dy == 0.0f);
}

TEST(Berechnung, CoincidentBodiesIgnoreEachOtherButFeelTheRest)
{
    Probe l;
    l.stand.KoerperSim = {Ruhend(1, 0, 0), Ruhend(1, 0, 0), Ruhend(1, 1e10, 0)};
    ASSERT_EQ(l.Schritt(), KeinFehler);
    EXPECT_GT(l.stand.KoerperSim[0].Vx(), 0.0);
    EXPECT_EQ(l.stand.KoerperSim[0].Vx(), l.stand.KoerperSim[1].Vx());
    EXPECT_EQ(l.stand.KoerperSim[0].Vy(), 0.0);
}

TEST(Berechnung, AFaultingStepChangesNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const KoerperSatz schlechte[] = {
        {Ruhend(1, 0, 0), Ruhend(nan, 1e9, 0)},        // NaN mass
        {Ruhend(1, inf, 0), Ruhend(1, 1e9, 0)},        // infinite position
        {Ruhend(1, 0, 0), Ruhend(1, 1e-110, 0)},       // r cubed underflows: division by zero
        {Ruhend(1e300, 0, 0), Ruhend(1, 1e9, 0)},      // the pull overflows
        {Ruhend(1, 0, 0), Ruhend(1, 1e200, 0)},        // r cubed overflows
    };
    for (const KoerperSatz& satz : schlechte) {
        Probe l;
        l.stand.KoerperSim = satz;
        l.stand.Schrittzahl = 41;
        const Laufstand vorher = l.stand;
        l.titel = QStringLiteral("vorher");
        EXPECT_NE(l.Schritt(), KeinFehler);
        EXPECT_TRUE(BitGleich(l.stand, vorher));
        EXPECT_TRUE(l.striche.empty()) << "nothing to draw";
        EXPECT_EQ(l.titel, QStringLiteral("vorher"));
    }

    Probe voll;
    voll.stand.Schrittzahl = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(voll.Schritt(), FehlerZaehlerUeberlauf);
    EXPECT_EQ(voll.stand.Schrittzahl, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(voll.striche.empty());
}

TEST(Berechnung, ABodyBeyondTheDrawableRangeIsNoFault)
{
    // 1e300 m is far beyond single precision in AE: the narrowing for the
    // drawing overflows, which is left to the surface's clipping.
    Probe l;
    l.stand.KoerperSim = {Ruhend(1, 1e300, 0)};
    ASSERT_EQ(l.Schritt(), KeinFehler);
    EXPECT_EQ(l.stand.Schrittzahl, 1);
    ASSERT_EQ(l.striche.size(), 1u);
    EXPECT_EQ(l.striche[0].x, std::numeric_limits<float>::infinity());
}

TEST(Berechnung, CaptionCountsTheDays)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TitelText(1, 2.0, QString()), QStringLiteral("Plavo - 2 Tage"));
    EXPECT_EQ(TitelText(10, 2.0, QStringLiteral("/home/anna/Daten/Sonne.plv")),
              QStringLiteral("Plavo - [Sonne.plv] - 20 Tage"));
    EXPECT_EQ(TitelText(3, 0.5, QStringLiteral("Sonne.plv")), QStringLiteral("Plavo - [Sonne.plv] - 1,5 Tage"));
    EXPECT_EQ(TitelText(3, -2.0, QStringLiteral("/tmp/")), QStringLiteral("Plavo - [] - -6 Tage"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(TitelText(3, 0.5, QString()), QStringLiteral("Plavo - 1.5 Tage"));

    Probe l;
    l.dateiName = QStringLiteral("/x/Erde.plv");
    l.stand.Intervall = 0.5;
    ASSERT_EQ(l.Schritt(), KeinFehler);
    ASSERT_EQ(l.Schritt(), KeinFehler);
    EXPECT_EQ(l.titel, QStringLiteral("Plavo - [Erde.plv] - 1 Tage"));
}

TEST(Berechnung, EnergyBalanceOfACircularPair)
{
    // The Sun and the Earth 1 AE apart, both circling their centre of mass at
    // the origin: E = -G M m / (2 r), no momentum, L = M m r v / (M + m).
    const double G = 6.67e-11, kg = 5.977e24;
    const double M = 332950, m = 1, Mt = M + m, r = 1.5e11;
    const double v = std::sqrt(GravitationsParameter * Mt / r);   // speed of one relative to the other
    const KoerperSatz start = {NeuerKoerper(QStringLiteral("Sonne"), M, -r * m / Mt, 0, v * m / Mt, 270, 0),
                               NeuerKoerper(QStringLiteral("Erde"), m, r * M / Mt, 0, v * M / Mt, 90, 0)};
    const Energiebilanz b = StartbilanzBerechnen(start, 0.5);
    const double gesamt = -G * (M * kg) * (m * kg) / (2 * r);
    EXPECT_NEAR(b.Gesamt, gesamt, 1e-12 * std::abs(gesamt));
    EXPECT_NEAR(b.Potentiell, 2 * gesamt, 1e-12 * std::abs(gesamt));
    EXPECT_NEAR(b.Kinetisch, -gesamt, 1e-12 * std::abs(gesamt));
    const double pEinzeln = kg * M * m * v / Mt;   // each body's momentum, opposite ways
    EXPECT_NEAR(b.ImpulsX, 0, 1e-12 * pEinzeln);
    EXPECT_NEAR(b.ImpulsY, 0, 1e-12 * pEinzeln);
    const double L = kg * M * m * r * v / Mt;
    EXPECT_NEAR(b.Drehimpuls, L, 1e-12 * L) << "positive: clockwise on the screen";

    // The same pair drifting as a whole at (u, w) m/s, from the working set at
    // 2 days per step: the momentum is the whole mass times the drift, and the
    // drift's kinetic energy adds on.
    Laufstand mod;
    ASSERT_EQ(KoerperSimAufbauen(start, 2, mod), KeinFehler);
    const double u = 3000, w = -4000, dt = 2 * 86400.0;
    for (Koerper& k : mod.KoerperSim) {
        k.Vx() += u * dt;
        k.Vy() += w * dt;
    }
    const Energiebilanz d = EnergiebilanzBerechnen(mod.KoerperSim, 2);
    EXPECT_NEAR(d.ImpulsX, kg * Mt * u, 1e-12 * kg * Mt * u);
    EXPECT_NEAR(d.ImpulsY, kg * Mt * w, 1e-12 * kg * Mt * -w);
    EXPECT_NEAR(d.Kinetisch, b.Kinetisch + 0.5 * kg * Mt * (u * u + w * w), 1e-12 * d.Kinetisch);
    EXPECT_EQ(d.Potentiell, b.Potentiell);

    // After one step the relative change is small but not zero; a system
    // without energy has no relative change, and bodies at one place are left
    // out as the step leaves them out, instead of an infinite energy.
    Laufstand lauf;
    ASSERT_EQ(KoerperSimAufbauen(start, 0.5, lauf), KeinFehler);
    Rechenwerk werk;
    ASSERT_EQ(werk.Schritt(lauf).fehler, KeinFehler);
    const double aenderung = RelativeAenderung(EnergiebilanzBerechnen(lauf.KoerperSim, 0.5).Gesamt, b.Gesamt);
    EXPECT_GT(std::abs(aenderung), 0);
    EXPECT_LT(std::abs(aenderung), 1e-3);
    EXPECT_TRUE(std::isnan(RelativeAenderung(0, 0)));
    const KoerperSatz aufEinemPunkt = {NeuerKoerper(QString(), 1, 5, 5, 0, 0, 0),
                                       NeuerKoerper(QString(), 1, 5, 5, 0, 0, 0)};
    const Energiebilanz p = StartbilanzBerechnen(aufEinemPunkt, 2);
    EXPECT_TRUE(p.Endlich());
    EXPECT_EQ(p.Gesamt, 0);
    // At 0 days per step the bodies have no speed to speak of: no number rather than 0 J.
    const Energiebilanz ohneZeit = EnergiebilanzBerechnen(mod.KoerperSim, 0);
    EXPECT_TRUE(std::isnan(ohneZeit.Kinetisch) && std::isnan(ohneZeit.Gesamt) && std::isnan(ohneZeit.Drehimpuls));
    EXPECT_EQ(ohneZeit.Potentiell, b.Potentiell);
}

TEST(Berechnung, EnergyPairSumOfEveryKernelIsThePlainSumBitForBit)
{
    // The plain sum over pairs, as a reader would write it.
    const auto schlicht = [](const KoerperSatz& s) {
        double p = 0;
        for (size_t i = 0; i + 1 < s.size(); ++i) {
            double summe = 0;
            for (size_t j = i + 1; j < s.size(); ++j) {
                const double dx = s[j].X - s[i].X, dy = s[j].Y - s[i].Y;
                const double r = std::sqrt(dx * dx + dy * dy);
                if (r > 0)
                    summe += s[j].Masse / r;
            }
            p -= GravitationsParameter * KilogrammProMasse * s[i].Masse * summe;
        }
        return p;
    };
    const auto bits = [](double d) {
        uint64_t u;
        std::memcpy(&u, &d, sizeof u);
        return u;
    };
    uint64_t z = 12345;
    const auto zufall = [&z] {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        return double(z >> 11) * 0x1p-53;
    };
    // Sizes around the vector widths, bodies scattered over ten orders of
    // magnitude of distance, masses of either sign, and bodies on the same
    // place as others (including neighbours within one vector group).
    for (size_t n : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 301}) {
        KoerperSatz s(n);
        for (size_t i = 0; i < n; ++i) {
            s[i].X = (zufall() - 0.5) * std::pow(10.0, 2 + 10 * zufall());
            s[i].Y = (zufall() - 0.5) * std::pow(10.0, 2 + 10 * zufall());
            s[i].Masse = (zufall() - 0.2) * std::pow(10.0, 6 * zufall());
            s[i].Vx() = zufall() * 1e9;
            if (i % 5 == 3 || (i > 0 && i % 7 == 1))
                s[i].X = s[i - (i % 5 == 3 ? 3 : 1)].X, s[i].Y = s[i - (i % 5 == 3 ? 3 : 1)].Y;
        }
        const double erwartet = schlicht(s);
        for (Befehlssatz satz : {Befehlssatz::Skalar, Befehlssatz::Avx2, Befehlssatz::Avx512, Befehlssatz::Automatisch}) {
            if (!BefehlssatzVerfuegbar(satz))
                continue;
            const Energiebilanz b = EnergiebilanzBerechnen(s, 2, satz);
            EXPECT_EQ(bits(b.Potentiell), bits(erwartet)) << n << " bodies, set " << int(satz);
            EXPECT_EQ(bits(b.Gesamt), bits(b.Kinetisch + erwartet)) << n << " bodies, set " << int(satz);
        }
    }

    // A computation called off gives no number that could pass for a result.
    const std::atomic<bool> abbrechen{true};
    EXPECT_TRUE(std::isnan(EnergiebilanzBerechnen(KoerperSatz(100), 2, Befehlssatz::Automatisch, &abbrechen).Gesamt));
}

// A step and its drawing allocate nothing once the working arrays have
// grown to the number of bodies: the replay of a long run must not touch the
// heap per step or per body. Counted by replacing the global operator new
// for this test program.
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
