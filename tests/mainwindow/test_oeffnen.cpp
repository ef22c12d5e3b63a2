// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/befehlszeile.h"
#include "mainwindow/beispiele.h"
#include "mainwindow/filmdialog.h"
#include "sim/aufbau.h"
#include "support/fensterprobe.h"

#include <QCoreApplication>
#include <cmath>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

class Oeffnen : public FensterProbe {
protected:
    // The working set `koerper` gives after `schritte` steps from its start values.
    KoerperSatz Erwartet(const KoerperSatz& koerper, int schritte) const
    {
        Laufstand s;
        EXPECT_EQ(KoerperSimAufbauen(koerper, mod.Intervall, s), KeinFehler);
        Rechenwerk werk;
        while (s.Schrittzahl < schritte)
            EXPECT_EQ(werk.Schritt(s).fehler, KeinFehler);
        return s.KoerperSim;
    }
    // What the program's start makes of `argumente` after "plavo", run from the test's folder.
    Befehlszeile Aufruf(const QStringList& argumente)
    {
        const QString vorher = QDir::currentPath();
        QDir::setCurrent(ordner.path());
        const Befehlszeile b = BefehlszeileLesen(QStringList{QStringLiteral("plavo")} + argumente);
        QDir::setCurrent(vorher);
        return b;
    }
    // Drags `daten` over the window and drops it there when the window takes it.
    bool Ablegen(const QMimeData& daten)
    {
        const QPoint mitte = frm->rect().center();
        QDragEnterEvent hinein(mitte, Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm.get(), &hinein);
        if (!hinein.isAccepted())
            return false;
        QDropEvent fallen(mitte, Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm.get(), &fallen);
        QCoreApplication::processEvents();
        return fallen.isAccepted();
    }
    static std::unique_ptr<QMimeData> Dateien(const QStringList& pfade)
    {
        auto daten = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& p : pfade)
            urls << QUrl::fromLocalFile(p);
        daten->setUrls(urls);
        return daten;
    }
};

}  // namespace

TEST_F(Oeffnen, LoadsTheFileClearsThePictureAndCountsFromZero)
{
    LaufMitBild(Sonnensystem(), 3);
    frm->menStop_Click();

    const QString z = Datei(QStringLiteral("zwillinge.plv"), Zwillinge());
    FensterProbe::Oeffnen(z);
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Open"));
    EXPECT_EQ(cdg.Aufrufe[0].Filter, QStringLiteral("Plavo-Dateien (*.plv)|*.plv"));
    EXPECT_EQ(cdg.Aufrufe[0].DefaultExt, QStringLiteral("*.plv"));
    EXPECT_EQ(cdg.Aufrufe[0].FileName, Pfad(QStringLiteral("lauf.plv")));   // the last choice, never set
    EXPECT_EQ(mod.KoerperStart, Zwillinge());
    EXPECT_EQ(mod.DateiName, z);
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [zwillinge.plv]"));
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(NichtWeiss(), 0);
    EXPECT_FALSE(tim.Enabled());
    EXPECT_TRUE(frage.Gemeldet.empty());
}

TEST_F(Oeffnen, BodiesThatCannotStartStopARunningSimulationOnce)
{
    KoerperSatz wild = Zwillinge();
    wild[1].Geschwindigkeit = 1e308;   // times 2 days of seconds: no finite displacement
    const QString w = Datei(QStringLiteral("wild.plv"), wild);

    // Not running: loaded quietly; the start tells.
    FensterProbe::Oeffnen(w);
    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_EQ(mod.KoerperStart, wild);
    frm->menStart_Click();
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_FALSE(tim.Enabled());

    // Running, with "Simulation starten" chosen: one message, the timer stops,
    // the document is loaded all the same.
    LaufMitBild(Sonnensystem(), 2);
    frage.Gemeldet.clear();
    frm->menSimStart_Click();
    FensterProbe::Oeffnen(w);
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Symbol, MsgSymbol::Kritisch);
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("Rechenfehler")));
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(mod.KoerperStart, wild);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [wild.plv]"));
}

TEST_F(Oeffnen, PromptAndCancelledDialogLeaveTheDocumentAsItWas)
{
    const QString a = Datei(QStringLiteral("a.plv"), Sonnensystem());
    FensterProbe::Oeffnen(a);
    Aendern();
    const KoerperSatz geaendert = mod.KoerperStart;
    cdg.Aufrufe.clear();

    frage.Antworten.push_back(MsgAntwort::Abbrechen);
    frm->menOeffnen_Click();
    EXPECT_TRUE(cdg.Aufrufe.empty());

    frage.Antworten.push_back(MsgAntwort::Nein);
    cdg.Antworten.push_back(std::nullopt);
    frm->menOeffnen_Click();
    EXPECT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(frage.Gemeldet.size(), 2u);
    EXPECT_EQ(mod.KoerperStart, geaendert);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.DateiName, a);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [a.plv]"));

    // Ja saves first; a later Save can then no longer write empty bodies over the file.
    frage.Antworten.push_back(MsgAntwort::Ja);
    cdg.Antworten.push_back(std::nullopt);
    frm->menOeffnen_Click();
    EXPECT_EQ(Inhalt(a), BytesAusKoerpern(geaendert));
    EXPECT_EQ(mod.KoerperStart, geaendert);
    EXPECT_TRUE(mod.Gespeichert);
}

// Every kind of unreadable file is refused in the hostile-file tests; here
// one after the prompt's Nein: the changes stay, and no choice runs.
TEST_F(Oeffnen, AFileThatCannotBeReadIsNotOpened)
{
    LaufMitBild(Sonnensystem(), 2);
    frm->menStop_Click();
    Aendern();
    const KoerperSatz geaendert = mod.KoerperStart;
    const QString titel = Titel();
    const int bild = NichtWeiss();
    frm->menTabAnz_Click();

    const QString p = Rohdatei(QStringLiteral("kurz.plv"), QByteArray(58, 'x'));
    frage.Antworten.push_back(MsgAntwort::Nein);
    cdg.Antworten.push_back(p);
    frm->menOeffnen_Click();
    ASSERT_EQ(frage.Gemeldet.size(), 2u);
    EXPECT_EQ(frage.Gemeldet[1].Titel, QStringLiteral("Plavo"));
    EXPECT_TRUE(frage.Gemeldet[1].Text.contains(QDir::toNativeSeparators(p)));
    EXPECT_EQ(mod.KoerperStart, geaendert);
    EXPECT_EQ(mod.DateiName, Pfad(QStringLiteral("lauf.plv")));
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(Titel(), titel);
    EXPECT_EQ(frm->Schrittzahl(), 2);
    EXPECT_EQ(NichtWeiss(), bild);
    EXPECT_EQ(tabelleGezeigt, 0);
}

TEST_F(Oeffnen, TakesEveryCompleteRecordAndGivesBackWhatWasSaved)
{
    const KoerperSatz drei = Zwillinge();
    const QByteArray zwei = BytesAusKoerpern(drei).left(2 * 59);
    FensterProbe::Oeffnen(Rohdatei(QStringLiteral("zwei.plv"), zwei + QByteArray(10, '\x7f')));
    EXPECT_EQ(mod.KoerperStart, KoerperSatz(drei.begin(), drei.begin() + 2));

    KoerperSatz koerper = Zwillinge();
    koerper[0].NameSetzen(QStringLiteral("Körper 1  "));   // trailing blanks are part of the name
    koerper[1].Masse = 1.0 / 3.0;
    koerper[1].X = -0.0;
    koerper[1].Y = 5e-324;
    koerper[2].Farbe = -1;
    koerper.push_back(Koerper{});   // never named: 15 NULs
    dok.KoerperUebernehmen(koerper);
    const QString p = Pfad(QStringLiteral("rund.plv"));
    cdg.Antworten.push_back(p);
    frm->menSpUnter_Click();
    EXPECT_EQ(QFileInfo(p).size(), 4 * 59);

    frm->menNeu_Click();
    FensterProbe::Oeffnen(p);
    EXPECT_EQ(mod.KoerperStart, koerper);
    EXPECT_EQ(BytesAusKoerpern(mod.KoerperStart), BytesAusKoerpern(koerper));
    EXPECT_EQ(mod.KoerperStart[0].NameText(), QStringLiteral("Körper 1       "));
}

// What follows an opened file is the one checked choice: Warten only loads
// (a running simulation goes on with the loaded bodies from their start),
// the table shows the loaded document, the start runs it from step 0. A
// cancelled dialog runs no choice.
TEST_F(Oeffnen, ExactlyOneChoiceIsCheckedAndRunsAfterAFileWasOpened)
{
    auto markiert = [this] {
        return QString::number(Menue("menWarten")->isChecked()) + QString::number(Menue("menTabAnz")->isChecked()) +
               QString::number(Menue("menSimStart")->isChecked());
    };
    EXPECT_EQ(markiert(), QStringLiteral("100"));
    frm->show();
    FensterProbe::Oeffnen(Datei(QStringLiteral("a.plv"), Sonnensystem()));
    EXPECT_FALSE(tim.Enabled());

    frm->menStart_Click();
    tim.Ticken(4);
    FensterProbe::Oeffnen(Datei(QStringLiteral("zwillinge.plv"), Zwillinge()));
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(NichtWeiss(), 0);
    tim.Ticken();
    // Body 1 is Castor, not a leftover of the sun.
    EXPECT_EQ(frm->lauf().Stand().KoerperSim, Erwartet(Zwillinge(), 1));
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [zwillinge.plv] - 2 Tage"));
    EXPECT_GT(NichtWeiss(), 0);
    frm->menStop_Click();

    frm->menTabAnz_Click();
    EXPECT_EQ(markiert(), QStringLiteral("010"));
    frm->menTabAnz_Click();
    EXPECT_EQ(markiert(), QStringLiteral("010"));
    cdg.Antworten.push_back(std::nullopt);
    frm->menOeffnen_Click();
    frm->menSimStart_Click();
    EXPECT_EQ(markiert(), QStringLiteral("001"));
    cdg.Antworten.push_back(std::nullopt);
    frm->menOeffnen_Click();
    EXPECT_EQ(tabelleGezeigt, 0);
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [zwillinge.plv] - 2 Tage"));

    FensterProbe::Oeffnen(Datei(QStringLiteral("a.plv"), Sonnensystem()));
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(tabelleGezeigt, 0);
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(frm->lauf().Stand().KoerperSim, Erwartet(Sonnensystem(), 0));
    tim.Ticken(2);
    EXPECT_EQ(frm->lauf().Stand().KoerperSim, Erwartet(Sonnensystem(), 2));
    frm->menStop_Click();

    frm->menWarten_Click();
    EXPECT_EQ(markiert(), QStringLiteral("100"));
    frm->menWarten_Click();
    EXPECT_EQ(markiert(), QStringLiteral("100"));
    frm->menTabAnz_Click();
    inDerTabelle = [this] {
        // Open has finished its own work before the table appears.
        EXPECT_EQ(mod.KoerperStart, Zwillinge());
        EXPECT_EQ(Titel(), QStringLiteral("Plavo - [z.plv]"));
        Aendern();   // the user leaves with OK after an edit
    };
    FensterProbe::Oeffnen(Datei(QStringLiteral("z.plv"), Zwillinge()));
    EXPECT_EQ(tabelleGezeigt, 1);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_FALSE(tim.Enabled());
}

TEST_F(Oeffnen, AFileOnTheCommandLineOpensAsIfChosenOrLeavesAWorkingNewDocument)
{
    frm->show();
    EXPECT_TRUE(Aufruf({}).datei.isEmpty());
    EXPECT_FALSE(Aufruf({QStringLiteral("a.plv"), QStringLiteral("b.plv")}).weiter);

    QDir(ordner.path()).mkdir(QStringLiteral("ordner.plv"));
    Rohdatei(QStringLiteral("kurz.plv"), QByteArray(58, 'x'));
    for (const char* name : {"fehlt.plv", "kurz.plv", "ordner.plv"}) {
        SCOPED_TRACE(name);
        frage.Gemeldet.clear();
        const Befehlszeile b = Aufruf({QString::fromUtf8(name)});
        EXPECT_FALSE(frm->DateiOeffnen(b.datei));
        ASSERT_EQ(frage.Gemeldet.size(), 1u);
        EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QDir::toNativeSeparators(b.datei)));
        EXPECT_EQ(mod.KoerperStart, KoerperSatz(1));
        EXPECT_TRUE(mod.DateiName.isEmpty());
        EXPECT_EQ(Titel(), QStringLiteral("Plavo"));
    }
    frm->menStart_Click();
    tim.Ticken();
    frm->menStop_Click();
    EXPECT_EQ(frm->Schrittzahl(), 1);

    frage.Gemeldet.clear();
    Datei(QStringLiteral("z.plv"), Zwillinge());
    const Befehlszeile b = Aufruf({QStringLiteral("z.plv")});
    ASSERT_TRUE(b.weiter);
    EXPECT_EQ(b.datei, Pfad(QStringLiteral("z.plv")));   // absolute: Save writes back to it
    EXPECT_TRUE(frm->DateiOeffnen(b.datei));
    EXPECT_EQ(mod.KoerperStart, Zwillinge());
    EXPECT_EQ(mod.DateiName, b.datei);
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [z.plv]"));
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(NichtWeiss(), 0);
    EXPECT_TRUE(cdg.Aufrufe.empty());
    EXPECT_TRUE(frage.Gemeldet.empty());
}

TEST_F(Oeffnen, ADroppedBodyFileOpensAfterThePromptAndAnythingElseIsRefused)
{
    frm->show();
    const QString a = Datei(QStringLiteral("a.plv"), Sonnensystem());
    const QString z = Datei(QStringLiteral("z.plv"), Zwillinge());
    FensterProbe::Oeffnen(a);
    Aendern();
    const KoerperSatz geaendert = mod.KoerperStart;
    QDir(ordner.path()).mkdir(QStringLiteral("ordner.plv"));

    QMimeData text;
    text.setText(z);
    EXPECT_FALSE(Ablegen(text));
    EXPECT_FALSE(Ablegen(*Dateien({a, z})));
    EXPECT_FALSE(Ablegen(*Dateien({Pfad(QStringLiteral("ordner.plv"))})));
    EXPECT_FALSE(Ablegen(*Dateien({Rohdatei(QStringLiteral("bild.bmp"), QByteArray(59, 'x'))})));
    EXPECT_TRUE(frage.Gemeldet.empty());

    frage.Antworten.push_back(MsgAntwort::Abbrechen);
    EXPECT_TRUE(Ablegen(*Dateien({z})));
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Text, QStringLiteral("Änderungen speichern?"));
    EXPECT_EQ(frage.Gemeldet[0].Knoepfe, MsgKnoepfe::JaNeinAbbrechen);

    // Nothing changed by any of them.
    EXPECT_EQ(mod.KoerperStart, geaendert);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.DateiName, a);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [a.plv]"));
    EXPECT_EQ(Inhalt(a), BytesAusKoerpern(Sonnensystem()));

    frage.Antworten.push_back(MsgAntwort::Nein);
    EXPECT_TRUE(Ablegen(*Dateien({z})));
    EXPECT_EQ(mod.KoerperStart, Zwillinge());
    EXPECT_EQ(mod.DateiName, z);
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [z.plv]"));
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(cdg.Aufrufe.size(), 1u);   // only the first Open used the dialog
}

TEST_F(Oeffnen, EveryExampleOpensFromTheMenuAtHalfADayAndIsSavedOnlyUnderANameOfTheUsersOwn)
{
    // The build tree holds the examples where an installation does, beside the program.
    QMenu* menue = Menue("menBeispiele")->menu();
    ASSERT_NE(menue, nullptr);
    EXPECT_TRUE(Menue("menBeispiele")->isEnabled());
    QStringList titel;
    for (const QAction* a : menue->actions())
        titel << a->text();
    EXPECT_EQ(titel, QStringList({QStringLiteral("&Innere Planeten"), QStringLiteral("&Sonne, Erde und Mond"),
                                  QStringLiteral("&Doppelstern mit Planet"), QStringLiteral("D&rei Sterne auf einer Acht"),
                                  QStringLiteral("&Planetoidenring"), QStringLiteral("Sonne, &Jupiter und Trojaner")}));

    // Changed bodies are asked about first; "Abbrechen" keeps everything.
    FensterProbe::Oeffnen(Datei(QStringLiteral("eigen.plv"), Sonnensystem()));
    Aendern();
    frage.Antworten = {MsgAntwort::Abbrechen};
    menue->actions()[0]->trigger();
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Text, QStringLiteral("Änderungen speichern?"));
    EXPECT_EQ(mod.Intervall, 2.0);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [eigen.plv]"));
    dok.Abschliessen();

    const QDir quelle(QStringLiteral(PLAVO_BEISPIELORDNER));
    for (QAction* a : menue->actions()) {
        dok.IntervallSetzen(2);
        // Whatever the section was, an example opens with all its bodies in
        // view and round circles.
        frm->AusschnittSetzen({0.1, 3, 20, -20});
        a->trigger();
        const QString name = QFileInfo(a->data().toString()).fileName();
        SCOPED_TRACE(name.toStdString());
        const Ausschnitt& zu = frm->ansicht().Aktuell();
        const QSize pixel = frm->picPlavo().Flaeche().Groesse();
        EXPECT_NEAR(zu.Hoehe / zu.Breite, double(pixel.height()) / pixel.width(), 1e-12);
        // Each body's circle about the centre of mass, as it goes round.
        double m = 0, mx = 0, my = 0;
        for (const Koerper& k : mod.KoerperStart) {
            m += k.Masse;
            mx += k.Masse * k.X / 1.5e11;
            my += k.Masse * k.Y / 1.5e11;
        }
        for (const Koerper& k : mod.KoerperStart) {
            const double r = std::hypot(k.X / 1.5e11 - mx / m, k.Y / 1.5e11 - my / m);
            EXPECT_GT(mx / m - r, zu.Links());
            EXPECT_LT(mx / m + r, zu.Rechts());
            EXPECT_GT(my / m - r, zu.Oben());
            EXPECT_LT(my / m + r, zu.Unten());
        }
        EXPECT_EQ(Inhalt(a->data().toString()), Inhalt(quelle.filePath(name)));
        EXPECT_EQ(BytesAusKoerpern(mod.KoerperStart), Inhalt(quelle.filePath(name)));
        EXPECT_EQ(mod.Intervall, 0.5);
        EXPECT_EQ(Titel(), QStringLiteral("Plavo - [%1]").arg(name));
        EXPECT_TRUE(mod.Gespeichert);
        EXPECT_EQ(frm->Schrittzahl(), 0);
    }
    const QString beispiel = mod.DateiName;
    const QByteArray vorher = Inhalt(beispiel);

    // Every save dialog proposes a folder of the user's, never the examples'.
    const auto benutzerOrdner = [](QStandardPaths::StandardLocation ort) {
        const QString o = QStandardPaths::writableLocation(ort);
        return QFileInfo(o).isDir() ? o : QDir::homePath();
    };
    cdg.Aufrufe.clear();
    cdg.Antworten = {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    frm->menSpUnter_Click();
    frm->menBild_Click();
    frm->menBahndaten_Click();
    Filmdialog film(cdg, frage, {}, QSize(160, 90), mod.DateiName);
    film.findChild<QPushButton*>(QStringLiteral("durchsuchen"))->click();
    film.findChild<QComboBox*>(QStringLiteral("format"))->setCurrentIndex(int(Filmformat::PngSerie));
    film.findChild<QPushButton*>(QStringLiteral("durchsuchen"))->click();
    ASSERT_EQ(cdg.Aufrufe.size(), 5u);
    const std::pair<QStandardPaths::StandardLocation, const char*> erwartet[] = {
        {QStandardPaths::DocumentsLocation, "trojaner.plv"},
        {QStandardPaths::PicturesLocation, "trojaner.bmp"},
        {QStandardPaths::DocumentsLocation, "trojaner.csv"},
        {QStandardPaths::MoviesLocation, "trojaner.mp4"},
        {QStandardPaths::PicturesLocation, "trojaner"}};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(cdg.Aufrufe[i].FileName, QDir(benutzerOrdner(erwartet[i].first)).filePath(QString::fromUtf8(erwartet[i].second)));

    // Save asks for a name, unchanged or changed, and so does the prompt's "Ja".
    cdg.Aufrufe.clear();
    cdg.Antworten = {std::nullopt};
    frm->menSpeichern_Click();
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Save"));
    Aendern();
    frage.Antworten = {MsgAntwort::Ja};
    cdg.Antworten = {std::nullopt};
    frm->menNeu_Click();
    EXPECT_EQ(cdg.Aufrufe.size(), 2u);
    EXPECT_FALSE(mod.Gespeichert) << "a Ja that saved nothing keeps the changes";
    const QString mein = Pfad(QStringLiteral("mein_ring.plv"));
    cdg.Antworten = {mein};
    frm->menSpeichern_Click();
    EXPECT_EQ(Inhalt(mein), BytesAusKoerpern(mod.KoerperStart));
    EXPECT_EQ(Inhalt(beispiel), vorher) << "the example itself is never written";
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [mein_ring.plv]"));

    // Under its own name it is a document like any other: Save writes without asking.
    Aendern();
    frm->menSpeichern_Click();
    EXPECT_EQ(cdg.Aufrufe.size(), 3u);
    EXPECT_EQ(Inhalt(mein), BytesAusKoerpern(mod.KoerperStart));
}

TEST_F(Oeffnen, ExamplesAreFoundBesideTheProgramAndTheirMenuIsDisabledWithout)
{
    QDir(ordner.path()).mkpath(QStringLiteral("bin"));
    const QString programm = Pfad(QStringLiteral("bin"));
    EXPECT_EQ(BeispielOrdner(programm), QString());
    const QString beispiele = QDir::cleanPath(QDir(programm).filePath(QStringLiteral(PLAVO_BEISPIELE_RELATIV)));
    ASSERT_TRUE(QDir().mkpath(beispiele));
    Rohdatei(QDir(ordner.path()).relativeFilePath(beispiele + QStringLiteral("/achterbahn.plv")), QByteArray(59, 0));
    Rohdatei(QDir(ordner.path()).relativeFilePath(beispiele + QStringLiteral("/fremd.plv")), QByteArray(59, 0));
    EXPECT_EQ(BeispielOrdner(programm), beispiele);
    const std::vector<Beispieldatei> gefunden = BeispieleIn(beispiele);
    ASSERT_EQ(gefunden.size(), 1u) << "only the shipped examples";
    EXPECT_EQ(gefunden[0].Titel, QStringLiteral("D&rei Sterne auf einer Acht"));

    QMenu menue;
    QString geoeffnet;
    BeispielmenueFuellen(menue, gefunden, [&](const QString& p) { geoeffnet = p; });
    EXPECT_TRUE(menue.menuAction()->isEnabled());
    menue.actions()[0]->trigger();
    EXPECT_EQ(geoeffnet, QFileInfo(beispiele + QStringLiteral("/achterbahn.plv")).absoluteFilePath());
    BeispielmenueFuellen(menue, BeispieleIn(BeispielOrdner(Pfad(QStringLiteral("nirgends/bin")))), {});
    EXPECT_TRUE(menue.actions().isEmpty());
    EXPECT_FALSE(menue.menuAction()->isEnabled());
}
