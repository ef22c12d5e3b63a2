#include "sim/aufbau.h"
#include "sim/lauf.h"
#include "support/koerperbau.h"
#include "view/bildflaeche.h"
#include "view/laufbild.h"

#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <vector>

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
    Arbeiter arbeiter;
    BildFlaeche bild;   // drawn as the window's picture is, by a LaufBild

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
        Laufstand s;
        EXPECT_EQ(KoerperSimAufbauen(mod, s), KeinFehler);
        BildFlaeche f;
        f.GroesseSetzen(bild.Groesse());
        f.Scale(-breite / 2, -1, breite / 2, 1);
        Rechenwerk werk;
        while (s.Schrittzahl < n) {
            const Schrittergebnis e = werk.Schritt(s);
            EXPECT_EQ(e.fehler, KeinFehler);
            f.Striche(e.striche);
        }
        return {f.Image().copy(), s.KoerperSim};
    }
    // A redraw in slices of one piece each, on a section `breite` AE wide.
    void Neuzeichnen(Lauf& lauf, double breite)
    {
        bild.Scale(-breite / 2, -1, breite / 2, 1);
        lauf.NeuzeichnenBeginnen();
        while (lauf.NeuzeichnenArbeiten(Lauf::Uhr::now()) != Lauf::Neuzeichnungsstand::Fertig)
            lauf.ArbeiterAbwarten();
    }
    void ErwarteVoll(Lauf& lauf, double breite, const char* was)
    {
        const auto [soll, sim] = Voll(lauf.Schrittzahl(), breite);
        EXPECT_TRUE(bild.Image() == soll) << was;
        EXPECT_TRUE(BitGleich(lauf.Stand().KoerperSim, sim)) << was;
    }
};

}  // namespace

TEST_F(Laufprobe, ARedrawEqualsAFullReplayFromKeptStrokesBeyondTheBudgetAndOnTheWorker)
{
    for (bool nebenlaeufig : {false, true}) {
        SCOPED_TRACE(nebenlaeufig ? "steps on the worker" : "steps here");
        Lauf lauf(mod, arbeiter, 4096);   // keeps a few dozen steps, the rest is computed
        LaufBild zeichnen(lauf, bild);
        lauf.NebenlaeufigAbSetzen(nebenlaeufig ? 0 : 1000000);
        ASSERT_EQ(lauf.Starten(), KeinFehler);
        for (int i = 0; i < 150; ++i)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
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
    Lauf lauf(mod, arbeiter, 0);   // nothing kept: every redraw computes
    LaufBild zeichnen(lauf, bild);
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(lauf.Schritt(), KeinFehler);

    // A new interval while a replay runs: the replay finishes the old run,
    // the next redraw replays every step at the new one.
    lauf.NeuzeichnenBeginnen();
    ASSERT_EQ(lauf.NeuzeichnenArbeiten(Lauf::Uhr::now()), Lauf::Neuzeichnungsstand::Weiter);
    mod.Intervall = 1;
    lauf.IntervallGeaendert();
    EXPECT_TRUE(lauf.NeuzeichnungLaeuft());
    Neuzeichnen(lauf, 2);
    EXPECT_EQ(lauf.Schrittzahl(), 40);
    ErwarteVoll(lauf, 2, "new interval");

    // Zurücksetzen ends a replay and drops a step in flight.
    lauf.NeuzeichnenBeginnen();
    lauf.NeuzeichnenArbeiten(Lauf::Uhr::now());
    lauf.Zuruecksetzen();
    EXPECT_FALSE(lauf.NeuzeichnungLaeuft());
    EXPECT_EQ(lauf.Schrittzahl(), 0);
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    ASSERT_TRUE(lauf.SchrittAbgeben());
    lauf.Zuruecksetzen();
    EXPECT_EQ(lauf.SchrittAbwarten().art, Lauf::Uebernahme::Verworfen);
    EXPECT_EQ(lauf.Schrittzahl(), 0);

    // A loaded document ends a replay too, and its working set is built at once.
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(lauf.Schritt(), KeinFehler);
    lauf.NeuzeichnenBeginnen();
    const KoerperSatz drei = DreiKoerper();
    mod.KoerperStart.assign(drei.begin(), drei.begin() + 2);
    EXPECT_EQ(lauf.DokumentGeladen(), KeinFehler);
    EXPECT_FALSE(lauf.NeuzeichnungLaeuft());
    EXPECT_EQ(lauf.Schrittzahl(), 0);
    Laufstand gebaut;
    ASSERT_EQ(KoerperSimAufbauen(mod, gebaut), KeinFehler);
    EXPECT_TRUE(BitGleich(lauf.Stand(), gebaut));
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(lauf.Schritt(), KeinFehler);
    Neuzeichnen(lauf, 2);
    ErwarteVoll(lauf, 2, "opened");
}

// The one worker: tasks in the order handed over, a task called off before
// it began never runs, and a producer can bound what waits (film frames).
TEST(Arbeiter, RunsTasksInOrderSkipsOnesCalledOffAndBoundsTheQueue)
{
    const auto aufgabe = [](Arbeiter::Arbeit arbeit) { return Arbeiter::Aufgabe{std::move(arbeit), nullptr, {}}; };
    Arbeiter arbeiter;
    std::promise<void> begonnen, tor;
    std::shared_future<void> offen = tor.get_future().share();
    std::vector<int> gelaufen;   // written by the worker only, read once it is done
    const Arbeiter::Marke erste = arbeiter.Abgeben(aufgabe([&begonnen, offen](const std::atomic<bool>&) {
        begonnen.set_value();
        offen.wait();
    }));
    begonnen.get_future().wait();
    std::vector<Arbeiter::Marke> marken;
    for (int i = 0; i < 3; ++i)
        marken.push_back(arbeiter.Versuchen(aufgabe([&gelaufen, i](const std::atomic<bool>&) { gelaufen.push_back(i); }), 3));
    EXPECT_FALSE(arbeiter.Versuchen(aufgabe([&gelaufen](const std::atomic<bool>&) { gelaufen.push_back(99); }), 3))
        << "three wait already";
    EXPECT_EQ(arbeiter.Wartend(), 3u);
    marken[1].Abbrechen();
    EXPECT_FALSE(erste.Fertig());
    tor.set_value();
    for (const Arbeiter::Marke& m : marken)
        m.Abwarten();
    EXPECT_TRUE(erste.Fertig());
    EXPECT_EQ(gelaufen, (std::vector<int>{0, 2}));
}
