// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/filmdialog.h"

#include "mainwindow/filmbefehle.h"
#include "mainwindow/frmplavo.h"
#include "sim/berechnung.h"
#include "support/filmlesen.h"
#include "support/koerperbau.h"
#include "support/skriptdialog.h"
#include "support/skriptzeitgeber.h"
#include "view/filmaufzeichnung.h"
#include "view/picplavo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QLocale>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

namespace {
template <typename T>
T* Feld(const Filmdialog& d, const char* name)
{
    T* feld = d.findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(feld) << name;
    return feld;
}
}  // namespace

TEST(Filmdialog, OffersWhatCanBeWrittenAsksForATargetBesideTheDocumentAndNeverTakesTheBodyFile)
{
    QTemporaryDir ordner;
    const QString dokument = ordner.filePath(QStringLiteral("system.plv"));
    QFile(dokument).open(QIODevice::WriteOnly);
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    const QString fehlt = QStringLiteral("Der installierten Bibliothek libavcodec fehlt ein VP9-Kodierer.");
    Filmdialog d(cdg, frage, {QString(), fehlt, QString(), QString()}, QSize(161, 91), dokument);

    // The defaults; a format that cannot be written is disabled and says why.
    const Filmwahl w = d.Wahl();
    EXPECT_EQ(w.Format, Filmformat::Mp4);
    EXPECT_EQ(w.Groesse, Filmgroesse::WieBild);
    EXPECT_EQ(w.SchritteProBild, 1);
    EXPECT_EQ(w.Bildrate, 30);
    EXPECT_TRUE(w.TageZeigen && w.KoerperZeigen && w.MassstabZeigen);
    EXPECT_EQ(Feld<QComboBox>(d, "groesse")->itemText(0), QStringLiteral("wie das Bild (160 × 90)"));
    EXPECT_EQ(Feld<QSpinBox>(d, "bildrate")->minimum(), 10);
    EXPECT_EQ(Feld<QSpinBox>(d, "bildrate")->maximum(), 60);
    auto* modell = qobject_cast<QStandardItemModel*>(Feld<QComboBox>(d, "format")->model());
    ASSERT_TRUE(modell);
    EXPECT_FALSE(modell->item(1)->isEnabled());
    EXPECT_EQ(modell->item(1)->toolTip(), fehlt);
    EXPECT_TRUE(modell->item(3)->isEnabled());
    Filmwahl webm;
    webm.Format = Filmformat::WebM;
    d.Vorschlagen(webm);
    EXPECT_EQ(d.Wahl().Format, Filmformat::Mp4);

    // "Film rechnen" without a target asks for one, proposing the document's
    // name; the body file itself is refused and the dialog stays open.
    cdg.Antworten = {dokument};
    Feld<QPushButton>(d, "filmRechnen")->click();
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Filter, QStringLiteral("MP4-Videos (*.mp4)|*.mp4"));
    EXPECT_EQ(cdg.Aufrufe[0].FileName, ordner.filePath(QStringLiteral("system.mp4")));
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("Körperdatei")));
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Wahl().Ziel.isEmpty());

    // Cancelling the save dialog keeps the dialog open too.
    cdg.Antworten = {std::nullopt};
    Feld<QPushButton>(d, "aufnahmeStarten")->click();
    EXPECT_NE(d.result(), QDialog::Accepted);

    const QString film = ordner.filePath(QStringLiteral("film.mp4"));
    cdg.Antworten = {film};
    Feld<QSpinBox>(d, "schritte")->setValue(250);
    Feld<QCheckBox>(d, "tage")->setChecked(false);
    Feld<QPushButton>(d, "filmRechnen")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    Filmwahl r = d.Wahl();
    EXPECT_EQ(r.Ablauf, Filmwahl::Art::Rechnen);
    EXPECT_EQ(r.Ziel, film);
    EXPECT_EQ(r.Schritte, 250);
    EXPECT_FALSE(r.TageZeigen);

    // A film kept from last time is replaced only when the user says so.
    QFile(film).open(QIODevice::WriteOnly);
    Filmdialog wieder(cdg, frage, {}, QSize(640, 480), dokument);
    wieder.Vorschlagen(r);
    frage.Antworten = {MsgAntwort::Nein};
    Feld<QPushButton>(wieder, "aufnahmeStarten")->click();
    EXPECT_NE(wieder.result(), QDialog::Accepted);
    EXPECT_TRUE(frage.Gemeldet.back().Text.contains(QStringLiteral("Soll der Film die Datei ersetzen?")));
    frage.Antworten = {MsgAntwort::Ja};
    Feld<QPushButton>(wieder, "aufnahmeStarten")->click();
    EXPECT_EQ(wieder.result(), QDialog::Accepted);

    // Enter starts the recording, the dialog's default, not the target's "Durchsuchen...".
    Filmdialog enter(cdg, frage, {}, QSize(640, 480), dokument);
    enter.Vorschlagen(r);
    // Where the window manager puts the focus when the dialog comes up.
    Feld<QComboBox>(enter, "format")->setFocus();
    enter.show();
    QApplication::processEvents();
    const std::size_t gefragt = cdg.Aufrufe.size();
    frage.Antworten = {MsgAntwort::Ja};
    QKeyEvent taste(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Feld<QComboBox>(enter, "format"), &taste);
    EXPECT_EQ(enter.result(), QDialog::Accepted);
    EXPECT_EQ(enter.Wahl().Ablauf, Filmwahl::Art::Aufnahme);
    EXPECT_EQ(cdg.Aufrufe.size(), gefragt);

    // The frames read at one step as at many.
    QSpinBox* k = Feld<QSpinBox>(d, "schritteProBild");
    k->setValue(1);
    EXPECT_EQ(k->text(), QStringLiteral("jeden Schritt ein Bild"));
    k->setValue(3);
    EXPECT_EQ(k->text(), QStringLiteral("ein Bild alle 3 Schritte"));

    // The chosen name follows the format: a folder for the PNG series.
    Feld<QComboBox>(d, "format")->setCurrentIndex(int(Filmformat::PngSerie));
    EXPECT_EQ(d.Wahl().Ziel, ordner.filePath(QStringLiteral("film")));
    Feld<QComboBox>(d, "format")->setCurrentIndex(int(Filmformat::Gif));
    EXPECT_EQ(d.Wahl().Ziel, ordner.filePath(QStringLiteral("film.gif")));
}

namespace {
// Holds the worker with a task of its own, as a slow encoder would.
class Sperre {
public:
    explicit Sperre(Arbeiter& arbeiter)
        : arbeiter_(arbeiter)
    {
        Sperren();
    }
    ~Sperre() { Freigeben(); }
    void Sperren()
    {
        offen_ = std::make_shared<std::atomic<bool>>(false);
        arbeiter_.Abgeben({[o = offen_](const std::atomic<bool>&) {
                               while (!o->load())
                                   o->wait(false);
                           },
                           nullptr, {}});
    }
    void Freigeben()
    {
        offen_->store(true);
        offen_->notify_all();
    }

private:
    Arbeiter& arbeiter_;
    std::shared_ptr<std::atomic<bool>> offen_;
};

// The main window with a sun and an earth, scripted dialogs and timer, and
// the recording dialog answered with `wahl`.
struct Filmfenster : ::testing::Test {
    QTemporaryDir ordner;
    Dokument dok;
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    Filmwahl wahl;
    std::unique_ptr<FrmPlavo> frm;

    void SetUp() override
    {
        FrmPlavoDienste d;
        d.cdgPlavo = &cdg;
        d.rueckfragen = &frage;
        d.timPlavo = &tim;
        d.programmBeenden = [] {};
        d.filmFragen = [this](Filmdialog&) { return std::optional<Filmwahl>(wahl); };
        frm = std::make_unique<FrmPlavo>(dok, d);
        frm->show();
        frm->resize(400, 300);
        QApplication::processEvents();
        const double r = 0.75e11;
        dok.KoerperUebernehmen({NeuerKoerper(QStringLiteral("Sonne"), 332950, 0, 0, 0, 0, 0x0080FF),
                                NeuerKoerper(QStringLiteral("Erde"), 1, r, 0,
                                             std::sqrt(GravitationsParameter * 332950 / r), 90, 0xFF0000)});
        // Without overlays a frame is the picture's trails.
        wahl.TageZeigen = wahl.KoerperZeigen = wahl.MassstabZeigen = false;
    }
    QString Pfad(const char* name) const { return ordner.filePath(QString::fromLatin1(name)); }
    // Until the film is closed.
    void Abwarten()
    {
        while (frm->film().Aufnahme())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    bool Aktiv(const char* name) const { return frm->Menue(QString::fromLatin1(name))->isEnabled(); }
};
}  // namespace

TEST_F(Filmfenster, ALiveFilmTakesEveryKthTickKeepsItsSizeIsFinishedBehindTheRunAndClosingAsksWhetherToKeepIt)
{
    const QSize groesse = FilmPixel(Filmgroesse::WieBild, frm->picPlavo().GeraetePixel());
    wahl.Ziel = Pfad("live.mp4");
    wahl.SchritteProBild = 2;
    EXPECT_TRUE(Aktiv("menFilm"));
    EXPECT_FALSE(Aktiv("menFilmEnde"));
    frm->menFilm_Click();
    // The recording starts the simulation with it.
    EXPECT_TRUE(tim.Enabled());
    EXPECT_FALSE(Aktiv("menFilm"));
    EXPECT_TRUE(Aktiv("menFilmEnde"));
    EXPECT_EQ(tim.Ticken(10), 10);
    // A larger window and a zoom redraw the picture; the film keeps its size and section.
    frm->resize(500, 380);
    frm->menVergroessern_Click();
    frm->NeuzeichnungAbschliessen();
    // A worker slower than the run: the run goes on while the frames wait.
    Sperre sperre(frm->arbeiter());
    EXPECT_EQ(tim.Ticken(10), 10);
    frm->menStop_Click();
    // The frames still pending are finished under a progress dialog, and the window stays usable.
    ASSERT_TRUE(frm->film().Fertigstellung());
    QProgressDialog* fortschritt = frm->film().Fertigstellung()->Fortschritt();
    ASSERT_TRUE(fortschritt);
    EXPECT_TRUE(fortschritt->isVisible());
    EXPECT_TRUE(fortschritt->labelText().contains(QStringLiteral("fertiggestellt"))) << fortschritt->labelText().toStdString();
    EXPECT_TRUE(fortschritt->labelText().contains(QStringLiteral("von 11"))) << fortschritt->labelText().toStdString();
    EXPECT_TRUE(frm->film().Aufnahme());
    EXPECT_FALSE(Aktiv("menFilm"));
    EXPECT_FALSE(Aktiv("menFilmEnde"));
    sperre.Freigeben();
    Abwarten();
    EXPECT_TRUE(Aktiv("menFilm"));
    const Dekodiert d = Dekodieren(wahl.Ziel);
    EXPECT_EQ(d.bilder, 11);   // step 0 and every second of 20
    EXPECT_EQ(d.groesse, groesse);

    // Closing while recording: Abbrechen keeps the window and the film
    // going; while finishing it asks again, and Nein drops the film and
    // leaves nothing of it.
    wahl.Ziel = Pfad("verworfen.mp4");
    frm->menFilm_Click();
    frm->NeuzeichnungAbschliessen();
    tim.Ticken(4);
    frage.Antworten = {MsgAntwort::Abbrechen};
    EXPECT_FALSE(frm->close());
    EXPECT_TRUE(frm->film().Aufnahme());
    EXPECT_TRUE(frage.Gemeldet.back().Text.contains(QStringLiteral("verworfen.mp4")));
    sperre.Sperren();
    tim.Ticken(4);
    frm->menStop_Click();
    ASSERT_TRUE(frm->film().Fertigstellung());
    frage.Antworten = {MsgAntwort::Nein, MsgAntwort::Nein};   // the film, then the changed bodies
    EXPECT_TRUE(frm->close());
    EXPECT_TRUE(frage.Gemeldet[frage.Gemeldet.size() - 2].Text.contains(QStringLiteral("wird noch fertiggestellt")));
    EXPECT_FALSE(frm->film().Aufnahme());
    sperre.Freigeben();
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("live.mp4")});

    // Ja keeps the whole film: the window closes once it is finished.
    frm->show();
    wahl.Ziel = Pfad("behalten.mp4");
    frm->menFilm_Click();
    frm->NeuzeichnungAbschliessen();
    sperre.Sperren();
    tim.Ticken(6);
    frage.Antworten = {MsgAntwort::Ja, MsgAntwort::Nein};
    QTimer::singleShot(0, [&sperre] { sperre.Freigeben(); });
    EXPECT_TRUE(frm->close());
    EXPECT_FALSE(frm->film().Aufnahme());
    EXPECT_EQ(Dekodieren(wahl.Ziel).bilder, 4);
}

TEST_F(Filmfenster, ACancelledFilmRechnenLeavesAPlayableShorterFilmAndTheRunAtItsLastStep)
{
    // An even picture, so the film has the picture's own size and section.
    const QSize p = frm->picPlavo().GeraetePixel();
    frm->resize(frm->width() + p.width() % 2, frm->height() + p.height() % 2);
    QApplication::processEvents();
    frm->NeuzeichnungAbschliessen();
    ASSERT_EQ(frm->picPlavo().GeraetePixel(), GeradeGroesse(frm->picPlavo().GeraetePixel()));
    wahl.Ziel = Pfad("gerechnet.mp4");
    wahl.Ablauf = Filmwahl::Art::Rechnen;
    wahl.Schritte = 100000;
    frm->menFilm_Click();
    ASSERT_TRUE(frm->film().Rechnet());
    Filmrechnung* rechnung = frm->film().Rechnung();
    ASSERT_TRUE(rechnung->Fortschritt());
    while (frm->film().Rechnet() && rechnung->Gerechnet() < 40)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(tim.Enabled());
    EXPECT_TRUE(rechnung->Fortschritt()->labelText().contains(QStringLiteral("von ") + QLocale().toString(100001)))
        << rechnung->Fortschritt()->labelText().toStdString();
    // The user presses its Abbrechen.
    QPushButton* abbrechen = rechnung->Fortschritt()->findChild<QPushButton*>();
    ASSERT_TRUE(abbrechen);
    abbrechen->click();
    EXPECT_FALSE(frm->film().Aufnahme());

    // Every step computed is a frame, and the run stands at the last one.
    const int32_t schritte = frm->Schrittzahl();
    EXPECT_GE(schritte, 40);
    EXPECT_LT(schritte, 100000);
    const Dekodiert d = Dekodieren(wahl.Ziel);
    EXPECT_EQ(d.bilder, schritte + 1);
    ASSERT_FALSE(d.letztes.isNull());
    const QImage bild = frm->picPlavo().Flaeche().Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(Abweichung(d.letztes, bild), 3);
    // The picture is the run's at that step: a redraw changes nothing.
    frm->lauf().Neuzeichnen();
    frm->NeuzeichnungAbschliessen();
    EXPECT_EQ(frm->picPlavo().Flaeche().Image().convertToFormat(QImage::Format_RGB32), bild);
}

TEST_F(Filmfenster, ALiveFilmFollowsThePicturesFrameWhenItsBodyIsRemoved)
{
    // An even picture with a section of its own proportions, so the film
    // has the picture's own size and section.
    const QSize p = frm->picPlavo().GeraetePixel();
    frm->resize(frm->width() + p.width() % 2, frm->height() + p.height() % 2);
    QApplication::processEvents();
    const QSize g = frm->picPlavo().GeraetePixel();
    frm->AusschnittSetzen({3, 3.0 * g.height() / g.width(), 0, 0});
    // A heavy companion, so that the centre of mass moves.
    const Koerper sonne = dok.Daten().KoerperStart[0];
    const Koerper begleiter =
        NeuerKoerper(QStringLiteral("Begleiter"), 150000, -0.5e11, 0, 12000, 270, 0x00A000);
    dok.KoerperUebernehmen({sonne, dok.Daten().KoerperStart[1], begleiter});
    frm->NeuzeichnungAbschliessen();
    frm->KoerperFolgen(1);
    frm->NeuzeichnungAbschliessen();
    wahl.Format = Filmformat::PngSerie;
    wahl.Ziel = Pfad("serie");
    frm->menFilm_Click();
    frm->NeuzeichnungAbschliessen();
    tim.Ticken(3);
    // The earth goes: the picture falls back to the centre of mass, and so does the film.
    dok.KoerperUebernehmen({sonne, begleiter});
    frm->NeuzeichnungAbschliessen();
    ASSERT_EQ(frm->picPlavo().Bezug().Typ(), Bezugssystem::Art::Schwerpunkt);
    tim.Ticken(6);
    const QImage bild = frm->picPlavo().Flaeche().Image().convertToFormat(QImage::Format_RGB32);
    frm->menStop_Click();
    Abwarten();
    const QStringList bilder = QDir(wahl.Ziel).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(bilder.isEmpty());
    EXPECT_EQ(QImage(QDir(wahl.Ziel).filePath(bilder.back())).convertToFormat(QImage::Format_RGB32), bild);
}
