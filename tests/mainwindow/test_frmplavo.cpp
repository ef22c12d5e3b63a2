// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/frmanleitung.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/frmplavo.h"
#include "mainwindow/statusleiste.h"
#include "mainwindow/titel.h"
#include "model/koerperdatei.h"
#include "model/zahltext.h"
#include "sim/aufbau.h"
#include "sim/kernwahl.h"
#include "support/koerperbau.h"
#include "support/skriptdialog.h"
#include "support/skriptzeitgeber.h"
#include "view/ausschnittumalle.h"
#include "view/koerperpunkte.h"
#include "view/picplavo.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QFontMetrics>
#include <QDeadlineTimer>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QToolTip>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <functional>
#include <limits>
#include <random>
#include <numbers>

namespace {

Koerper Planet(double masse, double x, double y, double v, double richtung, int32_t farbe)
{
    return NeuerKoerper(QStringLiteral("K"), masse, x, y, v, richtung, farbe);
}

// A sun and an earth on a circular orbit of half an AE.
KoerperSatz SonneUndErde()
{
    const double r = 0.75e11;
    return {Planet(332950, 0, 0, 0, 0, 0x0080FF), Planet(1, r, 0, std::sqrt(3.986659e14 * 332950 / r), 90, 0xFF0000)};
}

struct Fenster : ::testing::Test {
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    std::function<void()> tabelle;   // what the table window does while shown
    std::unique_ptr<FrmPlavo> frm;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        frm = std::make_unique<FrmPlavo>(dok, FrmPlavoDienste{&cdg, &frage, &tim, [this] {
                                                                  if (tabelle)
                                                                      tabelle();
                                                              },
                                                              {}, {}});
        frm->show();
        frm->resize(400, 300);
        QApplication::processEvents();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    const QImage& Bild() { return frm->picPlavo().Flaeche().Image(); }
    void Eingaben(std::initializer_list<std::optional<QString>> e) { frage.Eingaben = e; }
};

int Gefaerbt(const QImage& bild)
{
    int n = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            n += bild.pixel(x, y) != 0xFFFFFFFF;
    return n;
}

}  // namespace

TEST_F(Fenster, MenuTreeInDisplayOrder)
{
    QStringList zeilen;
    for (QAction* oben : frm->menuBar()->actions()) {
        zeilen << oben->objectName() + QLatin1Char('|') + oben->text();
        for (QAction* a : oben->menu()->actions()) {
            zeilen << QStringLiteral("  ") + a->objectName() + QLatin1Char('|') + (a->isSeparator() ? QStringLiteral("-") : a->text())
                          + QLatin1Char('|') + a->shortcut().toString(QKeySequence::PortableText)
                          + (a->isChecked() ? QStringLiteral("|x") : QString());
            if (a->menu())
                for (QAction* u : a->menu()->actions())
                    zeilen << QStringLiteral("    ") + u->objectName() + QLatin1Char('|') + u->text() + QLatin1Char('|')
                                  + (u->isChecked() ? QStringLiteral("x") : QString());
        }
    }
    const QStringList erwartet = QString::fromUtf8(
        "menDatei|&Datei\n"
        "  menNeu|&Neu|Ctrl+N\n"
        "  menÖffnen|Ö&ffnen...|Ctrl+O\n"
        "  menSpeichern|&Speichern|Ctrl+S\n"
        "  menSpUnter|Speichern &unter...|\n"
        "  menDatei0|-|\n"
        "  menBild|&Bild speichern...|\n"
        "  menDrucken|&Drucken...|Ctrl+P\n"
        "  menBahndaten|Bahndaten e&xportieren...|\n"
        "  menFilm|Fil&m aufnehmen...|\n"
        "  menFilmEnde|&Aufnahme beenden|\n"
        "  menBeispiele|Beis&piele|\n"
        "    |&Innere Planeten|\n"
        "    |&Sonne, Erde und Mond|\n"
        "    |&Doppelstern mit Planet|\n"
        "    |D&rei Sterne auf einer Acht|\n"
        "    |&Planetoidenring|\n"
        "    |Sonne, &Jupiter und Trojaner|\n"
        "  menDatei1|-|\n"
        "  menEnde|Be&enden|\n"
        "menBearbeiten|&Bearbeiten\n"
        "  menRückgängig|&Rückgängig|Alt+Backspace\n"
        "  menWiederherstellen|&Wiederherstellen|Ctrl+Y\n"
        "  menBearbeiten0|-|\n"
        "  menStartzustand|Als &Startzustand übernehmen|\n"
        "  menImpulsNull|Gesamt&impuls null setzen|\n"
        "  menSperren|Bearbeitung s&perren|\n"
        "menSimulation|&Simulation\n"
        "  menTabelle|&Tabelle anzeigen|Ctrl+T\n"
        "  menZurück|&Zurücksetzen|Ctrl+R\n"
        "  menStart|&Starten|F5\n"
        "  menStop|&Anhalten|Ctrl+Q\n"
        "  menEinzelschritt|E&inzelschritt|F6\n"
        "  menEnergie|Energie&bilanz|Ctrl+E\n"
        "menOptionen|&Optionen\n"
        "  menAusschnitt|&Bildauschnitt...|Ctrl+A\n"
        "  menTimer|&Verzögerungszeit...|Ctrl+Z\n"
        "  menIntervall|Berechnungs&intervall...|Ctrl+I\n"
        "  menBeiÖffnen|beim Ö&ffnen|\n"
        "    menWarten|auf Eingabe warten|x\n"
        "    menTabAnz|Tabelle anzeigen|\n"
        "    menSimStart|Simulation starten|\n"
        "  menAlleZeigen|A&lle Körper zeigen|Ctrl+L\n"
        "  menOptionen0|-|\n"
        "  menVergroessern|Ver&größern|Ctrl++\n"
        "  menVerkleinern|Ver&kleinern|Ctrl+-\n"
        "  menRund|Kreise &rund halten|\n"
        "  menKoerperZeigen|Körper &zeigen||x\n"
        "  menNamen|&Namen anzeigen|\n"
        "  menGeschwindigkeiten|Gesch&windigkeiten zeigen|\n"
        "  menBeschleunigungen|Beschleunig&ungen zeigen|\n"
        "  menOptionen1|-|\n"
        "  menBezug|&Bezugssystem|\n"
        "    menBezugFest|&Fest|x\n"
        "    menBezugSchwerpunkt|&Schwerpunkt|\n"
        "    menBezugKoerper|&Körper...|\n"
        "    menBezugMitrotierend|&Mitrotierend...|\n"
        "  menLagrange|Lagrange-Punkte zeigen|\n"
        "menHilfe|&Hilfe\n"
        "  menAnleitung|&Anleitung|F1\n"
        "  menHilfe0|-|\n"
        "  menUeber|Über &Plavo|\n"
        "  menUeberQt|Über &Qt|")
                                     .split(QLatin1Char('\n'));
    EXPECT_EQ(zeilen, erwartet) << zeilen.join(QLatin1Char('\n')).toStdString();

    // Within each menu every access key leads to one item only, but for the
    // frame's submenu, whose caption is given: its B shares the section's,
    // and a second press of B moves on to it.
    std::function<void(const QList<QAction*>&)> eindeutig = [&](const QList<QAction*>& eintraege) {
        QStringList tasten;
        for (const QAction* a : eintraege) {
            const qsizetype i = a->text().indexOf(QLatin1Char('&'));
            if (i >= 0 && a->text() != QStringLiteral("&Bezugssystem")) {
                const QString taste = a->text().mid(i + 1, 1).toLower();
                EXPECT_FALSE(tasten.contains(taste)) << a->text().toStdString();
                tasten << taste;
            }
            if (a->menu())
                eindeutig(a->menu()->actions());
        }
    };
    eindeutig(frm->menuBar()->actions());

    // Exactly one on-open choice is checked, whatever is clicked.
    frm->Menue(QStringLiteral("menTabAnz"))->trigger();
    frm->Menue(QStringLiteral("menTabAnz"))->trigger();
    EXPECT_TRUE(frm->Menue(QStringLiteral("menTabAnz"))->isChecked());
    EXPECT_FALSE(frm->Menue(QStringLiteral("menWarten"))->isChecked());
    frm->Menue(QStringLiteral("menSimStart"))->trigger();
    EXPECT_TRUE(frm->Menue(QStringLiteral("menSimStart"))->isChecked());
    EXPECT_FALSE(frm->Menue(QStringLiteral("menTabAnz"))->isChecked());
}

// The guide is compiled in with its pictures, so it shows wherever the
// program lies; "Über Plavo" names what a bug report needs.
TEST_F(Fenster, HelpShowsTheGuideInTheProgramAndAboutNamesLicenceQtAndKernel)
{
    frm->Menue(QStringLiteral("menAnleitung"))->trigger();
    auto* anleitung = frm->findChild<FrmAnleitung*>();
    ASSERT_NE(anleitung, nullptr);
    EXPECT_TRUE(anleitung->isVisible());
    const QString text = anleitung->Browser().toPlainText();
    for (const char* teil : {"Die ersten Minuten", "Menüs und Tastenkürzel", "Die Körpertabelle", "Die Energiebilanz",
                             "Bahndaten", "Über Plavo"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(teil))) << teil;
    for (const char* bild : {"innere-planeten.png", "achterbahn.png", "namen-und-punkte.png", "trojaner.png"}) {
        const QVariant daten = anleitung->Browser().loadResource(QTextDocument::ImageResource, QUrl(QString::fromUtf8(bild)));
        EXPECT_FALSE(QImage::fromData(daten.toByteArray()).isNull()) << bild;
    }
    frm->Menue(QStringLiteral("menAnleitung"))->trigger();
    EXPECT_EQ(frm->findChildren<FrmAnleitung*>().size(), 1);

    frm->Menue(QStringLiteral("menUeber"))->trigger();
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Titel, QStringLiteral("Über Plavo"));
    const QString ueber = frage.Gemeldet[0].Text;
    EXPECT_TRUE(ueber.contains(QStringLiteral("GPL-3.0-or-later")));
    EXPECT_TRUE(ueber.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
    const char* satz = BefehlssatzVerfuegbar(Befehlssatz::Avx512) || BefehlssatzVerfuegbar(Befehlssatz::Avx2)
                           ? "AVX" : "ohne Vektorbefehle";
    EXPECT_TRUE(ueber.contains(QString::fromUtf8(satz))) << ueber.toStdString();
    EXPECT_TRUE(ueber.contains(QStringLiteral("Rechenkern"))) << ueber.toStdString();
}

TEST_F(Fenster, StartsWithItsDefaults)
{
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo"));
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(tim.Interval(), 100);
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(Bild().size(), frm->picPlavo().GeraetePixel());
    EXPECT_EQ(Gefaerbt(Bild()), 0);
    EXPECT_EQ(frm->picPlavo().Flaeche().ScaleWidth(), 2.0f);

    // A fresh program steps its one empty body: a black dot at the centre.
    frm->menStart_Click();
    EXPECT_EQ(tim.Ticken(1), 1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2 Tage"));
    EXPECT_EQ(Bild().pixel(Bild().width() / 2, Bild().height() / 2), qRgb(0, 0, 0));
    EXPECT_EQ(Gefaerbt(Bild()), 1);
}

TEST_F(Fenster, ADialogComingAndGoingRepaintsNothingAndAStepOnlyWhatItDrew)
{
    // Every repaint of a giant window takes seconds: one at each dialog
    // (the window turns inactive and active again) froze the program.
    struct Maler : QObject {
        QRegion gemalt;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                gemalt += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } maler;
    frm->picPlavo().installEventFilter(&maler);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    maler.gemalt = QRegion();
    for (QEvent::Type t : {QEvent::WindowDeactivate, QEvent::WindowActivate}) {
        QEvent e(t);
        QApplication::sendEvent(frm.get(), &e);
        QApplication::processEvents();
    }
    EXPECT_TRUE(maler.gemalt.isEmpty()) << maler.gemalt.boundingRect().width();

    // A step of the sun and its earth repaints around the earth's short piece of trail.
    dok.KoerperUebernehmen(SonneUndErde());
    frm->menStart_Click();
    tim.Ticken(1);
    QApplication::processEvents();
    maler.gemalt = QRegion();
    tim.Ticken(1);
    QApplication::processEvents();
    EXPECT_FALSE(maler.gemalt.isEmpty());
    EXPECT_LT(maler.gemalt.boundingRect().width() * maler.gemalt.boundingRect().height(),
              frm->picPlavo().width() * frm->picPlavo().height() / 20);
    frm->picPlavo().removeEventFilter(&maler);
}

TEST_F(Fenster, StopResumesWithoutAJumpAndResetRestartsFromTheDocument)
{
    dok.KoerperUebernehmen(SonneUndErde());
    frm->menStart_Click();
    tim.Ticken(5);
    frm->menStop_Click();
    EXPECT_EQ(tim.Ticken(3), 0);
    const Koerper erde = frm->lauf().Stand().KoerperSim[1];
    frm->menStart_Click();
    tim.Ticken(1);
    EXPECT_EQ(frm->Schrittzahl(), 6);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 12 Tage"));
    const Koerper& jetzt = frm->lauf().Stand().KoerperSim[1];
    EXPECT_NEAR(jetzt.X, erde.X + jetzt.Vx(), 1.0) << "resumed from where it stood";

    frm->menZurueck_Click();
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(Gefaerbt(Bild()), 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 12 Tage")) << "the caption waits for the next step";
    frm->menStart_Click();
    tim.Ticken(1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2 Tage"));
}

TEST_F(Fenster, ReplayAfterAResizeDrawsExactlyWhatTheRunDrew)
{
    KoerperSatz drei = SonneUndErde();
    drei.push_back(Planet(0.1, -0.5e11, 0.3e11, 2e4, 200, 0x00AA00));
    dok.KoerperUebernehmen(drei);
    frm->menStart_Click();
    tim.Ticken(150);
    const QImage live = Bild().copy();
    const QString titel = frm->windowTitle();
    ASSERT_GT(Gefaerbt(live), 100);

    frm->Form_Resize();
    EXPECT_EQ(Bild(), live);
    EXPECT_EQ(frm->Schrittzahl(), 150);
    EXPECT_EQ(frm->windowTitle(), titel);

    // A different size replays the same run at the new size.
    frm->resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(Bild().size(), frm->picPlavo().GeraetePixel());
    EXPECT_GT(Gefaerbt(Bild()), 100);
    EXPECT_EQ(frm->Schrittzahl(), 150);
}

TEST_F(Fenster, SectionMapsBodiesAsItsCornersSay)
{
    // Half an AE to the right and half an AE down: halfway to the right and bottom edges.
    dok.KoerperUebernehmen({Planet(0, 0.75e11, 0, 0, 0, 0xFF), Planet(0, 0, 0.75e11, 0, 0, 0xFF00)});
    frm->menStart_Click();
    tim.Ticken(1);
    const int w = Bild().width(), h = Bild().height();
    EXPECT_EQ(Bild().pixel(int(std::floor(0.75 * w)), h / 2), qRgb(255, 0, 0));
    EXPECT_EQ(Bild().pixel(w / 2, int(std::floor(0.75 * h))), qRgb(0, 255, 0));

    // Width 4 with x offset 1: the section runs from -1 to 3 AE; the rest is proposed as it is.
    Eingaben({QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0")});
    frm->menAusschnitt_Click();
    ASSERT_EQ(frage.Gefragt.size(), 4u);
    EXPECT_EQ(frage.Gefragt[0].Prompt, QStringLiteral("Breite des Ausschnitts (AE):"));
    EXPECT_EQ(frage.Gefragt[0].Vorgabe, QStringLiteral("2"));
    EXPECT_EQ(frage.Gefragt[1].Prompt, QStringLiteral("Höhe des Ausschnitts (AE):"));
    EXPECT_EQ(frage.Gefragt[3].Titel, QStringLiteral("Plavo"));
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, 4.0);
    EXPECT_EQ(frm->ansicht().Aktuell().XOffset, 1.0);
    // 0.5 AE lies at (0.5 + 1) / 4 of the width after the replay.
    EXPECT_EQ(Bild().pixel(int(std::floor(1.5 / 4 * w)), h / 2), qRgb(255, 0, 0));
    EXPECT_EQ(frm->Schrittzahl(), 1);

    // Every proposal has the digits its double needs: accepted, it keeps the
    // section exactly, also one that a zoom left with more than 15 digits.
    const QStringList schmal{QStringLiteral("0,08"), QStringLiteral("0,32"), QStringLiteral("0,972"),
                             QStringLiteral("0,155")};
    for (int runde = 0; runde < 2; ++runde) {
        Eingaben({schmal[0], schmal[1], schmal[2], schmal[3]});
        frm->menAusschnitt_Click();
    }
    ASSERT_EQ(frage.Gefragt.size(), 12u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frage.Gefragt[8 + size_t(i)].Vorgabe, schmal[i]) << i;
    EXPECT_EQ(frm->ansicht().Aktuell(), (Ausschnitt{0.08, 0.32, 0.972, 0.155}));
    frm->picPlavo_Mausrad(3, QPointF(0.3, 0.7));
    const Ausschnitt gezoomt = frm->ansicht().Aktuell();
    frage.VorgabeNehmen = true;
    frm->menAusschnitt_Click();
    ASSERT_EQ(frage.Gefragt.size(), 16u);
    EXPECT_GT(frage.Gefragt[14].Vorgabe.size(), 17) << frage.Gefragt[14].Vorgabe.toStdString();
    EXPECT_EQ(frm->ansicht().Aktuell(), gezoomt);
}

TEST_F(Fenster, AnswersThatAreNoNumbersChangeNothing)
{
    Eingaben({QStringLiteral("3"), std::nullopt});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, 3.0) << "answers already given stay";
    EXPECT_EQ(frm->ansicht().Aktuell().Hoehe, 2.0);
    EXPECT_EQ(frm->picPlavo().Flaeche().ScaleWidth(), 2.0f) << "the command ended without a redraw";

    Eingaben({QStringLiteral("0")});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, 3.0) << "a zero width is not taken";

    Eingaben({QStringLiteral("-2"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("0")});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, -2.0) << "a negative width mirrors";
    EXPECT_EQ(frm->picPlavo().Flaeche().ScaleWidth(), -2.0f);

    for (const char* schlecht : {"", "abc", "1.5", "-1", "3e9", "nan"}) {
        Eingaben({QString::fromUtf8(schlecht)});
        frm->menTimer_Click();
        EXPECT_EQ(tim.Interval(), 100) << schlecht;
    }
    Eingaben({std::nullopt, QStringLiteral("x")});
    frm->menIntervall_Click();
    frm->menIntervall_Click();
    EXPECT_EQ(mod.Intervall, 2.0);
    EXPECT_TRUE(frage.Gemeldet.empty()) << "quietly";
}

TEST_F(Fenster, DelayRoundsHalvesToEvenAndZeroPausesTheTicks)
{
    Eingaben({QStringLiteral("2,5")});
    frm->menTimer_Click();
    EXPECT_EQ(frage.Gefragt.back().Prompt, QStringLiteral("Neue Verzögerungszeit:"));
    EXPECT_EQ(frage.Gefragt.back().Vorgabe, QStringLiteral("100"));
    EXPECT_EQ(tim.Interval(), 2);
    Eingaben({QStringLiteral("3,5")});
    frm->menTimer_Click();
    EXPECT_EQ(tim.Interval(), 4);

    frm->menStart_Click();
    Eingaben({QStringLiteral("0")});
    frm->menTimer_Click();
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(tim.Ticken(5), 0);
    Eingaben({QStringLiteral("100")});
    frm->menTimer_Click();
    EXPECT_EQ(tim.Ticken(2), 2) << "runs again without Starten";
}

TEST_F(Fenster, ANewIntervalReachesTheCaptionAndTheNextReplay)
{
    dok.KoerperUebernehmen(SonneUndErde());
    frm->menStart_Click();
    tim.Ticken(4);
    Eingaben({QStringLiteral("0,5")});
    frm->menIntervall_Click();
    EXPECT_EQ(frage.Gefragt.back().Prompt, QStringLiteral("Neues Intervall zwischen zwei Berechnungen (Tage):"));
    EXPECT_EQ(frage.Gefragt.back().Vorgabe, QStringLiteral("2"));
    tim.Ticken(1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2,5 Tage"));

    frm->Form_Resize();
    const Koerper& erde = frm->lauf().Stand().KoerperSim[1];
    const double weg = std::hypot(erde.Vx(), erde.Vy());
    EXPECT_NEAR(weg, 0.5 * 86400 * mod.KoerperStart[1].Geschwindigkeit, 0.01 * weg)
        << "the replay rebuilt the displacements with the new interval";
}

TEST_F(Fenster, AFaultingStepStopsTheRunWithAMessage)
{
    dok.KoerperUebernehmen({Planet(1, 0, 0, 0, 0, 0), Planet(1, std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0)});
    frm->menStart_Click();
    EXPECT_TRUE(tim.Enabled());
    tim.Ticken(3);
    EXPECT_FALSE(tim.Enabled());
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_TRUE(frage.Gemeldet[0].Text.startsWith(QStringLiteral("Die Simulation wurde wegen eines Rechenfehlers angehalten")));
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo"));

    // A build that overflows never switches the timer on.
    dok.KoerperUebernehmen({Planet(1, 0, 0, 1e306, 0, 0)});
    frm->menZurueck_Click();
    frm->menStart_Click();
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(frage.Gemeldet.size(), 2u);
}

// A single step is exactly one tick: it builds the working set at step 0,
// draws what the run would draw and leaves the timer off; while the timer
// runs it is not offered.
TEST_F(Fenster, SingleStepIsOneTickAndOnlyWhileStopped)
{
    dok.KoerperUebernehmen(SonneUndErde());
    QAction* einzel = frm->Menue(QStringLiteral("menEinzelschritt"));
    ASSERT_TRUE(einzel->isEnabled());
    einzel->trigger();
    EXPECT_EQ(frm->Schrittzahl(), 1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2 Tage"));
    einzel->trigger();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 4 Tage"));
    EXPECT_FALSE(tim.Enabled());
    const QImage zweiSchritte = Bild();

    frm->menZurueck_Click();
    frm->menStart_Click();
    EXPECT_FALSE(einzel->isEnabled());
    frm->menSimStart_Click();   // stands for any path to the handler, e.g. the shortcut
    frm->menEinzelschritt_Click();
    EXPECT_EQ(frm->Schrittzahl(), 0) << "no step beside the running timer";
    tim.Ticken(2);
    EXPECT_EQ(Bild(), zweiSchritte);
    frm->menStop_Click();
    EXPECT_TRUE(einzel->isEnabled());

    // A step fault stops and reports as a tick's does, and the item is offered again.
    frm->menZurueck_Click();
    dok.KoerperUebernehmen({Planet(1, 0, 0, 0, 0, 0), Planet(1, std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0)});
    frm->menStart_Click();
    tim.Ticken(1);
    EXPECT_FALSE(tim.Enabled());
    EXPECT_TRUE(einzel->isEnabled());
    einzel->trigger();
    EXPECT_EQ(frage.Gemeldet.size(), 2u);
    EXPECT_EQ(frm->Schrittzahl(), 0);
}

// "Alle Körper zeigen" frames the bodies where they are, in a section of the
// picture's own shape, so a circle is drawn as a circle.
TEST_F(Fenster, AllBodiesInViewWithRoundCircles)
{
    // Four resting bodies on a circle of 3 AE around the origin.
    const double r = 4.5e11;
    dok.KoerperUebernehmen({Planet(0, r, 0, 0, 0, 0x0000FF), Planet(0, -r, 0, 0, 0, 0x0000FF),
                            Planet(0, 0, r, 0, 0, 0x0000FF), Planet(0, 0, -r, 0, 0, 0x0000FF)});
    frm->menAlleZeigen_Click();
    const QSize pixel = Bild().size();
    EXPECT_NEAR(frm->ansicht().Aktuell().Breite / frm->ansicht().Aktuell().Hoehe, double(pixel.width()) / pixel.height(), 1e-12);
    frm->menEinzelschritt_Click();
    int links = pixel.width(), rechts = -1, oben = pixel.height(), unten = -1;
    for (int y = 0; y < pixel.height(); ++y)
        for (int x = 0; x < pixel.width(); ++x)
            if (Bild().pixel(x, y) == qRgb(255, 0, 0)) {
                links = std::min(links, x);
                rechts = std::max(rechts, x);
                oben = std::min(oben, y);
                unten = std::max(unten, y);
            }
    ASSERT_GE(rechts, 0);
    EXPECT_GT(links, 0) << "inside, with a margin";
    EXPECT_GT(oben, 0);
    EXPECT_LT(rechts, pixel.width() - 1);
    EXPECT_LT(unten, pixel.height() - 1);
    EXPECT_NEAR(double(rechts - links), double(unten - oben), 1.0) << "a circle, not an ellipse";

    // Once a run has begun, the bodies are where the working set has them:
    // one body, 2 AE around it in the shorter direction.
    dok.KoerperUebernehmen({Planet(1, 3e11, -1.5e11, 1.5e11 / (10 * 2 * 86400.0), 0, 0)});
    frm->menZurueck_Click();
    for (int i = 0; i < 10; ++i)
        frm->menEinzelschritt_Click();
    frm->menAlleZeigen_Click();
    EXPECT_DOUBLE_EQ(std::min(frm->ansicht().Aktuell().Breite, frm->ansicht().Aktuell().Hoehe), 2.0);
    EXPECT_NEAR(frm->ansicht().Aktuell().XOffset, 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(frm->ansicht().Aktuell().YOffset, -1.0);
    EXPECT_EQ(frm->Schrittzahl(), 10) << "the new section replays the run";

    // A position that is no number: a message, and the section stays.
    frm->menZurueck_Click();
    dok.KoerperUebernehmen({Planet(1, std::numeric_limits<double>::infinity(), 0, 0, 0, 0)});
    frm->menAlleZeigen_Click();
    EXPECT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_NEAR(frm->ansicht().Aktuell().XOffset, 3.0, 1e-12);
}

namespace {

// Three bodies whose trails cross the default section quickly.
KoerperSatz DreiKoerper()
{
    KoerperSatz k = SonneUndErde();
    k.push_back(Planet(0.1, -0.5e11, 0.3e11, 3e4, 200, 0x00AA00));
    return k;
}

struct VolleWiedergabe {
    QImage bild;
    KoerperSatz sim;
};

// The redraw as it must look: the document set built afresh and n steps
// computed one by one onto an image of the window's size and section.
VolleWiedergabe Wiedergeben(FrmPlavo& frm, const ModPlavo& mod, int32_t n)
{
    Laufstand s;
    BildFlaeche f;
    f.GroesseSetzen(frm.picPlavo().GeraetePixel());
    const Ausschnitt& a = frm.ansicht().Aktuell();
    f.Scale(a.Links(), a.Oben(), a.Rechts(), a.Unten());
    EXPECT_EQ(KoerperSimAufbauen(mod, s), KeinFehler);
    Rechenwerk werk;
    for (int32_t i = 0; i < n; ++i) {
        const Schrittergebnis e = werk.Schritt(s);
        EXPECT_EQ(e.fehler, KeinFehler);
        f.Striche(e.striche);
    }
    return {f.Image().copy(), s.KoerperSim};
}

// A redraw works in slices of a few milliseconds; on a loaded machine one
// slice may not reach the end, so let the event loop finish it.
void RedrawAbwarten(FrmPlavo& frm)
{
    const QDeadlineTimer frist(20000);
    while (frm.NeuzeichnungLaeuft() && !frist.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

// Each redraw must show, bit for bit, what computing the whole run again shows.
#define ERWARTE_VOLLE_WIEDERGABE(was)                                                                 \
    do {                                                                                              \
        RedrawAbwarten(*frm);                                                                         \
        ASSERT_FALSE(frm->NeuzeichnungLaeuft()) << was;                                               \
        const VolleWiedergabe soll = Wiedergeben(*frm, mod, frm->Schrittzahl());                        \
        EXPECT_TRUE(Bild() == soll.bild) << was;                                                      \
        EXPECT_TRUE(BitGleich(frm->lauf().Stand().KoerperSim, soll.sim)) << was;                      \
        EXPECT_EQ(frm->windowTitle(), TitelText(frm->Schrittzahl(), mod.Intervall, mod.DateiName)) << was; \
    } while (0)

TEST_F(Fenster, RedrawFromKeptStrokesEqualsAFullReplayAtEverySizeAndSection)
{
    dok.KoerperUebernehmen(DreiKoerper());
    frm->menStart_Click();
    tim.Ticken(200);
    EXPECT_EQ(frm->lauf().Speicher().Schritte(), 200) << "the run kept its strokes";

    for (QSize groesse : {QSize(400, 300), QSize(250, 420), QSize(640, 200)}) {
        frm->resize(groesse);
        QApplication::processEvents();
        EXPECT_EQ(frm->Schrittzahl(), 200);
        ERWARTE_VOLLE_WIEDERGABE("size " << groesse.width() << 'x' << groesse.height());
    }
    // A close-up, then a mirrored and shifted section.
    Eingaben({QStringLiteral("0,8"), QStringLiteral("0,5"), QStringLiteral("0,3"), QStringLiteral("-0,1")});
    frm->menAusschnitt_Click();
    ERWARTE_VOLLE_WIEDERGABE("close-up");
    Eingaben({QStringLiteral("-3"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0")});
    frm->menAusschnitt_Click();
    ERWARTE_VOLLE_WIEDERGABE("mirrored");

    // The run goes on from the redrawn working set and keeps recording.
    tim.Ticken(20);
    EXPECT_EQ(frm->lauf().Speicher().Schritte(), 220);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("after going on");

    // A run longer than the budget keeps what fits; the rest is computed.
    frm->menZurueck_Click();
    frm->lauf().Speicher().BudgetSetzen(4096);
    frm->menStart_Click();
    tim.Ticken(200);
    EXPECT_GT(frm->lauf().Speicher().Schritte(), 10);
    EXPECT_LT(frm->lauf().Speicher().Schritte(), 200);
    EXPECT_LE(frm->lauf().Speicher().Bytes(), 4096u);
    frm->resize(300, 300);
    QApplication::processEvents();
    ERWARTE_VOLLE_WIEDERGABE("beyond the budget");
    EXPECT_LE(frm->lauf().Speicher().Bytes(), 4096u);
}

TEST_F(Fenster, AfterEveryCommandThatChangesTheRunTheRedrawStillEqualsAFullReplay)
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("zwei.plv"));
    ASSERT_TRUE(KoerperdateiSchreiben(datei, SonneUndErde()).ok());
    dok.KoerperUebernehmen(DreiKoerper());
    frm->menStart_Click();
    tim.Ticken(40);

    // A new interval while running: the replay uses it for every step.
    Eingaben({QStringLiteral("1")});
    frm->menIntervall_Click();
    EXPECT_FALSE(frm->lauf().Speicher().Gueltig());
    tim.Ticken(10);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("new interval");

    // The table's OK: the run goes on with the new bodies, replayed from
    // their start values up to its step count at once.
    tim.Ticken(10);
    tabelle = [this] { dok.KoerperUebernehmen(SonneUndErde()); };
    frm->menTabelle_Click();
    tabelle = {};
    EXPECT_EQ(frm->Schrittzahl(), 60);
    EXPECT_TRUE(frm->lauf().Speicher().Passt(mod, frm->lauf().Eingriffsliste())) << "the old bodies' record is gone";
    ERWARTE_VOLLE_WIEDERGABE("table's OK");
    // Its undo and its redo replay the run with the bodies before and after, as the OK did.
    frm->menRueckgaengig_Click();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, DreiKoerper()));
    EXPECT_EQ(frm->Schrittzahl(), 60);
    ERWARTE_VOLLE_WIEDERGABE("undone");
    frm->menWiederherstellen_Click();
    ERWARTE_VOLLE_WIEDERGABE("redone");
    tim.Ticken(10);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("table");

    frage.Antworten = {MsgAntwort::Nein};
    frm->menNeu_Click();
    tim.Ticken(5);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("new document");

    cdg.Antworten.push_back(datei);
    frm->menOeffnen_Click();
    EXPECT_EQ(frm->Schrittzahl(), 0);
    tim.Ticken(30);
    EXPECT_EQ(frm->lauf().Speicher().Schritte(), 30) << "the opened run is kept from its first step";
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("open");

    frm->menZurueck_Click();
    frm->menStart_Click();
    tim.Ticken(25);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("reset");

    // A faulting step forgets the record; the next redraw replays up to the fault.
    dok.IntervallSetzen(std::numeric_limits<double>::quiet_NaN());
    tim.Ticken(1);
    EXPECT_FALSE(tim.Enabled());
    EXPECT_FALSE(frm->lauf().Speicher().Gueltig());
    dok.IntervallSetzen(1);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("fault");
}

TEST_F(Fenster, ARedrawThatMustComputeRunsInSlicesWhileTheWindowAnswers)
{
    dok.KoerperUebernehmen(DreiKoerper());
    frm->menStart_Click();
    tim.Ticken(60);
    Eingaben({QStringLiteral("1")});
    frm->menIntervall_Click();   // nothing kept any more
    frm->lauf().ScheibeSetzen(std::chrono::milliseconds(0));   // one step per slice
    auto AmEnde = [this] {
        for (int i = 0; i < 1000 && frm->NeuzeichnungLaeuft(); ++i)
            QApplication::processEvents();
    };

    frm->AusschnittSetzen({3, 2, 0, 0});
    EXPECT_TRUE(frm->NeuzeichnungLaeuft());
    EXPECT_EQ(frm->Schrittzahl(), 60) << "commands see the count the replay will end at";
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - Neuzeichnen 1 %"));
    // Input is taken between slices, and ticks wait for the replay.
    bool liefNoch = false;
    QTimer::singleShot(0, [&] { liefNoch = frm->NeuzeichnungLaeuft(); });
    QApplication::processEvents();
    EXPECT_TRUE(liefNoch);
    EXPECT_EQ(tim.Ticken(3), 3);
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    ASSERT_TRUE(frm->NeuzeichnungLaeuft());
    // Another section starts it again from what it has computed so far.
    const int32_t schonGerechnet = frm->lauf().Speicher().Schritte();
    EXPECT_GT(schonGerechnet, 5);
    frm->AusschnittSetzen({3, 2, 0.2, 0});
    EXPECT_TRUE(frm->NeuzeichnungLaeuft());
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - Neuzeichnen %1 %").arg(schonGerechnet * 100 / 60))
        << "the first slice drew what the replay had computed before";
    AmEnde();
    EXPECT_EQ(frm->Schrittzahl(), 60) << "no tick was stepped during the replay";
    ERWARTE_VOLLE_WIEDERGABE("sliced");
    tim.Ticken(1);
    EXPECT_EQ(frm->Schrittzahl(), 61);

    // New during a redraw: the run follows the new document's one body from
    // its start, the count and New's caption stay.
    frm->lauf().Speicher().Verwerfen();
    frm->Form_Resize();
    frage.Antworten = {MsgAntwort::Nein};
    frm->menNeu_Click();
    EXPECT_TRUE(frm->NeuzeichnungLaeuft());
    frm->NeuzeichnungAbschliessen();
    EXPECT_EQ(frm->lauf().Stand().KoerperSim, KoerperSatz{Koerper{}});
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo"));
    EXPECT_EQ(frm->Schrittzahl(), 61);
    EXPECT_TRUE(Bild() == Wiedergeben(*frm, mod, 61).bild);

    // Drawing many kept strokes yields as well.
    dok.KoerperUebernehmen(DreiKoerper());
    frm->menZurueck_Click();
    frm->menStart_Click();
    tim.Ticken(6000);
    frm->menStop_Click();
    frm->Form_Resize();
    EXPECT_TRUE(frm->NeuzeichnungLaeuft());
    AmEnde();
    ERWARTE_VOLLE_WIEDERGABE("kept strokes in slices");

    // Zurücksetzen ends a running replay: white, and the caption of the whole run.
    frm->lauf().Speicher().Verwerfen();
    frm->Form_Resize();
    ASSERT_TRUE(frm->NeuzeichnungLaeuft());
    frm->menZurueck_Click();
    EXPECT_FALSE(frm->NeuzeichnungLaeuft());
    AmEnde();
    EXPECT_EQ(Gefaerbt(Bild()), 0);
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 6000 Tage"));

    // Opening a file ends it too, and the opened document's caption stays.
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("zwei.plv"));
    ASSERT_TRUE(KoerperdateiSchreiben(datei, SonneUndErde()).ok());
    frm->menStart_Click();
    tim.Ticken(30);
    frm->lauf().Speicher().Verwerfen();
    frm->Form_Resize();
    cdg.Antworten.push_back(datei);
    frage.Antworten = {MsgAntwort::Nein};
    frm->menOeffnen_Click();
    EXPECT_FALSE(frm->NeuzeichnungLaeuft());
    AmEnde();
    EXPECT_EQ(Gefaerbt(Bild()), 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - [zwei.plv]"));
    tim.Ticken(5);
    frm->Form_Resize();
    ERWARTE_VOLLE_WIEDERGABE("opened while redrawing");
}

TEST_F(Fenster, EnergyBalanceFollowsTheRunOnlyWhileShown)
{
    dok.KoerperUebernehmen(SonneUndErde());
    frm->Menue(QStringLiteral("menEnergie"))->trigger();
    FrmEnergie* e = frm->Energiefenster();
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Energiebilanz"));
    EXPECT_TRUE(e->AktualisierungAktiv());
    const auto text = [e](const char* name) { return e->findChild<QLabel*>(QString::fromUtf8(name))->text(); };

    // Before the start: the document set's balance, no change yet.
    const double e0 = StartbilanzBerechnen(mod.KoerperStart, 2).Gesamt;
    ASSERT_LT(e0, 0);
    EXPECT_EQ(text("lblGesamt"), QLocale().toString(e0, 'G', 6) + QStringLiteral(" J"));
    EXPECT_EQ(text("lblAenderung"), QStringLiteral("0"));

    // Ten steps: the working set at step 10, measured against step 0.
    frm->menStart_Click();
    tim.Ticken(10);
    e->Aktualisieren();
    EXPECT_EQ(text("lblSchritt"), QStringLiteral("10 (20 Tage)"));
    ASSERT_FALSE(e->Verlauf().empty());
    const double jetzt = RelativeAenderung(EnergiebilanzBerechnen(frm->lauf().Stand().KoerperSim, 2).Gesamt, e0);
    EXPECT_NE(jetzt, 0);
    EXPECT_EQ(e->Verlauf().front().schritt, 0);
    EXPECT_EQ(e->Verlauf().back().schritt, 10);
    EXPECT_EQ(e->Verlauf().back().aenderung, jetzt);
    EXPECT_EQ(text("lblAenderung"), QLocale().toString(jetzt, 'G', 4));

    // A reset takes the plot back to step 0; a closed window stops reading.
    frm->menZurueck_Click();
    e->Aktualisieren();
    ASSERT_EQ(e->Verlauf().size(), 1u);
    EXPECT_EQ(e->Verlauf().back().schritt, 0);
    e->close();
    EXPECT_FALSE(e->AktualisierungAktiv());
    frm->menEnergie_Click();
    EXPECT_TRUE(e->AktualisierungAktiv()) << "the same window comes back";
    EXPECT_EQ(frm->Energiefenster(), e);
}

namespace {

// One window of the pair below, with its own document and scripted layers.
struct Seite {
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    KoerperSatz tabelle;   // what the table's OK commits next
    std::unique_ptr<FrmPlavo> frm;

    explicit Seite(bool nebenlaeufig)
    {
        FrmPlavoDienste d{&cdg, &frage, &tim, {}, {}, {}};
        d.tabelleZeigen = [this] { dok.KoerperUebernehmen(tabelle); };
        frm = std::make_unique<FrmPlavo>(dok, d);
        frm->lauf().NebenlaeufigAbSetzen(nebenlaeufig ? 0 : std::numeric_limits<std::size_t>::max());
        frm->lauf().ScheibeSetzen(std::chrono::milliseconds(0));
        frm->show();
        frm->resize(160, 120);
        QApplication::processEvents();
    }
    // What a tick finds: the step before shown and the redraw done, as ticks wait for both.
    void Bereit()
    {
        for (;;) {
            frm->NeuzeichnungAbschliessen();
            if (!frm->lauf().SchrittUnterwegs())
                break;
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
};

}  // namespace

// Random sequences of the run's commands, once with every step on the worker
// and once on the user-interface thread: the same bodies, count and picture.
// (Zurücksetzen and Öffnen drop a step in flight rather than wait for it, so
// its caption and a fault it would have reported may be missing: they are
// not compared.)
TEST(NebenlaeufigerLauf, EndsBitForBitWhereTheDirectRunEnds)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir ordner;
    const QString dateien[] = {ordner.filePath(QStringLiteral("a.plv")), ordner.filePath(QStringLiteral("b.plv"))};
    ASSERT_TRUE(KoerperdateiSchreiben(dateien[0], SonneUndErde()).ok());
    ASSERT_TRUE(KoerperdateiSchreiben(dateien[1], DreiKoerper()).ok());
    const QString intervalle[] = {QStringLiteral("0,5"), QStringLiteral("3"), QStringLiteral("1e300"),
                                  QStringLiteral("x")};

    for (uint32_t folge = 1; folge <= 300; ++folge) {
        std::mt19937 zufall(folge);
        const auto wahl = [&zufall](int n) { return int(zufall() % uint32_t(n)); };
        Seite a(true), b(false);
        for (Seite* s : {&a, &b})
            s->dok.KoerperUebernehmen(DreiKoerper());
        std::string protokoll;
        for (int befehl = 0; befehl < 40; ++befehl) {
            const int was = wahl(18);
            protokoll += std::to_string(was) + ' ';
            const double breite = 1 + wahl(4), xOffset = 0.25 * wahl(5);
            KoerperSatz neu = SonneUndErde();
            neu[1].Masse = 1 + wahl(1000);
            const int datei = wahl(2), intervall = wahl(4);
            for (Seite* s : {&a, &b}) {
                FrmPlavo& f = *s->frm;
                switch (was) {
                case 0: case 1: case 2: case 3: case 4:
                    s->Bereit();
                    s->tim.Ticken(1);
                    break;
                case 5: f.menStart_Click(); break;
                case 6: f.menStop_Click(); break;
                case 7: f.menZurueck_Click(); break;
                case 8: f.menEinzelschritt_Click(); break;
                case 9:
                    f.AusschnittSetzen({breite, f.ansicht().Aktuell().Hoehe, xOffset, f.ansicht().Aktuell().YOffset});
                    break;
                case 10:
                    s->frage.Eingaben = {intervalle[intervall]};
                    f.menIntervall_Click();
                    break;
                case 11:
                    s->frage.Antworten = {MsgAntwort::Nein};
                    f.menNeu_Click();
                    break;
                case 12:
                    s->tabelle = neu;
                    f.menTabelle_Click();
                    break;
                case 13:
                    s->frage.Antworten = {MsgAntwort::Nein};
                    s->cdg.Antworten = {dateien[datei]};
                    f.menOeffnen_Click();
                    break;
                case 14: f.NeuzeichnungAbschliessen(); break;
                case 16: f.menRueckgaengig_Click(); break;
                case 17: f.menWiederherstellen_Click(); break;
                default: break;   // the event loop runs: steps come back, redraws go on
                }
            }
            QApplication::processEvents();
        }
        for (Seite* s : {&a, &b})
            s->Bereit();
        SCOPED_TRACE("Folge " + std::to_string(folge) + ": " + protokoll);
        ASSERT_EQ(a.frm->Schrittzahl(), b.frm->Schrittzahl());
        // At step 0 the working set is built anew before it is used.
        if (a.frm->Schrittzahl() > 0) {
            ASSERT_TRUE(BitGleich(a.frm->lauf().Stand().KoerperSim, b.frm->lauf().Stand().KoerperSim));
        }
        ASSERT_TRUE(a.frm->picPlavo().Flaeche().Image() == b.frm->picPlavo().Flaeche().Image());
    }
    QLocale::setDefault(QLocale::c());
}

// An undo or a redo does to the run and the picture what the command itself
// did: undoing the table's OK at a later step replays the run from the bodies
// before it, at the interval then in force, as the OK replayed it from its
// own. Run a commits the table and a new interval at a later step; c undoes
// both and redoes them and stands exactly where a stands; b makes two more
// edits and undoes them (on the worker) and stands where a redraw of a's run
// stands. Stepping on, all three go on alike.
TEST(NebenlaeufigerLauf, UndoAndRedoAtALaterStepHaveTheEffectsTheCommandsHad)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Seite a(false), b(true), c(false);
    const auto bearbeiten = [](Seite& s, const KoerperSatz& koerper, const char* intervall) {
        s.Bereit();
        s.tabelle = koerper;
        s.frm->menTabelle_Click();
        s.frage.Eingaben = {QString::fromUtf8(intervall)};
        s.frm->menIntervall_Click();
    };
    const auto ticken = [](Seite& s, int n) {
        for (int i = 0; i < n; ++i) {
            s.Bereit();
            s.tim.Ticken(1);
        }
        s.Bereit();
    };
    const auto wieA = [&a](Seite& s, const char* was) {
        s.Bereit();
        a.Bereit();
        EXPECT_EQ(s.frm->Schrittzahl(), a.frm->Schrittzahl()) << was;
        EXPECT_TRUE(BitGleich(s.frm->lauf().Stand(), a.frm->lauf().Stand())) << was;
        EXPECT_TRUE(s.frm->picPlavo().Flaeche().Image() == a.frm->picPlavo().Flaeche().Image()) << was;
        EXPECT_EQ(s.frm->windowTitle(), a.frm->windowTitle()) << was;
    };
    for (Seite* s : {&a, &b, &c}) {
        s->dok.KoerperUebernehmen(DreiKoerper());
        s->frm->menStart_Click();
        ticken(*s, 10);
        bearbeiten(*s, SonneUndErde(), "0,5");
    }
    bearbeiten(b, DreiKoerper(), "3");
    for (int i = 0; i < 2; ++i)
        b.frm->menRueckgaengig_Click();
    for (int i = 0; i < 2; ++i)
        c.frm->menRueckgaengig_Click();
    for (int i = 0; i < 2; ++i)
        c.frm->menWiederherstellen_Click();
    wieA(c, "undone and redone");
    for (Seite* s : {&a, &c})
        s->frm->Form_Resize();
    wieA(b, "later edits undone");
    wieA(c, "redrawn");
    for (Seite* s : {&a, &b, &c})
        ticken(*s, 5);
    wieA(b, "stepped on");
    wieA(c, "stepped on");
    QLocale::setDefault(QLocale::c());
}

// The table's OK and New at a later step, paused or running, the steps on
// this thread or on the worker: the run goes on from the document's bodies
// replayed to its step count, bit for bit as after a redraw, and never from
// zeroed bodies. Step, OK, step equals step, OK, redraw, step.
TEST(LaufNachDokument, OkAndNewAtALaterStepGoOnAsAfterARedraw)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const bool nebenlaeufig : {false, true}) {
        for (const bool laufend : {false, true}) {
            SCOPED_TRACE(std::string(nebenlaeufig ? "worker, " : "here, ") + (laufend ? "running" : "paused"));
            Seite a(nebenlaeufig), b(nebenlaeufig);
            // Running: the table commits an edited system; paused, an unedited one.
            KoerperSatz neu = DreiKoerper();
            if (laufend) {
                neu = SonneUndErde();
                neu[1].Masse = 40;
            }
            const auto schritt = [laufend](Seite& s) {
                s.Bereit();
                if (laufend)
                    s.tim.Ticken(1);
                else
                    s.frm->menEinzelschritt_Click();
                s.Bereit();
            };
            const auto gleich = [&](const char* was) {
                ASSERT_EQ(a.frm->Schrittzahl(), b.frm->Schrittzahl()) << was;
                EXPECT_TRUE(BitGleich(a.frm->lauf().Stand(), b.frm->lauf().Stand())) << was;
                EXPECT_TRUE(a.frm->picPlavo().Flaeche().Image() == b.frm->picPlavo().Flaeche().Image()) << was;
                const VolleWiedergabe soll = Wiedergeben(*a.frm, a.mod, a.frm->Schrittzahl());
                EXPECT_TRUE(BitGleich(a.frm->lauf().Stand().KoerperSim, soll.sim)) << was;
                EXPECT_TRUE(a.frm->picPlavo().Flaeche().Image() == soll.bild) << was;
            };
            for (Seite* s : {&a, &b}) {
                s->dok.KoerperUebernehmen(DreiKoerper());
                s->frm->menStart_Click();
                for (int i = 0; i < 12; ++i) {
                    s->Bereit();
                    s->tim.Ticken(1);
                }
                if (!laufend)
                    s->frm->menStop_Click();
                s->tabelle = neu;
                s->frm->menTabelle_Click();
                s->Bereit();
                EXPECT_EQ(s->frm->Schrittzahl(), 12);
                EXPECT_EQ(s->tim.Enabled(), laufend);
            }
            b.frm->Form_Resize();
            schritt(a);
            schritt(b);
            gleich("OK");

            for (Seite* s : {&a, &b}) {
                s->frage.Antworten = {MsgAntwort::Nein};
                s->frm->menNeu_Click();
                s->Bereit();
                EXPECT_EQ(s->frm->Schrittzahl(), 13);
            }
            b.frm->Form_Resize();
            schritt(a);
            schritt(b);
            gleich("New");
            EXPECT_EQ(a.frm->lauf().Stand().KoerperSim, KoerperSatz{Koerper{}});
        }
    }
    QLocale::setDefault(QLocale::c());
}

TEST(Energiefenster, ALargeSystemIsComputedOffTheWindowsThreadAndMayBeLeftMidway)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // A ring of planets around a sun: large enough that the window hands the
    // pairs to its thread.
    const auto ring = [](size_t n) {
        KoerperSatz k{Planet(332950, 0, 0, 0, 0, 0)};
        for (size_t i = 1; i < n; ++i) {
            const double w = 2 * std::numbers::pi * double(i) / double(n - 1), r = 1.5e11 + 1e7 * double(i % 7);
            k.push_back(Planet(1e-3, r * std::cos(w), r * std::sin(w), 3e4, w * 180 / std::numbers::pi + 90, 0));
        }
        return k;
    };
    ModPlavo mod;
    mod.KoerperStart = ring(3001);
    mod.Intervall = 2;
    Arbeiter arbeiter;
    Lauf lauf(mod, arbeiter);
    ASSERT_EQ(lauf.Starten(), KeinFehler);
    const auto schritte = [&](int32_t bis) {
        while (lauf.Schrittzahl() < bis)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
    };
    auto e = std::make_unique<FrmEnergie>(lauf, arbeiter, nullptr);
    const auto text = [&e](const char* name) { return e->findChild<QLabel*>(QString::fromUtf8(name))->text(); };
    const auto joule = [](double wert) { return QLocale().toString(wert, 'G', 6) + QStringLiteral(" J"); };

    // The update returns with the computation running and the labels as they were.
    e->Aktualisieren();
    ASSERT_TRUE(e->Rechnet());
    EXPECT_EQ(text("lblGesamt"), QString());
    e->Aktualisieren();   // no second computation while one is in flight
    e->AufErgebnisWarten();
    EXPECT_FALSE(e->Rechnet());
    EXPECT_EQ(text("lblGesamt"), joule(StartbilanzBerechnen(mod.KoerperStart, 2).Gesamt));
    ASSERT_EQ(e->Verlauf().size(), 1u);

    // A later step's balance arrives through the event loop, as in the program.
    schritte(7);
    const Energiebilanz b7 = EnergiebilanzBerechnen(lauf.Stand().KoerperSim, 2, Befehlssatz::Skalar);
    e->Aktualisieren();
    ASSERT_TRUE(e->Rechnet());
    while (e->Rechnet())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(text("lblSchritt"), QStringLiteral("7 (14 Tage)"));
    EXPECT_EQ(text("lblPotentiell"), joule(b7.Potentiell));
    EXPECT_EQ(e->Verlauf().back().schritt, 7);

    // Hidden while computing: the result is dropped, and the next look computes anew.
    e->show();
    schritte(8);
    e->Aktualisieren();
    ASSERT_TRUE(e->Rechnet());
    e->close();
    EXPECT_FALSE(e->Rechnet());
    QTimer::singleShot(50, [] {});
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    EXPECT_EQ(e->Verlauf().back().schritt, 7);
    e->Aktualisieren();
    e->AufErgebnisWarten();
    EXPECT_EQ(e->Verlauf().back().schritt, 8);

    // Destroyed in the middle of 32,767 bodies: the thread stops and nothing
    // arrives at the dead window.
    lauf.Zuruecksetzen();
    mod.KoerperStart = ring(32767);
    lauf.KoerperGeaendert();
    e->Aktualisieren();
    ASSERT_TRUE(e->Rechnet());
    e.reset();
    QApplication::processEvents();
    QLocale::setDefault(QLocale::c());
}

namespace {

void Rad(QWidget& w, QPointF stelle, int winkel)
{
    QWheelEvent e(stelle, w.mapToGlobal(stelle), QPoint(), QPoint(0, winkel), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}

void Maus(QWidget& w, QEvent::Type typ, QPointF stelle, Qt::MouseButton knopf, Qt::MouseButtons knoepfe)
{
    QMouseEvent e(typ, stelle, w.mapToGlobal(stelle), knopf, knoepfe, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void Ziehen(QWidget& w, QPointF von, QPointF bis)
{
    Maus(w, QEvent::MouseButtonPress, von, Qt::LeftButton, Qt::LeftButton);
    Maus(w, QEvent::MouseMove, (von + bis) / 2, Qt::NoButton, Qt::LeftButton);
    Maus(w, QEvent::MouseMove, bis, Qt::NoButton, Qt::LeftButton);
    Maus(w, QEvent::MouseButtonRelease, bis, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

// The wheel zooms about the point under the mouse, in notches made of fine
// steps; a drag moves the plane with the mouse, by exactly its pixels, also
// when released outside; the menu and Ctrl+arrows do the same from the
// keyboard. Each change redraws the run as the section dialog does, and the
// run goes on.
TEST_F(Fenster, WheelAndDragMoveTheSectionAndTheRunGoesOn)
{
    dok.KoerperUebernehmen(DreiKoerper());
    frm->menStart_Click();
    tim.Ticken(40);
    PicPlavo& pic = frm->picPlavo();
    const double W = pic.width(), H = pic.height();
    const QPointF stelle(100, 50);
    const auto ort = [&] {   // the plane's point under `stelle`, AE
        return QPointF(frm->ansicht().Aktuell().XOffset + (stelle.x() / W - 0.5) * frm->ansicht().Aktuell().Breite,
                       frm->ansicht().Aktuell().YOffset + (stelle.y() / H - 0.5) * frm->ansicht().Aktuell().Hoehe);
    };
    const QPointF vorher = ort();

    for (int i = 0; i < 24; ++i)   // three notches in fine steps
        Rad(pic, stelle, 15);
    EXPECT_NEAR(frm->ansicht().Aktuell().Breite, 2 / std::pow(1.25, 3), 1e-15);
    EXPECT_NEAR(frm->ansicht().Aktuell().Hoehe, 2 / std::pow(1.25, 3), 1e-15);
    EXPECT_NEAR(ort().x(), vorher.x(), 1e-15);
    EXPECT_NEAR(ort().y(), vorher.y(), 1e-15);
    ERWARTE_VOLLE_WIEDERGABE("after the wheel");
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(tim.Ticken(1), 1);
    EXPECT_EQ(frm->Schrittzahl(), 41);

    Rad(pic, stelle, -3 * 120);
    EXPECT_NEAR(frm->ansicht().Aktuell().Breite, 2, 2e-12);
    EXPECT_NEAR(frm->ansicht().Aktuell().XOffset, 0, 2e-12);
    EXPECT_NEAR(frm->ansicht().Aktuell().YOffset, 0, 2e-12);

    // The picture follows the drag at once; the section changes on release,
    // here outside the window.
    const Ausschnitt a{frm->ansicht().Aktuell().Breite, frm->ansicht().Aktuell().Hoehe, frm->ansicht().Aktuell().XOffset, frm->ansicht().Aktuell().YOffset};
    Maus(pic, QEvent::MouseButtonPress, QPointF(200, 150), Qt::LeftButton, Qt::LeftButton);
    Maus(pic, QEvent::MouseMove, QPointF(230, 140), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(pic.Verschiebung(), QPointF(30, -10));
    EXPECT_EQ(frm->ansicht().Aktuell().XOffset, a.XOffset);
    Maus(pic, QEvent::MouseMove, QPointF(-50, 400), Qt::NoButton, Qt::LeftButton);
    Maus(pic, QEvent::MouseButtonRelease, QPointF(-50, 400), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(pic.Verschiebung(), QPointF());
    EXPECT_EQ(frm->ansicht().Aktuell().XOffset, a.XOffset - (-250) * a.Breite / W);
    EXPECT_EQ(frm->ansicht().Aktuell().YOffset, a.YOffset - 250 * a.Hoehe / H);
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, a.Breite);
    ERWARTE_VOLLE_WIEDERGABE("after the drag");

    // A drag whose release went elsewhere (a dialog took the mouse) changes nothing.
    const double x = frm->ansicht().Aktuell().XOffset;
    Maus(pic, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton);
    Maus(pic, QEvent::MouseMove, QPointF(60, 10), Qt::NoButton, Qt::LeftButton);
    Maus(pic, QEvent::MouseMove, QPointF(70, 10), Qt::NoButton, Qt::NoButton);
    Maus(pic, QEvent::MouseButtonRelease, QPointF(70, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(pic.Verschiebung(), QPointF());
    EXPECT_EQ(frm->ansicht().Aktuell().XOffset, x);

    // From the keyboard: about the centre, and by a tenth.
    frm->Menue(QStringLiteral("menVergroessern"))->trigger();
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, a.Breite / 1.25);
    EXPECT_EQ(frm->ansicht().Aktuell().XOffset, x);
    EXPECT_EQ(frm->Menue(QStringLiteral("menVergroessern"))->shortcuts().value(1), QKeySequence(QStringLiteral("Ctrl+=")));
    frm->Menue(QStringLiteral("menVerkleinern"))->trigger();
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, a.Breite);
    int pfeile = 0;
    for (QShortcut* kurz : frm->findChildren<QShortcut*>())
        if (kurz->key() == QKeySequence(QStringLiteral("Ctrl+Right"))) {
            emit kurz->activated();
            ++pfeile;
        }
    EXPECT_EQ(pfeile, 1);
    EXPECT_NEAR(frm->ansicht().Aktuell().XOffset, x + a.Breite / 10, 1e-15);
    ERWARTE_VOLLE_WIEDERGABE("after Ctrl+Right");
    EXPECT_TRUE(frage.Gemeldet.empty());
}

// Ten thousand random wheel steps and drags, on the window and on one of a
// single pixel, with far drags outside it: the section never leaves its
// limits nor holds a number that is not finite, and the limits are reached.
TEST_F(Fenster, RandomWheelAndDragEventsKeepTheSectionWithinItsLimits)
{
    PicPlavo& pic = frm->picPlavo();
    std::mt19937 zufall(22);
    const auto zahl = [&zufall](double a, double b) { return std::uniform_real_distribution<double>(a, b)(zufall); };
    double kleinste = INFINITY, groesste = 0, fernste = 0;
    for (int i = 0; i < 10000; ++i) {
        if (i % 1000 == 0)
            pic.resize(i % 2000 == 0 ? QSize(400, 300) : QSize(1, 1));
        const double w = pic.width() + 100.0, h = pic.height() + 100.0;
        if (zufall() % 2)
            Rad(pic, QPointF(zahl(-50, w), zahl(-50, h)), int(zahl(-1500, 1500)));
        else
            Ziehen(pic, QPointF(zahl(-50, w), zahl(-50, h)), QPointF(zahl(-5000, 5000), zahl(-5000, 5000)));
        const double b = frm->ansicht().Aktuell().Breite, hh = frm->ansicht().Aktuell().Hoehe;
        const double x = frm->ansicht().Aktuell().XOffset, y = frm->ansicht().Aktuell().YOffset;
        ASSERT_TRUE(std::isfinite(b) && std::isfinite(hh) && std::isfinite(x) && std::isfinite(y)) << i;
        ASSERT_TRUE(b >= 1e-6 && b <= 1e6 && hh >= 1e-6 && hh <= 1e6) << i << ": " << b << " x " << hh;
        ASSERT_TRUE(std::abs(x) <= 1e9 && std::abs(y) <= 1e9) << i << ": " << x << ", " << y;
        ASSERT_LT(float(x - b / 2), float(x + b / 2)) << i;
        ASSERT_LT(float(y - hh / 2), float(y + hh / 2)) << i;
        kleinste = std::min(kleinste, b);
        groesste = std::max(groesste, b);
        fernste = std::max({fernste, std::abs(x), std::abs(y)});
    }
    EXPECT_LT(kleinste, 1.25e-6);
    EXPECT_GT(groesste, 1e6 / 1.25);
    EXPECT_EQ(fernste, 1e9);
    EXPECT_TRUE(frage.Gemeldet.empty());
}

// The status bar says where the run stands as the caption does, the point
// under the mouse to a screen pixel's resolution, and what was written.
TEST_F(Fenster, StatusBarFollowsTheRunAndTheMouseAndConfirmsWhatWasWritten)
{
    const auto feld = [&](const char* name) {
        return frm->statusBar()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(feld("lblLauf"), QStringLiteral("angehalten"));
    EXPECT_EQ(feld("lblSchritt"), QStringLiteral("Schritt 0"));
    EXPECT_EQ(feld("lblKoerper"), QStringLiteral("1 Körper"));

    dok.KoerperUebernehmen(DreiKoerper());
    EXPECT_EQ(feld("lblKoerper"), QStringLiteral("3 Körper"));
    frm->menStart_Click();
    EXPECT_EQ(feld("lblLauf"), QStringLiteral("läuft"));
    tim.Ticken(5);
    Eingaben({QStringLiteral("0,25")});
    frm->menIntervall_Click();
    tim.Ticken(1);
    EXPECT_EQ(feld("lblSchritt"), QStringLiteral("Schritt 6"));
    EXPECT_EQ(feld("lblTage"), QStringLiteral("1,5 Tage"));
    EXPECT_TRUE(frm->windowTitle().endsWith(QStringLiteral(" - ") + feld("lblTage")));
    frm->menStop_Click();
    EXPECT_EQ(feld("lblLauf"), QStringLiteral("angehalten"));

    // Default section, 2 × 2 AE about the origin: a quarter in from the
    // right and the top is at (0.5, -0.5).
    PicPlavo& pic = frm->picPlavo();
    Maus(pic, QEvent::MouseMove, QPointF(pic.width() * 0.75, pic.height() * 0.25), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(feld("lblMaus"), QStringLiteral("x: 0,5 AE  y: -0,5 AE"));
    QEvent weg(QEvent::Leave);
    QApplication::sendEvent(&pic, &weg);
    EXPECT_EQ(feld("lblMaus"), QString());
    EXPECT_EQ(AufAufloesung(0.52381, 0.002), QStringLiteral("0,524"));
    EXPECT_EQ(AufAufloesung(-0.0004, 0.002), QStringLiteral("0"));
    EXPECT_EQ(AufAufloesung(1234.5678, 50), QStringLiteral("1230"));
    EXPECT_EQ(AufAufloesung(2.5e-7, 1e-9), QStringLiteral("2,5E-07"));

    // Only what was written is confirmed.
    QTemporaryDir ordner;
    cdg.Antworten = {ordner.filePath(QStringLiteral("bahnen.bmp")), ordner.filePath(QStringLiteral("fehlt/x.bmp")),
                     ordner.filePath(QStringLiteral("drei.plv"))};
    frm->menBild_Click();
    EXPECT_EQ(frm->statusBar()->currentMessage(), QStringLiteral("Bild gespeichert: bahnen.bmp"));
    frm->statusBar()->clearMessage();
    frm->menBild_Click();
    EXPECT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frm->statusBar()->currentMessage(), QString());
    frm->menSpUnter_Click();
    EXPECT_EQ(frm->statusBar()->currentMessage(), QStringLiteral("Gespeichert: drei.plv"));
}

// "Kreise rund halten" is off at every start; on, the height follows the
// width in the picture's proportions on resize, zoom and typed sections.
TEST_F(Fenster, RoundCirclesKeepTheHeightInThePicturesProportions)
{
    const auto rund = [&] {
        const QSize pixel = Bild().size();
        const Ausschnitt& a = frm->ansicht().Aktuell();
        return a.Hoehe == a.Breite * pixel.height() / pixel.width()
            || std::abs(a.Hoehe / (a.Breite * pixel.height() / pixel.width()) - 1) < 1e-15;
    };
    QAction* option = frm->Menue(QStringLiteral("menRund"));
    EXPECT_FALSE(option->isChecked());
    EXPECT_FALSE(rund()) << "stretched, as the section always was";
    EXPECT_EQ(frm->ansicht().Aktuell().Hoehe, 2.0);

    option->trigger();
    EXPECT_TRUE(rund());
    EXPECT_EQ(frm->ansicht().Aktuell().Breite, 2.0);
    EXPECT_EQ(frm->picPlavo().Flaeche().ScaleHeight(), float(frm->ansicht().Aktuell().Hoehe)) << "and drawn so";
    frm->resize(520, 250);
    QApplication::processEvents();
    EXPECT_TRUE(rund());
    frm->menVergroessern_Click();
    EXPECT_TRUE(rund());

    // The dialog proposes the height it will use; a height of the user's own
    // makes the width follow it.
    Eingaben({QStringLiteral("4"), std::nullopt});
    frm->menAusschnitt_Click();
    const QSize pixel = Bild().size();
    EXPECT_NEAR(TextZuZahl(frage.Gefragt.back().Vorgabe).value_or(0), 4.0 * pixel.height() / pixel.width(), 1e-15);
    Eingaben({QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("-1")});
    frm->menAusschnitt_Click();
    EXPECT_TRUE(rund());
    EXPECT_NEAR(frm->ansicht().Aktuell().Hoehe, 1.0, 1e-15);
    EXPECT_EQ(frm->ansicht().Aktuell().YOffset, -1.0);

    // Off again: a resize keeps the section, stretched.
    option->trigger();
    const Ausschnitt vorher = frm->ansicht().Aktuell();
    frm->resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(frm->ansicht().Aktuell(), vorher);
}

// The bodies' dots and names lie over the picture, where each body is now,
// and answer the tooltip; the picture itself, which export and print use,
// stays exactly the trails.
TEST_F(Fenster, DotsAndNamesLieOverThePictureAndNeverReachTheExport)
{
    // A probe at 0.5 AE, 1000 m/s at 30°, and an unnamed body at the
    // centre: no masses, so they move straight on.
    Koerper sonde = NeuerKoerper(QStringLiteral("Sonde"), 0, 0.75e11, 0, 1000, 30, 0xFF0000);
    Koerper ohne;
    ohne.Farbe = 0xFFFFFF;
    dok.KoerperUebernehmen({sonde, ohne});
    PicPlavo& pic = frm->picPlavo();
    const int w = Bild().width(), h = Bild().height();
    const QPoint an(int(std::floor(0.75 * w)), h / 2), mitte(w / 2, h / 2);
    frm->menZurueck_Click();
    QImage schirm = pic.grab().toImage();
    EXPECT_EQ(schirm.pixel(an), qRgb(0, 0, 255)) << "before the first step, at the document's place";
    EXPECT_EQ(schirm.pixel(an + QPoint(3, 0)), qRgb(0x30, 0x30, 0x30)) << "with a dark outline";
    EXPECT_EQ(schirm.pixel(mitte), qRgb(255, 255, 255)) << "a white body";
    EXPECT_EQ(schirm.pixel(mitte + QPoint(0, -3)), qRgb(0x30, 0x30, 0x30));
    EXPECT_EQ(Gefaerbt(Bild()), 0) << "nothing in the picture";

    QHelpEvent frage(QEvent::ToolTip, an, pic.mapToGlobal(an));
    QApplication::sendEvent(&pic, &frage);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Sonde\nMasse: 0 Erdmassen\nOrt: x = 0,5 AE, y = 0 AE\n"
                                                  "Geschwindigkeit: 1000 m/s\nRichtung: 30°"));

    // Three steps of 2 days: 518,400 km, 0.00299 AE right and 0.00173 AE down.
    frm->menStart_Click();
    tim.Ticken(3);
    frm->menStop_Click();
    const QPoint jetzt(int(std::floor((0.5029929838 + 1) / 2 * w)), int(std::floor((0.001728 + 1) / 2 * h)));
    schirm = pic.grab().toImage();
    EXPECT_EQ(schirm.pixel(jetzt), qRgb(0, 0, 255));
    QHelpEvent spaeter(QEvent::ToolTip, jetzt, pic.mapToGlobal(jetzt));
    QApplication::sendEvent(&pic, &spaeter);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Sonde\nMasse: 0 Erdmassen\nOrt: x = 0,502993 AE, y = 0,001728 AE\n"
                                                  "Geschwindigkeit: 1000 m/s\nRichtung: 30°"));
    QHelpEvent daneben(QEvent::ToolTip, QPoint(5, 5), pic.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&pic, &daneben);
    EXPECT_FALSE(daneben.isAccepted()) << "nothing to tell away from the dots";

    // The export before and after dots and names are turned on, bit for bit.
    QTemporaryDir ordner;
    const QString ohneAlles = ordner.filePath(QStringLiteral("ohne.bmp")), mitAllem = ordner.filePath(QStringLiteral("mit.bmp"));
    frm->Menue(QStringLiteral("menKoerperZeigen"))->trigger();
    EXPECT_FALSE(pic.PunkteGezeigt());
    EXPECT_EQ(pic.grab().toImage().pixel(jetzt), Bild().pixel(jetzt)) << "the dots are off";
    cdg.Antworten = {ohneAlles};
    frm->menBild_Click();
    frm->Menue(QStringLiteral("menKoerperZeigen"))->trigger();
    frm->Menue(QStringLiteral("menNamen"))->trigger();
    EXPECT_TRUE(pic.PunkteGezeigt() && pic.NamenGezeigt());
    const QImage mitNamen = pic.grab().toImage();
    frm->Menue(QStringLiteral("menNamen"))->trigger();
    EXPECT_NE(pic.grab().toImage(), mitNamen) << "the name is shown";
    frm->Menue(QStringLiteral("menNamen"))->trigger();
    cdg.Antworten = {mitAllem};
    frm->menBild_Click();
    QFile a(ohneAlles), b(mitAllem);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray bytes = a.readAll();
    EXPECT_GT(bytes.size(), w * h * 3);
    EXPECT_TRUE(bytes == b.readAll());
    EXPECT_EQ(QImage(mitAllem, "BMP").convertToFormat(QImage::Format_RGB32), Bild());

    // Two names on one spot: the second goes below the first, not over it.
    Koerperpunkte punkte;
    punkte.Berechnen({NeuerKoerper(QStringLiteral("Erde"), 1, 0, 0, 0, 0, 0), NeuerKoerper(QStringLiteral("Mond"), 0, 0, 0, 0, 0, 0)},
                     pic.Flaeche(), 1.0, true, nullptr, pic.font());
    EXPECT_GE(punkte.Bedeckt().boundingRect().height(), 2 * QFontMetrics(pic.font()).height());
}

TEST_F(Fenster, AFrameFollowsItsBodyComesBackToFestBitForBitAndFallsBackWhenTheBodyGoes)
{
    std::deque<std::optional<std::vector<std::size_t>>> wahl;
    QStringList angeboten;
    frm.reset();
    frm = std::make_unique<FrmPlavo>(dok, FrmPlavoDienste{&cdg, &frage, &tim, {}, {},
                                                          [&](const QStringList& namen, int, const QString&) {
                                                              angeboten = namen;
                                                              auto a = wahl.front();
                                                              wahl.pop_front();
                                                              return a;
                                                          }});
    frm->show();
    frm->resize(400, 300);
    QApplication::processEvents();
    KoerperSatz koerper = SonneUndErde();
    koerper[0].NameSetzen(QStringLiteral("Sonne"));
    koerper[1].NameSetzen(QStringLiteral("Erde"));
    dok.KoerperUebernehmen(koerper);
    frm->menStart_Click();
    tim.Ticken(60);
    QTemporaryDir ordner;
    const auto exportieren = [&](const char* name) {
        cdg.Antworten = {ordner.filePath(QString::fromUtf8(name))};
        frm->menBild_Click();
        QFile f(ordner.filePath(QString::fromUtf8(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray fest = exportieren("fest.bmp");

    // Seen from the earth, whose trail is one pixel at the centre; the section
    // keeps its size and moves its centre to the earth. The run goes on.
    frm->AusschnittSetzen({3, 3, 0.4, -0.2});
    wahl = {std::vector<std::size_t>{1}};
    frm->Menue(QStringLiteral("menBezugKoerper"))->trigger();
    EXPECT_EQ(angeboten, QStringList({QStringLiteral("Sonne"), QStringLiteral("Erde")}));
    EXPECT_TRUE(frm->Menue(QStringLiteral("menBezugKoerper"))->isChecked());
    EXPECT_EQ(frm->ansicht().Aktuell(), (Ausschnitt{3, 3, 0, 0}));
    tim.Ticken(20);
    frm->NeuzeichnungAbschliessen();
    EXPECT_EQ(frm->Schrittzahl(), 80);
    std::set<std::pair<int, int>> erde;
    for (int y = 0; y < Bild().height(); ++y)
        for (int x = 0; x < Bild().width(); ++x)
            if (Bild().pixel(x, y) == qRgb(0, 0, 255))
                erde.insert({x, y});
    EXPECT_EQ(erde, (std::set<std::pair<int, int>>{{Bild().width() / 2, Bild().height() / 2}}));

    // A cancelled choice keeps the frame; Fest again is today's picture, bit for bit.
    wahl = {std::nullopt};
    frm->Menue(QStringLiteral("menBezugMitrotierend"))->trigger();
    EXPECT_TRUE(frm->Menue(QStringLiteral("menBezugKoerper"))->isChecked());
    frm->menStop_Click();
    std::swap(koerper[0], koerper[1]);
    dok.KoerperUebernehmen(koerper);
    EXPECT_TRUE(frm->picPlavo().Bezug() == Bezugssystem::EinKoerper(0)) << "the earth, now first";
    std::swap(koerper[0], koerper[1]);
    dok.KoerperUebernehmen(koerper);
    frm->menZurueck_Click();
    frm->menBezugFest_Click();
    frm->AusschnittSetzen({2, 2, 0, 0});
    frm->menStart_Click();
    tim.Ticken(60);
    frm->NeuzeichnungAbschliessen();
    EXPECT_TRUE(exportieren("wieder.bmp") == fest);

    // The earth goes: the centre of mass, told once.
    frm->KoerperFolgen(1);
    const std::size_t meldungen = frage.Gemeldet.size();
    dok.KoerperUebernehmen({koerper[0]});
    EXPECT_TRUE(frm->picPlavo().Bezug() == Bezugssystem::Schwerpunkt());
    EXPECT_TRUE(frm->Menue(QStringLiteral("menBezugSchwerpunkt"))->isChecked());
    ASSERT_EQ(frage.Gemeldet.size(), meldungen + 1);
    EXPECT_TRUE(frage.Gemeldet.back().Text.contains(QStringLiteral("Schwerpunkt")));
    emit frm->Menue(QStringLiteral("menOptionen"))->menu()->aboutToShow();
    EXPECT_FALSE(frm->Menue(QStringLiteral("menBezugMitrotierend"))->isEnabled()) << "one body";

    // New leaves one unnamed body: the sun is gone too, not renamed.
    frm->KoerperFolgen(0);
    frage.Antworten = {MsgAntwort::Nein};
    frm->menNeu_Click();
    EXPECT_TRUE(frm->picPlavo().Bezug() == Bezugssystem::Schwerpunkt());
    EXPECT_EQ(frage.Gemeldet.size(), meldungen + 3) << "the question and the note";
    tim.Ticken(3);
    frm->NeuzeichnungAbschliessen();
}
