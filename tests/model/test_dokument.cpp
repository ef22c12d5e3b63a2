// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dokument.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

struct Stand {
    KoerperSatz koerper;
    double intervall;
};

Stand StandVon(const Dokument& dok)
{
    return {dok.Daten().KoerperStart, dok.Daten().Intervall};
}

bool Gleich(const Stand& a, const Stand& b)
{
    return BitGleich(a.koerper, b.koerper) && std::bit_cast<uint64_t>(a.intervall) == std::bit_cast<uint64_t>(b.intervall);
}

// Numbers a table or a file can hold, the awkward ones included.
double Zahl(std::mt19937& zufall)
{
    switch (zufall() % 6) {
    case 0: return -0.0;
    case 1: return std::numeric_limits<double>::quiet_NaN();
    case 2: return std::bit_cast<double>(uint64_t(zufall()) | 0x7FF0000000000001ull);   // a NaN with a payload
    default: return std::ldexp(double(int32_t(zufall())), int(zufall() % 80) - 40);
    }
}

KoerperSatz Koerper_(std::mt19937& zufall)
{
    KoerperSatz satz(1 + zufall() % 4);
    for (Koerper& k : satz) {
        k.NameSetzen(QStringLiteral("K%1").arg(zufall() % 100));
        k.Masse = Zahl(zufall);
        k.X = Zahl(zufall);
        k.Y = Zahl(zufall);
        k.Geschwindigkeit = Zahl(zufall);
        k.Richtung = Zahl(zufall);
        k.Farbe = int32_t(zufall());
    }
    return satz;
}

}  // namespace

TEST(Dokument, StartsWithOneEmptyBodyAndNeverBecomesEmpty)
{
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
    EXPECT_EQ(mod.Intervall, 2.0);
    EXPECT_TRUE(mod.DateiName.isEmpty());
    EXPECT_TRUE(mod.Gespeichert);

    Koerper erde;
    erde.NameSetzen(QStringLiteral("Erde"));
    dok.Laden(QStringLiteral("erde.plv"), KoerperSatz(3, erde));
    EXPECT_EQ(mod.KoerperStart, KoerperSatz(3, erde));

    dok.Laden(QStringLiteral("leer.plv"), {});
    EXPECT_EQ(mod.KoerperStart.size(), 3u) << "nothing read changes no body";
    EXPECT_EQ(mod.DateiName, QStringLiteral("leer.plv"));

    dok.Neu();
    EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
    EXPECT_TRUE(mod.DateiName.isEmpty());
}

// Random sequences of table commits, new intervals, undos, redos, saves and
// loads, checked against a plain list of the states the user went through.
// Undoing everything gives the first state kept bit for bit, redoing
// everything the last; the saved flag is the stack's clean state, and while
// it is set the bodies are those last written.
TEST(Dokument, UndoAndRedoRestoreEveryBitAndTheSavedFlagFollowsTheCleanState)
{
    int voll = 0;   // sequences that reached the limit
    for (uint32_t folge = 1; folge <= 300; ++folge) {
        SCOPED_TRACE(folge);
        std::mt19937 zufall(folge);
        Dokument dok;
        std::vector<Stand> verlauf{StandVon(dok)};
        size_t index = 0;
        KoerperSatz geschrieben = dok.Daten().KoerperStart;
        const int befehle = int(zufall() % 500);
        for (int b = 0; b < befehle; ++b) {
            bool neu = false;
            switch (zufall() % 8) {
            case 0:
            case 1:
            case 2:
                dok.KoerperUebernehmen(Koerper_(zufall));
                ASSERT_FALSE(dok.Daten().Gespeichert) << "a commit always leaves changes to save";
                neu = true;
                break;
            case 3:
                dok.IntervallSetzen(Zahl(zufall));
                neu = true;
                break;
            case 4:
                dok.Rueckgaengig();
                index -= index > 0;
                break;
            case 5:
                dok.Wiederherstellen();
                index += index + 1 < verlauf.size();
                break;
            case 6:
                dok.GespeichertUnter(QStringLiteral("/tmp/a.plv"));
                geschrieben = dok.Daten().KoerperStart;
                break;
            default:
                if (zufall() % 40 == 0) {
                    dok.Laden(QStringLiteral("/tmp/b.plv"), Koerper_(zufall));
                    geschrieben = dok.Daten().KoerperStart;
                    verlauf = {StandVon(dok)};
                    index = 0;
                }
                break;
            }
            if (neu) {
                // A new command drops what could have been redone; the oldest goes beyond the limit.
                verlauf.resize(index + 1);
                verlauf.push_back(StandVon(dok));
                if (verlauf.size() > size_t(Dokument::Grenze) + 1)
                    verlauf.erase(verlauf.begin());
                index = verlauf.size() - 1;
            }
            ASSERT_TRUE(Gleich(StandVon(dok), verlauf[index])) << "command " << b;
            const QUndoStack& stapel = dok.Stapel();
            ASSERT_EQ(dok.Daten().Gespeichert, stapel.index() == stapel.cleanIndex()) << b;
            if (dok.Daten().Gespeichert) {
                ASSERT_TRUE(BitGleich(dok.Daten().KoerperStart, geschrieben)) << b;
            }
        }
        ASSERT_EQ(dok.Stapel().count(), int(verlauf.size()) - 1);
        voll += dok.Stapel().count() == Dokument::Grenze;
        ASSERT_EQ(dok.Stapel().index(), int(index));

        while (dok.Stapel().canUndo()) {
            dok.Rueckgaengig();
            ASSERT_EQ(dok.Daten().Gespeichert, dok.Stapel().isClean());
        }
        EXPECT_TRUE(Gleich(StandVon(dok), verlauf.front()));
        while (dok.Stapel().canRedo()) {
            dok.Wiederherstellen();
            ASSERT_EQ(dok.Daten().Gespeichert, dok.Stapel().isClean());
        }
        EXPECT_TRUE(Gleich(StandVon(dok), verlauf.back()));
    }
    EXPECT_GT(voll, 10);
}

// A new interval is not in the body file: it leaves the saved flag alone,
// also when it is undone or redone; a commit in between makes it unsaved
// until undone. Every change is announced once, after it is complete.
TEST(Dokument, TheIntervalNeverMakesTheDocumentUnsavedAndChangesAreAnnounced)
{
    QLocale::setDefault(QLocale::c());
    Dokument dok;
    int koerper = 0, intervall = 0, gespeichert = 0, vorher = 0;
    QObject::connect(&dok, &Dokument::koerperGeaendert, [&] { ++koerper; });
    QObject::connect(&dok, &Dokument::intervallGeaendert, [&] { ++intervall; });
    QObject::connect(&dok, &Dokument::gespeichertGeaendert, [&] { ++gespeichert; });
    QObject::connect(&dok, &Dokument::vorAenderung, [&] { ++vorher; });

    dok.IntervallSetzen(0.5);
    EXPECT_TRUE(dok.Daten().Gespeichert);
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Berechnungsintervall 0.5"));
    dok.Rueckgaengig();
    dok.Wiederherstellen();
    EXPECT_TRUE(dok.Daten().Gespeichert);
    EXPECT_EQ(intervall, 3);
    EXPECT_EQ(gespeichert, 0);

    Koerper erde;
    erde.Masse = 1;
    dok.KoerperUebernehmen({erde, erde});
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Tabelle übernehmen"));
    dok.IntervallSetzen(3);
    dok.Rueckgaengig();
    EXPECT_FALSE(dok.Daten().Gespeichert);
    dok.Rueckgaengig();
    EXPECT_TRUE(dok.Daten().Gespeichert);
    EXPECT_EQ(dok.Daten().Intervall, 0.5);
    EXPECT_EQ(koerper, 2);
    EXPECT_EQ(gespeichert, 2);
    EXPECT_EQ(vorher, 7);

    // Nothing left to undo: nothing happens, nothing is announced.
    dok.Rueckgaengig();
    EXPECT_EQ(dok.Daten().Intervall, 2.0);
    dok.Rueckgaengig();
    EXPECT_EQ(vorher, 8);

    // New and loading start the stack anew, saved.
    dok.Wiederherstellen();
    dok.Neu();
    EXPECT_FALSE(dok.Stapel().canUndo() || dok.Stapel().canRedo());
    EXPECT_TRUE(dok.Daten().Gespeichert);
    EXPECT_EQ(dok.Daten().Intervall, 0.5) << "New keeps the interval";
}
