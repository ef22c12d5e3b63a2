// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/dokumentbefehle.h"
#include "mainwindow/titel.h"
#include "support/fensterprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace {

class Dokumentprobe : public FensterProbe {
protected:
    // The unsaved-changes prompt was shown once, with these buttons.
    void EinmalGefragt(MsgKnoepfe knoepfe)
    {
        ASSERT_EQ(frage.Gemeldet.size(), 1u);
        EXPECT_EQ(frage.Gemeldet[0].Text, QStringLiteral("Änderungen speichern?"));
        EXPECT_EQ(frage.Gemeldet[0].Titel, QStringLiteral("Plavo"));
        EXPECT_EQ(frage.Gemeldet[0].Symbol, MsgSymbol::Frage);
        EXPECT_EQ(frage.Gemeldet[0].Knoepfe, knoepfe);
    }
    // A titled document with unsaved changes: a.plv holds the Sonnensystem.
    QString GeaendertesDokument()
    {
        const QString a = Datei(QStringLiteral("a.plv"), Sonnensystem());
        Oeffnen(a);
        Aendern();
        cdg.Aufrufe.clear();
        return a;
    }
    bool Schliessen()
    {
        QCloseEvent e;
        QCoreApplication::sendEvent(frm.get(), &e);
        return e.isAccepted();
    }
};

}  // namespace

// Save of a fresh program asks and writes its one record; afterwards it
// writes only a changed document, without asking.
TEST_F(Dokumentprobe, SaveAsksOnlyForANameAndWritesOnlyChanges)
{
    EXPECT_EQ(Titel(), QStringLiteral("Plavo"));
    const QString p = Pfad(QStringLiteral("neu.plv"));
    cdg.Antworten.push_back(p);
    frm->menSpeichern_Click();
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Save"));
    EXPECT_EQ(Inhalt(p), QByteArray(59, '\0'));
    EXPECT_EQ(mod.DateiName, p);
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [neu.plv]"));
    EXPECT_TRUE(frage.Gemeldet.empty());

    // Unchanged: nothing is written, even over a file changed meanwhile.
    const QByteArray fremd = BytesAusKoerpern(Zwillinge());
    Rohdatei(QStringLiteral("neu.plv"), fremd);
    frm->menSpeichern_Click();
    EXPECT_EQ(Inhalt(p), fremd);

    Aendern();
    frm->menSpeichern_Click();
    EXPECT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(Inhalt(p), BytesAusKoerpern(mod.KoerperStart));
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [neu.plv]"));
}

TEST_F(Dokumentprobe, SaveAsSetsFilterEveryTimeAndProposesTheLastChoice)
{
    const QString a = GeaendertesDokument();
    // The picture export left its own settings in the shared dialog.
    cdg.Filter = QStringLiteral("Bitmap (*.bmp)|*.bmp");
    cdg.DefaultExt = QStringLiteral("*.bmp");
    cdg.FileName = Pfad(QStringLiteral("bild.bmp"));

    cdg.Antworten.push_back(std::nullopt);
    frm->menSpUnter_Click();
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Save"));
    EXPECT_EQ(cdg.Aufrufe[0].Filter, QStringLiteral("Plavo-Dateien (*.plv)|*.plv"));
    EXPECT_EQ(cdg.Aufrufe[0].DefaultExt, QStringLiteral("*.plv"));
    EXPECT_EQ(cdg.Aufrufe[0].FileName, a) << "the body file, never the picture left in the dialog";
    // Cancelled: nothing changes.
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.DateiName, a);

    const QString b = Pfad(QStringLiteral("b.plv"));
    cdg.Antworten.push_back(b);
    frm->menSpUnter_Click();
    EXPECT_EQ(Inhalt(b), BytesAusKoerpern(mod.KoerperStart));
    EXPECT_EQ(mod.DateiName, b);
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [b.plv]"));

    // Save as asks also when nothing changed.
    cdg.Antworten.push_back(std::nullopt);
    frm->menSpUnter_Click();
    EXPECT_EQ(cdg.Aufrufe.size(), 3u);
    EXPECT_EQ(cdg.Aufrufe[2].FileName, b);
}

TEST_F(Dokumentprobe, AFailedWriteIsReportedAndChangesNothing)
{
    const QString a = GeaendertesDokument();
    const QByteArray vorher = Inhalt(a);

    cdg.Antworten.push_back(Pfad(QStringLiteral("fehlt/b.plv")));
    frm->menSpUnter_Click();
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_EQ(frage.Gemeldet[0].Knoepfe, MsgKnoepfe::OK);
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("b.plv")));
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.DateiName, a);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [a.plv]"));
    EXPECT_EQ(Inhalt(a), vorher);

    // The same for Save, when the folder of the document has gone.
    ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("weg")));
    dok.Laden(Datei(QStringLiteral("weg/a.plv"), Sonnensystem()), Sonnensystem());
    Aendern();
    ASSERT_TRUE(QDir(Pfad(QStringLiteral("weg"))).removeRecursively());
    frm->menSpeichern_Click();
    EXPECT_EQ(frage.Gemeldet.size(), 2u);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [a.plv]"));
}

TEST_F(Dokumentprobe, NewEmptiesTheDocumentButLeavesTheRunAlone)
{
    Oeffnen(Datei(QStringLiteral("a.plv"), Sonnensystem()));
    frm->menSimStart_Click();
    frm->menStart_Click();
    tim.Ticken();
    tim.Ticken();
    dok.IntervallSetzen(3);

    frm->menNeu_Click();
    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
    EXPECT_EQ(frm->lauf().Stand().KoerperSim, KoerperSatz{Koerper{}});
    EXPECT_TRUE(mod.DateiName.isEmpty());
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo"));
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(frm->Schrittzahl(), 2);
    EXPECT_EQ(mod.Intervall, 3);
    EXPECT_TRUE(Menue("menSimStart")->isChecked());
}

// New, Exit and the window's close box: unchanged they go through without a
// question; with changes they ask once. Abbrechen keeps everything, Nein
// discards, Ja on a titled document saves without a dialog.
TEST_F(Dokumentprobe, NewExitAndCloseAskAboutChangesWithCancel)
{
    const std::pair<const char*, std::function<bool()>> befehle[] = {
        {"Neu", [this] { frm->menNeu_Click(); return mod.DateiName.isEmpty(); }},
        {"Ende", [this] { const int vorher = beendet; frm->menEnde_Click(); return beendet == vorher + 1; }},
        {"Schliessen", [this] { return Schliessen(); }},
    };
    for (const auto& [name, befehl] : befehle) {
        SCOPED_TRACE(name);
        frage.Gemeldet.clear();
        EXPECT_TRUE(befehl());
        EXPECT_TRUE(frage.Gemeldet.empty());

        const QString a = GeaendertesDokument();
        const KoerperSatz geaendert = mod.KoerperStart;
        frage.Antworten = {MsgAntwort::Abbrechen};
        EXPECT_FALSE(befehl());
        EinmalGefragt(MsgKnoepfe::JaNeinAbbrechen);
        EXPECT_EQ(mod.KoerperStart, geaendert);
        EXPECT_FALSE(mod.Gespeichert);
        EXPECT_EQ(Titel(), QStringLiteral("Plavo - [a.plv]"));

        frage.Antworten = {MsgAntwort::Nein};
        EXPECT_TRUE(befehl());
        EXPECT_EQ(Inhalt(a), BytesAusKoerpern(Sonnensystem()));
        if (name != std::string("Schliessen")) {
            EXPECT_TRUE(mod.Gespeichert) << "so that closing the window does not ask again";
            EXPECT_TRUE(Schliessen());
        }
        if (name == std::string("Neu")) {
            EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
        }

        dok.Laden(a, Sonnensystem());
        Aendern();
        const KoerperSatz gespeichert = mod.KoerperStart;
        frage.Antworten = {MsgAntwort::Ja};
        EXPECT_TRUE(befehl());
        EXPECT_TRUE(cdg.Aufrufe.empty());
        EXPECT_EQ(Inhalt(a), BytesAusKoerpern(gespeichert));
        EXPECT_TRUE(mod.Gespeichert);
        if (name == std::string("Neu")) {
            EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
            EXPECT_EQ(Titel(), QStringLiteral("Plavo"));
        }
    }
}

// Undo and redo go through the table's commits and new intervals, and the
// Bearbeiten menu names them. The document is saved exactly when it is back
// at what was last written: the prompt goes and comes with undo and redo,
// and a file saved after undoing holds the original's bytes. A new interval
// is not in the file and never asks. New starts with nothing to undo.
TEST_F(Dokumentprobe, UndoAndRedoFollowWhatWasSavedAndTheMenuNamesTheCommand)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString a = Datei(QStringLiteral("a.plv"), Sonnensystem());
    Oeffnen(a);
    QAction* rueck = Menue("menRückgängig");
    QAction* wieder = Menue("menWiederherstellen");
    EXPECT_EQ(rueck->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    EXPECT_EQ(wieder->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(rueck->isEnabled());
    EXPECT_EQ(rueck->text(), QStringLiteral("&Rückgängig"));

    frage.Eingaben = {QStringLiteral("3")};
    frm->menIntervall_Click();
    EXPECT_TRUE(mod.Gespeichert) << "the interval is not in the body file";
    Aendern();
    frage.Eingaben = {QStringLiteral("0,5")};
    frm->menIntervall_Click();
    EXPECT_EQ(rueck->text(), QStringLiteral("&Rückgängig: Berechnungsintervall 0,5"));
    rueck->trigger();
    EXPECT_EQ(mod.Intervall, 3.0);
    EXPECT_EQ(rueck->text(), QStringLiteral("&Rückgängig: Tabelle übernehmen"));
    EXPECT_EQ(wieder->text(), QStringLiteral("&Wiederherstellen: Berechnungsintervall 0,5"));
    EXPECT_FALSE(mod.Gespeichert);

    // Back at the file as it was opened: nothing to ask, and saved elsewhere it is the same file.
    rueck->trigger();
    EXPECT_TRUE(mod.Gespeichert);
    frm->menNeu_Click();
    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_EQ(mod.DateiName, QString());
    Oeffnen(a);
    Aendern();
    rueck->trigger();
    const QString b = Pfad(QStringLiteral("b.plv"));
    cdg.Antworten = {b};
    frm->menSpUnter_Click();
    EXPECT_EQ(Inhalt(b), Inhalt(a));

    // Redone past the file: the prompt is back; a cancelled save leaves it so.
    wieder->trigger();
    EXPECT_FALSE(mod.Gespeichert);
    cdg.Antworten = {std::nullopt};
    frm->menSpUnter_Click();
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(rueck->text(), QStringLiteral("&Rückgängig: Tabelle übernehmen"));
    frage.Antworten = {MsgAntwort::Abbrechen};
    frm->menNeu_Click();
    EinmalGefragt(MsgKnoepfe::JaNeinAbbrechen);

    frage.Antworten = {MsgAntwort::Nein};
    frm->menNeu_Click();
    EXPECT_FALSE(rueck->isEnabled());
    EXPECT_FALSE(wieder->isEnabled());
    QLocale::setDefault(QLocale::c());
}

// The real prompt over the shown window: Escape and the prompt's own close
// box keep the window and the changes; only an answer closes.
TEST(DokumentSchliessen, EscapeOrThePromptsCloseBoxKeepTheWindowOpen)
{
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptStandarddialog cdg;
    SkriptZeitgeber tim;
    FrmPlavoDienste d;
    d.cdgPlavo = &cdg;
    d.timPlavo = &tim;
    d.programmBeenden = [] {};
    FrmPlavo frm(dok, d);
    frm.show();
    Koerper fuenf;
    fuenf.Masse = 5;
    dok.KoerperUebernehmen({fuenf});

    QStringList knoepfe;
    // Answers the prompt once it is up, as a user would: a key to the
    // focused widget, or the close box.
    auto antworten = [&](std::function<void(QMessageBox&)> wie) {
        QTimer::singleShot(0, &frm, [&knoepfe, wie] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("Änderungen speichern?"));
            knoepfe.clear();
            for (QAbstractButton* b : box->buttons())
                knoepfe << b->text();
            wie(*box);
        });
        // A prompt left open would hang the test.
        QTimer::singleShot(5000, &frm, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
    };

    antworten([](QMessageBox& box) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box.focusWidget() ? box.focusWidget() : &box, &esc);
    });
    EXPECT_FALSE(frm.close());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_TRUE(knoepfe.contains(QStringLiteral("Abbrechen"))) << knoepfe.join(u',').toStdString();

    antworten([](QMessageBox& box) { box.close(); });
    EXPECT_FALSE(frm.close());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.KoerperStart[0].Masse, 5);

    antworten([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_TRUE(frm.close());
}
