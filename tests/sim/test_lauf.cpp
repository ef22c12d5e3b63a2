#include "sim/aufbau.h"
#include "sim/lauf.h"
#include "support/koerperbau.h"
#include "view/bildflaeche.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A sun, an earth and a third body whose trails cross a 2 x 2 AE section quickly.
KoerperSatz DreiKoerper()
{
    const double r = 0.75e11;
    return {NeuerKoerper(QStringLiteral("S"), 332950, 0, 0, 0, 0, 0x0080FF),
            NeuerKoerper(QStringLiteral("E"), 1, r, 0, std::sqrt(3.986659e14 * 332950 / r), 90, 0xFF0000),
            NeuerKoerper(QStringLiteral("K"), 0.1, -0.5e11, 0.3e11, 3e4, 200, 0x00AA00)};
}

struct Laufprobe : ::testing::Test {
    ModPlavo mod;
    BildFlaeche bild;

    void SetUp() override
    {
        mod.KoerperStart = DreiKoerper();
        mod.Intervall = 2;
        bild.GroesseSetzen(QSize(200, 150));
    }
    // What a redraw must show and leave: the document set built afresh and n
    // steps computed one by one.
    std::pair<QImage, KoerperSatz> Voll(int32_t n, double breite)
    {
        ModPlavo m;
        m.KoerperStart = mod.KoerperStart;
        m.Intervall = mod.Intervall;
        EXPECT_EQ(KoerperSimAufbauen(m), KeinFehler);
        BildFlaeche f;
        f.GroesseSetzen(bild.Groesse());
        f.Scale(-breite / 2, -1, breite / 2, 1);
        Rechenwerk werk;
        for (int32_t z = 0; z < n;)
            EXPECT_EQ(werk.Schritt(m.KoerperSim, m.Intervall, z, f), KeinFehler);
        return {f.Image().copy(), m.KoerperSim};
    }
    // A redraw in slices of one piece each, on a section `breite` AE wide.
    void Neuzeichnen(Lauf& lauf, double breite)
    {
        bild.Cls();
        bild.Scale(-breite / 2, -1, breite / 2, 1);
        lauf.NeuzeichnenBeginnen();
        while (lauf.NeuzeichnenArbeiten(bild, Lauf::Uhr::now()) != Lauf::Neuzeichnungsstand::Fertig)
            lauf.ArbeiterAbwarten();
    }
    void ErwarteVoll(Lauf& lauf, double breite, const char* was)
    {
        const auto [soll, sim] = Voll(lauf.Schrittzahl(), breite);
        EXPECT_TRUE(bild.Image() == soll) << was;
        EXPECT_TRUE(BitGleich(mod.KoerperSim, sim)) << was;
    }
};

}  // namespace

TEST_F(Laufprobe, ARedrawEqualsAFullReplayFromKeptStrokesBeyondTheBudgetAndOnTheWorker)
{
    for (bool nebenlaeufig : {false, true}) {
        SCOPED_TRACE(nebenlaeufig ? "steps on the worker" : "steps here");
        Lauf lauf(mod, 4096);   // keeps a few dozen steps, the rest is computed
        lauf.NebenlaeufigAbSetzen(nebenlaeufig ? 0 : 1000000);
        ASSERT_EQ(lauf.Starten(), KeinFehler);
        for (int i = 0; i < 150; ++i)
            ASSERT_EQ(lauf.Schritt(bild), KeinFehler);
        EXPECT_GT(lauf.Speicher().Schritte(), 10);
        EXPECT_LT(lauf.Speicher().Schritte(), 150);
        Neuzeichnen(lauf, 3);
        EXPECT_EQ(lauf.Schrittzahl(), 150);
        ErwarteVoll(lauf, 3, "redraw");

        // A step in flight when the redraw begins is replayed too, and its
        // result taken where it fits: nothing is computed twice or lost.
        ASSERT_TRUE(lauf.SchrittAbgeben());
        Neuzeichnen(lauf, 2);
        EXPECT_EQ(lauf.Schrittzahl(), 151);
        EXPECT_FALSE(lauf.SchrittUnterwegs());
        ErwarteVoll(lauf, 2, "step in flight");
    }
}

TEST_F(Laufprobe, ResetOpenAndANewIntervalDuringAReplay)
{
    Lauf lauf(mod, 0);   // nothing kept: every redraw computes
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(lauf.Schritt(bild), KeinFehler);

    // A new interval while a replay runs: the replay finishes the old run,
    // the next redraw replays every step at the new one.
    lauf.NeuzeichnenBeginnen();
    ASSERT_EQ(lauf.NeuzeichnenArbeiten(bild, Lauf::Uhr::now()), Lauf::Neuzeichnungsstand::Weiter);
    mod.Intervall = 1;
    lauf.DokumentGeaendert();
    EXPECT_TRUE(lauf.NeuzeichnungLaeuft());
    Neuzeichnen(lauf, 2);
    EXPECT_EQ(lauf.Schrittzahl(), 40);
    ErwarteVoll(lauf, 2, "new interval");

    // Zurücksetzen ends a replay and drops a step in flight.
    lauf.NeuzeichnenBeginnen();
    lauf.NeuzeichnenArbeiten(bild, Lauf::Uhr::now());
    lauf.Zuruecksetzen();
    EXPECT_FALSE(lauf.NeuzeichnungLaeuft());
    EXPECT_EQ(lauf.Schrittzahl(), 0);
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    ASSERT_TRUE(lauf.SchrittAbgeben());
    lauf.Zuruecksetzen();
    EXPECT_EQ(lauf.SchrittAbwarten(bild).art, Lauf::Uebernahme::Verworfen);
    EXPECT_EQ(lauf.Schrittzahl(), 0);

    // A loaded document ends a replay too, and its working set is built at once.
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(lauf.Schritt(bild), KeinFehler);
    lauf.NeuzeichnenBeginnen();
    const KoerperSatz drei = DreiKoerper();
    mod.KoerperStart.assign(drei.begin(), drei.begin() + 2);
    EXPECT_EQ(lauf.DokumentGeladen(), KeinFehler);
    EXPECT_FALSE(lauf.NeuzeichnungLaeuft());
    EXPECT_EQ(lauf.Schrittzahl(), 0);
    ModPlavo gebaut;
    gebaut.KoerperStart = mod.KoerperStart;
    gebaut.Intervall = mod.Intervall;
    ASSERT_EQ(KoerperSimAufbauen(gebaut), KeinFehler);
    EXPECT_TRUE(BitGleich(mod.KoerperSim, gebaut.KoerperSim));
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(lauf.Schritt(bild), KeinFehler);
    Neuzeichnen(lauf, 2);
    ErwarteVoll(lauf, 2, "opened");
}
