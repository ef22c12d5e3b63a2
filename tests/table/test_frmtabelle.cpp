// SPDX-License-Identifier: GPL-3.0-or-later
// The table window's filling, cell editing, adding, removing, committing and
// cancelling, driven through its handlers over the Qt grid.

#include "tabellentest.h"

namespace {

const QString Leer15 = QString(15, QLatin1Char(' '));

}  // namespace

using Fuellen = Tabellentest;
using Bearbeiten = Tabellentest;
using Zeilen = Tabellentest;
using Uebernehmen = Tabellentest;

TEST_F(Fuellen, NewUntouchedDocumentShowsOneEmptyRowWhateverTheSetHolds)
{
    dok.Laden(QString(), {Koerper_("Alt", 5, 6, 7, 8, 9, 0x123456), Koerper_("Auch alt", 1, 1, 1, 1, 1, 1)});
    fenster.Form_Load();
    fenster.Form_Activate();

    EXPECT_EQ(g().Rows(), 2);
    EXPECT_EQ(g().TextMatrix(1, 0), QStringLiteral("1"));
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(g().TextMatrix(1, c), QString()) << c;
    EXPECT_EQ(g().Row(), 1);
    EXPECT_EQ(g().Col(), 7);
    EXPECT_EQ(g().CellBackColor(), 0);
    const QStringList koepfe{"", "Name", "Masse", "x-Position", "y-Position", "Geschwindigkeit", "Richtung", "Farbe"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(g().TextMatrix(0, c), koepfe[c]);
}

TEST_F(Fuellen, ThreeBodiesShowNamesWithBlanksNumberTextAndColours)
{
    DreiKoerperZeigen();

    EXPECT_EQ(g().Rows(), 4);
    EXPECT_EQ(g().Row(), 3);
    EXPECT_EQ(g().Col(), 7);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(g().TextMatrix(k, 0), QString::number(k));
    EXPECT_EQ(g().TextMatrix(1, 1), QStringLiteral("Sonne          "));
    EXPECT_EQ(g().TextMatrix(1, 2), QStringLiteral("332946"));
    EXPECT_EQ(g().TextMatrix(2, 3), QStringLiteral("150000000000"));
    EXPECT_EQ(g().TextMatrix(2, 5), QStringLiteral("29780"));
    EXPECT_EQ(g().TextMatrix(3, 2), QStringLiteral("0,0123"));
    EXPECT_EQ(g().TextMatrix(3, 6), QStringLiteral("90,5"));
    EXPECT_EQ(g().TextMatrix(1, 7), QString());
    EXPECT_EQ(Farbe(1, 7), 0x00FFFF);
    EXPECT_EQ(Farbe(2, 7), 0xFF0000);
    EXPECT_EQ(Farbe(3, 7), 0);
}

// Abbrechen after edits changes nothing, and the next showing fills the table afresh.
TEST_F(Fuellen, EveryShowingStartsAgainFromTheDocumentSet)
{
    DreiKoerperZeigen();
    const ModPlavo vorher = mod;
    fenster.show();
    fragen.Eingaben = {QStringLiteral("7")};
    Doppelklick(1, 2);
    g().TextMatrixSetzen(2, 1, QStringLiteral("Verworfen"));
    fenster.cmdNeu_Click();
    fenster.cmdAbbrechen_Click();
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_EQ(mod.KoerperStart, vorher.KoerperStart);
    EXPECT_TRUE(mod.Gespeichert);

    fenster.Form_Activate();
    EXPECT_EQ(g().Rows(), 4);
    EXPECT_EQ(g().TextMatrix(2, 1), QStringLiteral("Erde           "));

    // Committed in an untitled document: the next showing reads the set, not the empty table.
    dok.Laden(QString(), {Koerper_("Eins", 1, 2, 3, 4, 5, 6)});
    fenster.Form_Activate();
    EXPECT_EQ(g().TextMatrix(1, 1), QString());
    g().TextMatrixSetzen(1, 1, QStringLiteral("Eins"));
    for (int c = 2; c <= 6; ++c)
        g().TextMatrixSetzen(1, c, QString::number(c));
    fenster.cmdOK_Click();
    ASSERT_FALSE(mod.Gespeichert);
    fenster.Form_Activate();
    EXPECT_EQ(g().TextMatrix(1, 1), QStringLiteral("Eins           "));
    EXPECT_EQ(g().TextMatrix(1, 6), QStringLiteral("6"));
}

TEST_F(Bearbeiten, InputBoxAsksWithTheHeadingAndTakesTheTextAsTypedHeadingsAreNotEdited)
{
    DreiKoerperZeigen();
    Doppelklick(0, 2);
    Doppelklick(2, 0);
    EXPECT_TRUE(fragen.Gefragt.empty());
    EXPECT_TRUE(cdg.Aufrufe.empty());
    EXPECT_EQ(g().TextMatrix(0, 2), QStringLiteral("Masse"));

    fragen.Eingaben = {QStringLiteral("2,5E+30"), QStringLiteral("Ein sehr langer Name!"), std::nullopt};

    Doppelklick(2, 2);
    ASSERT_EQ(fragen.Gefragt.size(), 1u);
    EXPECT_EQ(fragen.Gefragt[0].Prompt, QStringLiteral("Masse:"));
    EXPECT_EQ(fragen.Gefragt[0].Titel, QStringLiteral("Plavo"));
    EXPECT_EQ(fragen.Gefragt[0].Vorgabe, QStringLiteral("1"));
    EXPECT_EQ(g().TextMatrix(2, 2), QStringLiteral("2,5E+30"));
    EXPECT_EQ(g().Row(), 2);
    EXPECT_EQ(g().Col(), 2);

    Doppelklick(1, 1);
    EXPECT_EQ(fragen.Gefragt[1].Prompt, QStringLiteral("Name:"));
    EXPECT_EQ(fragen.Gefragt[1].Vorgabe, QStringLiteral("Sonne          "));
    EXPECT_EQ(g().TextMatrix(1, 1), QStringLiteral("Ein sehr langer Name!"));

    // Cancelling empties the cell: that is how a cell is cleared.
    Doppelklick(3, 5);
    EXPECT_EQ(fragen.Gefragt[2].Prompt, QStringLiteral("Geschwindigkeit:"));
    EXPECT_EQ(g().TextMatrix(3, 5), QString());
}

TEST_F(Bearbeiten, ColourCellUsesTheColourDialog)
{
    DreiKoerperZeigen();
    cdg.Antworten = {QStringLiteral("255"), std::nullopt, QStringLiteral("0")};

    Doppelklick(2, 7);
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Color"));
    EXPECT_EQ(cdg.Aufrufe[0].Color, 0xFF0000);
    EXPECT_EQ(Farbe(2, 7), 255);

    Doppelklick(2, 7);   // cancelled: the colour stays
    EXPECT_EQ(cdg.Aufrufe[1].Color, 255);
    EXPECT_EQ(Farbe(2, 7), 255);

    Doppelklick(1, 7);   // black is no colour of its own
    EXPECT_EQ(Farbe(1, 7), 0);
    EXPECT_FALSE(fenster.GitterWidget().Modell().data(fenster.GitterWidget().Modell().index(0, 6),
                                                       Qt::BackgroundRole).isValid());
    EXPECT_TRUE(fragen.Gefragt.empty());
}

TEST_F(Zeilen, AddStopsAtTheLargestTableThatCanBeShownAndSaved)
{
    dok.Laden(QStringLiteral("x.plv"), KoerperSatz(size_t(MaxKoerper), Koerper{}));
    fenster.Form_Load();
    fenster.Form_Activate();
    ASSERT_EQ(g().Rows(), MaxKoerper + 1);
    fenster.cmdNeu_Click();
    EXPECT_EQ(g().Rows(), MaxKoerper + 1);
    ASSERT_EQ(fragen.Gemeldet.size(), 1u);
    EXPECT_EQ(fragen.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_TRUE(fragen.Gemeldet[0].Text.contains(QStringLiteral("32767")));
    fenster.cmdEntfernen_Click();
    fenster.cmdNeu_Click();
    EXPECT_EQ(g().Rows(), MaxKoerper + 1);
    EXPECT_EQ(fragen.Gemeldet.size(), 1u);
}

// Hinzufügen appends a numbered empty row and leaves the current cell;
// Entfernen takes the current row, moves the rows below up and renumbers.
TEST_F(Zeilen, AddAppendsAndRemoveTakesTheCurrentRowMovesTheRowsBelowUpAndRenumbers)
{
    DreiKoerperZeigen();
    fenster.cmdEntfernen_Click();   // no click yet: the fill left the last row current
    ASSERT_EQ(g().Rows(), 3);
    EXPECT_EQ(g().TextMatrix(2, 1), QStringLiteral("Erde           "));
    EXPECT_TRUE(fragen.Gemeldet.empty());

    fenster.Form_Activate();
    fenster.cmdNeu_Click();
    EXPECT_EQ(g().Rows(), 5);
    EXPECT_EQ(g().TextMatrix(4, 0), QStringLiteral("4"));
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(g().TextMatrix(4, c), QString());
    EXPECT_EQ(g().Row(), 3);
    EXPECT_EQ(g().Col(), 7);
    EXPECT_EQ(Farbe(4, 7), 0);
    EXPECT_TRUE(fragen.Gefragt.empty());
    g().TextMatrixSetzen(4, 1, QStringLiteral("Vierter"));
    g().RowSetzen(4);
    g().CellBackColorSetzen(0x00AA00);
    g().RowSetzen(2);
    g().ColSetzen(3);

    fenster.cmdEntfernen_Click();
    ASSERT_EQ(g().Rows(), 4);
    EXPECT_EQ(g().TextMatrix(1, 1), QStringLiteral("Sonne          "));
    EXPECT_EQ(g().TextMatrix(2, 1), QStringLiteral("Mond           "));
    EXPECT_EQ(g().TextMatrix(2, 6), QStringLiteral("90,5"));
    EXPECT_EQ(g().TextMatrix(3, 1), QStringLiteral("Vierter"));
    EXPECT_EQ(Farbe(2, 7), 0);
    EXPECT_EQ(Farbe(3, 7), 0x00AA00);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(g().TextMatrix(i, 0), QString::number(i));
}

TEST_F(Zeilen, RemoveEmptiesTheOnlyRowKeepingNumberAndColour)
{
    dok.Laden(QStringLiteral("eins.plv"), {Koerper_("Einzig", 1, 2, 3, 4, 5, 0x445566)});
    fenster.Form_Load();
    fenster.Form_Activate();
    fenster.cmdEntfernen_Click();
    fenster.cmdEntfernen_Click();
    EXPECT_EQ(g().Rows(), 2);
    EXPECT_EQ(g().TextMatrix(1, 0), QStringLiteral("1"));
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(g().TextMatrix(1, c), QString()) << c;
    EXPECT_EQ(Farbe(1, 7), 0x445566);
}

TEST_F(Uebernehmen, CellsNotEditedKeepEveryBitEditedOnesAreReadFromTheirTextAndTheDocumentIsChanged)
{
    DreiKoerperZeigen();
    // Doubles that 15 digits do not hold, as a body file brings them.
    KoerperSatz genau = mod.KoerperStart;
    genau[0].X = 0.1 + 0.2;
    genau[1].Masse = 1.0 / 3.0;
    genau[1].X = 149597870700.12345;
    genau[2].Richtung = 90.00000000000001;
    dok.Laden(mod.DateiName, genau);
    fenster.Form_Activate();
    fenster.show();
    ASSERT_EQ(g().TextMatrix(2, 2), QStringLiteral("0,333333333333333"));
    const KoerperSatz vorher = mod.KoerperStart;

    fenster.cmdOK_Click();
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_FALSE(mod.Gespeichert) << "committed means changed, even when nothing was edited";
    EXPECT_EQ(BytesAusKoerpern(mod.KoerperStart), BytesAusKoerpern(vorher)) << "a file saved now has every bit";
    EXPECT_EQ(g().Row(), 3);
    EXPECT_EQ(g().Col(), 7);
    EXPECT_TRUE(fragen.Gemeldet.empty());

    // Confirming a cell's text unchanged is no edit, and a row moved up by
    // Entfernen keeps its numbers; a typed number is read from its text.
    fenster.Form_Activate();
    fenster.show();
    fragen.Eingaben = {QStringLiteral("0,333333333333333")};
    Doppelklick(2, 2);
    g().TextMatrixSetzen(3, 6, QStringLiteral("90,25"));
    g().RowSetzen(1);
    fenster.cmdEntfernen_Click();
    fenster.cmdOK_Click();
    ASSERT_EQ(mod.KoerperStart.size(), 2u);
    EXPECT_EQ(BytesAusKoerpern({mod.KoerperStart[0]}), BytesAusKoerpern({vorher[1]}));
    Koerper mond = vorher[2];
    mond.Richtung = 90.25;
    EXPECT_EQ(BytesAusKoerpern({mod.KoerperStart[1]}), BytesAusKoerpern({mond}));
}

TEST_F(Uebernehmen, NamesAreCutOrPaddedToFifteenAndColoursTakenFromTheCells)
{
    DreiKoerperZeigen();
    fenster.cmdNeu_Click();
    g().TextMatrixSetzen(1, 1, QStringLiteral("Zwanzig Zeichen lang"));
    g().TextMatrixSetzen(2, 1, QStringLiteral("Abc"));
    g().TextMatrixSetzen(4, 1, QStringLiteral("Neu"));
    for (int c = 2; c <= 6; ++c)
        g().TextMatrixSetzen(4, c, QStringLiteral(" -1,5E+3 "));
    g().RowSetzen(1);
    g().CellBackColorSetzen(0x010203);

    fenster.cmdOK_Click();
    ASSERT_EQ(mod.KoerperStart.size(), 4u);
    EXPECT_EQ(mod.KoerperStart[0].NameText(), QStringLiteral("Zwanzig Zeichen"));
    EXPECT_EQ(mod.KoerperStart[1].NameText(), QStringLiteral("Abc            "));
    EXPECT_EQ(mod.KoerperStart[0].Farbe, 0x010203);
    EXPECT_EQ(mod.KoerperStart[3].NameText(), QStringLiteral("Neu            "));
    EXPECT_EQ(mod.KoerperStart[3].Richtung, -1500.0);
    EXPECT_EQ(mod.KoerperStart[3].Farbe, 0) << "a never coloured row is black";
    EXPECT_EQ(g().Row(), 4);
}

TEST_F(Uebernehmen, ANumberCellThatIsNoNumberStopsTheCommitBeforeAnythingChanges)
{
    DreiKoerperZeigen();
    const ModPlavo vorher = mod;
    fenster.show();
    fenster.cmdNeu_Click();
    g().TextMatrixSetzen(4, 1, QStringLiteral("Leer"));

    fenster.cmdOK_Click();
    ASSERT_EQ(fragen.Gemeldet.size(), 1u);
    EXPECT_EQ(fragen.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_EQ(fragen.Gemeldet[0].Text, QStringLiteral("In Zeile 4 steht in der Spalte „Masse“ keine gültige Zahl."));
    EXPECT_EQ(g().Row(), 4);
    EXPECT_EQ(g().Col(), 2);
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(mod.KoerperStart, vorher.KoerperStart);
    EXPECT_TRUE(mod.Gespeichert);

    // A point is no decimal separator in German; the first bad cell in row order is named.
    for (int c = 2; c <= 6; ++c)
        g().TextMatrixSetzen(4, c, QStringLiteral("1"));
    g().TextMatrixSetzen(2, 6, QStringLiteral("90.5"));
    g().TextMatrixSetzen(3, 4, QStringLiteral("abc"));
    fenster.cmdOK_Click();
    ASSERT_EQ(fragen.Gemeldet.size(), 2u);
    EXPECT_EQ(fragen.Gemeldet[1].Text, QStringLiteral("In Zeile 2 steht in der Spalte „Richtung“ keine gültige Zahl."));
    EXPECT_EQ(g().Row(), 2);
    EXPECT_EQ(g().Col(), 6);
    EXPECT_TRUE(mod.Gespeichert);

    g().TextMatrixSetzen(2, 6, QStringLiteral("90,5"));
    g().TextMatrixSetzen(3, 4, QStringLiteral("0"));
    fenster.cmdOK_Click();
    EXPECT_EQ(fragen.Gemeldet.size(), 2u);
    EXPECT_EQ(mod.KoerperStart.size(), 4u);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_FALSE(fenster.isVisible());
}
