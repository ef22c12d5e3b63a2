// SPDX-License-Identifier: GPL-3.0-or-later
// The run and its picture: a redraw, a replay and the frames of reference
// draw exactly what was drawn live, and the run never changes with the frame.

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
#include <future>
#include <map>
#include <numbers>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr int32_t Rot = 0x0000FF, Gruen = 0x00AA00, Blau = 0xFF0000;

// A sun, a comet and an earth drawn last, whose trails cross a 2 x 2 AE section quickly.
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

struct Laufprobe : ::testing::Test {
    ModPlavo mod;
    Arbeiter arbeiter;
    BildFlaeche bild;   // drawn as the window's picture is, by a LaufBild

    void SetUp() override
    {
        mod.KoerperStart = DreiKoerper();
        mod.Intervall = 2;
        // Odd sizes: the origin lies in the middle of pixel (100, 75).
        bild.GroesseSetzen(QSize(201, 151));
        bild.Scale(-1, -1, 1, 1);
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
        Neuzeichnen(lauf);
    }
    void Neuzeichnen(Lauf& lauf)
    {
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

namespace {

// An edit as the picture makes them: one body moved and sped up, one added
// (it draws a stroke of its own from then on), or the last one removed.
KoerperSatz Bearbeitet(KoerperSatz satz, int art)
{
    switch (art % 3) {
    case 0:
        satz[1].X += 2e9;
        satz[1].Vx() *= 1.01;
        break;
    case 1: {
        Koerper k = satz[0];
        k.X += 0.4e11;
        k.Masse = 1;
        k.Vy() = 2e9;
        k.Farbe = 0x8000FF;
        satz.push_back(k);
        break;
    }
    default:
        if (satz.size() > 1)
            satz.pop_back();
    }
    return satz;
}

}  // namespace

// Edits at later steps are part of the run: a redraw from kept strokes, from
// a record that ran out of budget, or computed on the worker draws exactly
// what was drawn live, and ends where the run stands.
TEST_F(Laufprobe, InterventionsAtRandomStepsRedrawAsDrawnLive)
{
    std::mt19937 zufall(28);
    for (const std::size_t budget : {std::size_t(64) << 20, std::size_t(6000), std::size_t(0)})
        for (bool nebenlaeufig : {false, true}) {
            SCOPED_TRACE(testing::Message() << "budget " << budget << (nebenlaeufig ? ", worker" : ", here"));
            Lauf lauf(mod, arbeiter, budget);
            LaufBild zeichnen(lauf, bild);
            bild.Scale(-1.5, -1, 1.5, 1);
            bild.Cls();
            lauf.NebenlaeufigAbSetzen(nebenlaeufig ? 0 : 1000000);
            ASSERT_EQ(lauf.Starten(), KeinFehler);
            for (int i = 0; i < 6; ++i) {
                const int schritte = 1 + int(zufall() % 25);
                for (int s = 0; s < schritte; ++s) {
                    if (nebenlaeufig) {
                        ASSERT_TRUE(lauf.SchrittAbgeben());
                        ASSERT_EQ(lauf.SchrittAbwarten().art, Lauf::Uebernahme::Uebernommen);
                    } else {
                        ASSERT_EQ(lauf.Schritt(), KeinFehler);
                    }
                }
                const int32_t schritt = lauf.Schrittzahl();
                const EingriffPtr e = lauf.Eingreifen(Bearbeitet(lauf.Stand().KoerperSim, int(zufall() % 3)), {});
                ASSERT_TRUE(e);
                EXPECT_EQ(e->Schritt, schritt);
                EXPECT_FALSE(lauf.NeuzeichnungLaeuft()) << "an edit where the run stands draws nothing";
            }
            for (int s = 0; s < 10; ++s)
                ASSERT_EQ(lauf.Schritt(), KeinFehler);
            const QImage live = bild.Image().copy();
            const Laufstand ende = lauf.Stand();
            Neuzeichnen(lauf, 3);
            EXPECT_TRUE(bild.Image() == live);
            EXPECT_TRUE(BitGleich(lauf.Stand(), ende));
            EXPECT_EQ(lauf.Eingriffsliste().size(), 6u);

            // Zurücksetzen ends them: a run of the same length equals one that never had any.
            const int32_t n = lauf.Schrittzahl();
            lauf.Zuruecksetzen();
            EXPECT_TRUE(lauf.Eingriffsliste().empty());
            ASSERT_EQ(lauf.Starten(), KeinFehler);
            bild.Cls();
            while (lauf.Schrittzahl() < n)
                ASSERT_EQ(lauf.Schritt(), KeinFehler);
            const auto [soll, sim] = Voll(n, 3);
            EXPECT_TRUE(bild.Image() == soll);
            EXPECT_TRUE(BitGleich(lauf.Stand().KoerperSim, sim));
            Neuzeichnen(lauf, 3);
            EXPECT_TRUE(bild.Image() == soll);
        }
}

// Undo gives back the bodies and the step count as they were before the
// edit, dropping the steps since, and the picture as it was then; redo puts
// the run where the edit left it, whatever ran in between.
TEST_F(Laufprobe, AnInterventionUndoneAndRedoneGivesBackExactStates)
{
    for (const std::size_t budget : {std::size_t(64) << 20, std::size_t(0)}) {
        SCOPED_TRACE(testing::Message() << "budget " << budget);
        Lauf lauf(mod, arbeiter, budget);
        LaufBild zeichnen(lauf, bild);
        bild.Scale(-1.5, -1, 1.5, 1);
        bild.Cls();
        ASSERT_EQ(lauf.Starten(), KeinFehler);
        for (int s = 0; s < 30; ++s)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        lauf.Eingreifen(Bearbeitet(lauf.Stand().KoerperSim, 1), {});
        for (int s = 0; s < 12; ++s)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        const QImage vorEdit = bild.Image().copy();
        const Lauf::Zustand vorher = lauf.ZustandNehmen();
        const EingriffPtr e = std::make_shared<const Eingriff>(Eingriff{42, Bearbeitet(vorher.stand.KoerperSim, 2), {}});
        lauf.ZustandHerstellen(vorher, e);
        for (int s = 0; s < 20; ++s)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        const Laufstand spaeter = lauf.Stand();
        const QImage spaeterBild = bild.Image().copy();

        lauf.ZustandHerstellen(vorher);   // undo
        Neuzeichnen(lauf, 3);
        EXPECT_EQ(lauf.Schrittzahl(), 42);
        EXPECT_TRUE(BitGleich(lauf.Stand(), vorher.stand));
        EXPECT_EQ(lauf.Eingriffsliste(), vorher.eingriffe);
        EXPECT_TRUE(bild.Image() == vorEdit);

        for (int s = 0; s < 7; ++s)   // the run goes on after the undo
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        lauf.ZustandHerstellen(vorher, e);   // redo
        Neuzeichnen(lauf, 3);
        EXPECT_EQ(lauf.Schrittzahl(), 42);
        EXPECT_TRUE(BitGleich(lauf.Stand().KoerperSim, e->Koerper));
        for (int s = 0; s < 20; ++s)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
        EXPECT_TRUE(BitGleich(lauf.Stand(), spaeter));
        EXPECT_TRUE(bild.Image() == spaeterBild);
    }
}

// Frames of reference: the run seen from a body, from the centre of mass or
// turning with two bodies.
TEST_F(Laufprobe, ABodysWholeTrailIsOnePixelAtTheCentre)
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

TEST_F(Laufprobe, EveryFrameRedrawsWhatItDrewLiveAndFestComesBackWithTheSameRunBitForBit)
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

TEST_F(Laufprobe, TwoBodiesOnACircleStayOnTheirTwoPixelsWhileTheFrameTurnsWithThem)
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
