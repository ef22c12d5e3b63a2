// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/aufbau.h"
#include "sim/bearbeitung.h"
#include "sim/berechnung.h"
#include "support/koerperbau.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr double AE = 1.5e11;

KoerperSatz SonneErde()
{
    return {NeuerKoerper(QStringLiteral("Sonne"), 332950, 0, 0, 0, 0, 0x00FFFF),
            NeuerKoerper(QStringLiteral("Erde"), 1, AE, 0, 29780, 90, 0xFF0000)};
}

double Relativ(double a, double b)
{
    return std::abs(a - b) / std::max(std::abs(b), 1e-300);
}
}  // namespace

// Taken as the start mid-run, the bodies keep their speeds and directions,
// and a run from there continues the old one.
TEST(Bearbeitung, AStateMidRunTakenAsTheStartContinuesTheRun)
{
    ModPlavo mod;
    // Massless bodies keep their motion: the start must give it back.
    mod.KoerperStart = {NeuerKoerper(QStringLiteral("A"), 0, 1e9, 2e9, 12345.678, 33.3, 1),
                        NeuerKoerper(QStringLiteral("B"), 0, -4e10, 0, 0.25, 271.5, 2),
                        NeuerKoerper(QStringLiteral("C"), 0, 0, 7e10, 3e4, 180, 3)};
    for (const double intervall : {2.0, 0.37, -1.5}) {
        SCOPED_TRACE(intervall);
        mod.Intervall = intervall;
        Laufstand alt;
        ASSERT_EQ(KoerperSimAufbauen(mod, alt), KeinFehler);
        Rechenwerk werk;
        for (int s = 0; s < 37; ++s)
            ASSERT_EQ(werk.Schritt(alt).fehler, KeinFehler);
        const auto start = AlsStartzustand(alt.KoerperSim, intervall);
        ASSERT_TRUE(start);
        for (std::size_t i = 0; i < start->size(); ++i) {
            const Koerper& soll = mod.KoerperStart[i];
            const Koerper& ist = (*start)[i];
            EXPECT_LT(Relativ(std::abs(ist.Geschwindigkeit), soll.Geschwindigkeit), 1e-12) << i;
            const double richtung = intervall < 0 ? std::fmod(soll.Richtung + 180, 360) : soll.Richtung;
            EXPECT_LT(Relativ(ist.Richtung, richtung), 1e-12) << i;
            EXPECT_GE(ist.Richtung, 0);
            EXPECT_LT(ist.Richtung, 360);
            EXPECT_EQ(ist.X, alt.KoerperSim[i].X);
            EXPECT_EQ(ist.Name, soll.Name);
        }
    }

    // Under gravity: a new run from the state at step 40 continues the old one.
    mod.KoerperStart = SonneErde();
    mod.KoerperStart.push_back(NeuerKoerper(QStringLiteral("Mond"), 0.0123, AE + 3.84e8, 0, 29780 + 1022, 90, 4));
    mod.Intervall = 0.25;
    Laufstand alt;
    ASSERT_EQ(KoerperSimAufbauen(mod, alt), KeinFehler);
    Rechenwerk werk;
    for (int s = 0; s < 40; ++s)
        ASSERT_EQ(werk.Schritt(alt).fehler, KeinFehler);
    Laufstand neu;
    ASSERT_EQ(KoerperSimAufbauen(*AlsStartzustand(alt.KoerperSim, 0.25), 0.25, neu), KeinFehler);
    for (int s = 0; s < 200; ++s) {
        ASSERT_EQ(werk.Schritt(alt).fehler, KeinFehler);
        ASSERT_EQ(werk.Schritt(neu).fehler, KeinFehler);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        // The Moon's place about the Earth is the sensitive one: metres out of 1.5e11.
        EXPECT_NEAR(neu.KoerperSim[i].X, alt.KoerperSim[i].X, 1e-9 * AE) << i;
        EXPECT_NEAR(neu.KoerperSim[i].Y, alt.KoerperSim[i].Y, 1e-9 * AE) << i;
    }
}

// A body put in beside a planet goes round it on a circle; the momentum set
// to zero makes the centre of mass rest; accelerations are the step's.
TEST(Bearbeitung, InsertedBodiesCircleTheBodyThatPullsHardestAndMomentumGoesToZero)
{
    for (const bool arbeitssatz : {false, true}) {
        SCOPED_TRACE(arbeitssatz ? "the run's set" : "the document's set");
        const Bewegungsart art{arbeitssatz, 0.02};
        Laufstand stand;
        ASSERT_EQ(KoerperSimAufbauen(SonneErde(), art.intervall, stand), KeinFehler);
        KoerperSatz satz = arbeitssatz ? stand.KoerperSim : SonneErde();

        // Next to the Earth, the Earth pulls hardest; the satellite goes its way round.
        const Vektor ort{AE + 2e8, 0};
        ASSERT_EQ(StaerksterZug(satz, ort), std::optional<std::size_t>(1));
        const Koerper k = EinzufuegenderKoerper(satz, ort, art);
        EXPECT_EQ(k.NameText().trimmed(), QStringLiteral("Körper 3"));
        EXPECT_EQ(k.Masse, 1);
        EXPECT_EQ(k.Farbe, Farbpalette()[0]);
        const Vektor v = Geschwindigkeit(k, art), ve = Geschwindigkeit(satz[1], art);
        EXPECT_NEAR(std::hypot(v.x - ve.x, v.y - ve.y), std::sqrt(GravitationsParameter * 2 / 2e8), 1e-9);
        EXPECT_GT(v.y - ve.y, 0) << "the Sun goes round the Earth from +x towards +y, as seen from the Earth";
        satz.push_back(k);
        EXPECT_EQ(NaechsteFarbe(satz), Farbpalette()[1]);
        EXPECT_EQ(NeuerKoerpername(satz), QStringLiteral("Körper 4"));

        // Its distance from the Earth stays within 2 % over two turns.
        if (arbeitssatz) {
            Laufstand lauf{satz, 0, art.intervall};
            Rechenwerk werk;
            double naechster = 1e300, fernster = 0;
            for (int s = 0; s < 2 * 365; ++s) {
                ASSERT_EQ(werk.Schritt(lauf).fehler, KeinFehler);
                const double r = std::hypot(lauf.KoerperSim[2].X - lauf.KoerperSim[1].X,
                                            lauf.KoerperSim[2].Y - lauf.KoerperSim[1].Y);
                naechster = std::min(naechster, r);
                fernster = std::max(fernster, r);
            }
            EXPECT_GT(naechster, 0.98 * 2e8);
            EXPECT_LT(fernster, 1.02 * 2e8);
        }

        ASSERT_TRUE(ImpulsNullSetzen(satz, art));
        double px = 0, py = 0, p = 0;
        for (const Koerper& b : satz) {
            const Vektor vb = Geschwindigkeit(b, art);
            px += b.Masse * vb.x;
            py += b.Masse * vb.y;
            p += std::abs(b.Masse * std::hypot(vb.x, vb.y));
        }
        EXPECT_LT(std::hypot(px, py), 1e-12 * p);
    }

    // Where nothing pulls, a new body rests.
    KoerperSatz leer{Koerper{}};
    const Koerper ruhend = EinzufuegenderKoerper(leer, {1, 2}, {});
    EXPECT_EQ(ruhend.Geschwindigkeit, 0);

    std::vector<double> ax, ay;
    ASSERT_EQ(Beschleunigungen(SonneErde(), ax, ay), KeinFehler);
    EXPECT_NEAR(ax[1], -GravitationsParameter * 332950 / (AE * AE), 1e-15);
    EXPECT_EQ(ay[1], 0);
}
