#include "mainwindow/frmenergie.h"
#include "mainwindow/frmplavo.h"
#include "support/koerperbau.h"
#include "support/skriptdialog.h"
#include "support/skriptzeitgeber.h"
#include "view/picplavo.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    ModPlavo mod;
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    std::unique_ptr<FrmPlavo> frm;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        frm = std::make_unique<FrmPlavo>(mod, FrmPlavoDienste{&cdg, &frage, &tim, {}, {}});
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
        "  menDatei1|-|\n"
        "  menEnde|Be&enden|\n"
        "menSimulation|&Simulation\n"
        "  menTabelle|&Tabelle anzeigen|Ctrl+T\n"
        "  menZurück|&Zurücksetzen|Ctrl+R\n"
        "  menStart|&Starten|F5\n"
        "  menStop|&Anhalten|Ctrl+Q\n"
        "  menEnergie|Energie&bilanz|Ctrl+E\n"
        "menOptionen|&Optionen\n"
        "  menAusschnitt|&Bildauschnitt...|Ctrl+A\n"
        "  menTimer|&Verzögerungszeit...|Ctrl+Z\n"
        "  menIntervall|Berechnungs&intervall...|Ctrl+I\n"
        "  menBeiÖffnen|beim Ö&ffnen|\n"
        "    menWarten|auf Eingabe warten|x\n"
        "    menTabAnz|Tabelle anzeigen|\n"
        "    menSimStart|Simulation starten|")
                                     .split(QLatin1Char('\n'));
    EXPECT_EQ(zeilen, erwartet) << zeilen.join(QLatin1Char('\n')).toStdString();

    // Exactly one on-open choice is checked, whatever is clicked.
    frm->Menue(QStringLiteral("menTabAnz"))->trigger();
    frm->Menue(QStringLiteral("menTabAnz"))->trigger();
    EXPECT_TRUE(frm->Menue(QStringLiteral("menTabAnz"))->isChecked());
    EXPECT_FALSE(frm->Menue(QStringLiteral("menWarten"))->isChecked());
    frm->Menue(QStringLiteral("menSimStart"))->trigger();
    EXPECT_TRUE(frm->Menue(QStringLiteral("menSimStart"))->isChecked());
    EXPECT_FALSE(frm->Menue(QStringLiteral("menTabAnz"))->isChecked());
}

TEST_F(Fenster, StartsWithItsDefaults)
{
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo"));
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(tim.Interval(), 100);
    EXPECT_EQ(frm->Schrittzahl, 0);
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

TEST_F(Fenster, StopResumesWithoutAJumpAndResetRestartsFromTheDocument)
{
    mod.KoerperStart = SonneUndErde();
    frm->menStart_Click();
    tim.Ticken(5);
    frm->menStop_Click();
    EXPECT_EQ(tim.Ticken(3), 0);
    const Koerper erde = mod.KoerperSim[1];
    frm->menStart_Click();
    tim.Ticken(1);
    EXPECT_EQ(frm->Schrittzahl, 6);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 12 Tage"));
    EXPECT_NEAR(mod.KoerperSim[1].X, erde.X + mod.KoerperSim[1].Vx(), 1.0) << "resumed from where it stood";

    frm->menZurueck_Click();
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(frm->Schrittzahl, 0);
    EXPECT_EQ(Gefaerbt(Bild()), 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 12 Tage")) << "the caption waits for the next step";
    frm->menStart_Click();
    tim.Ticken(1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2 Tage"));
}

TEST_F(Fenster, ReplayAfterAResizeDrawsExactlyWhatTheRunDrew)
{
    mod.KoerperStart = SonneUndErde();
    mod.KoerperStart.push_back(Planet(0.1, -0.5e11, 0.3e11, 2e4, 200, 0x00AA00));
    frm->menStart_Click();
    tim.Ticken(150);
    const QImage live = Bild().copy();
    const QString titel = frm->windowTitle();
    ASSERT_GT(Gefaerbt(live), 100);

    frm->Form_Resize();
    EXPECT_EQ(Bild(), live);
    EXPECT_EQ(frm->Schrittzahl, 150);
    EXPECT_EQ(frm->windowTitle(), titel);

    // A different size replays the same run at the new size.
    frm->resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(Bild().size(), frm->picPlavo().GeraetePixel());
    EXPECT_GT(Gefaerbt(Bild()), 100);
    EXPECT_EQ(frm->Schrittzahl, 150);
}

TEST_F(Fenster, SectionMapsBodiesAsItsCornersSay)
{
    // Half an AE to the right and half an AE down: halfway to the right and bottom edges.
    mod.KoerperStart = {Planet(0, 0.75e11, 0, 0, 0, 0xFF), Planet(0, 0, 0.75e11, 0, 0, 0xFF00)};
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
    EXPECT_EQ(frm->AusschnittBreite, 4.0);
    EXPECT_EQ(frm->AusschnittXOffset, 1.0);
    // 0.5 AE lies at (0.5 + 1) / 4 of the width after the replay.
    EXPECT_EQ(Bild().pixel(int(std::floor(1.5 / 4 * w)), h / 2), qRgb(255, 0, 0));
    EXPECT_EQ(frm->Schrittzahl, 1);
}

TEST_F(Fenster, AnswersThatAreNoNumbersChangeNothing)
{
    Eingaben({QStringLiteral("3"), std::nullopt});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->AusschnittBreite, 3.0) << "answers already given stay";
    EXPECT_EQ(frm->AusschnittHoehe, 2.0);
    EXPECT_EQ(frm->picPlavo().Flaeche().ScaleWidth(), 2.0f) << "the command ended without a redraw";

    Eingaben({QStringLiteral("0")});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->AusschnittBreite, 3.0) << "a zero width is not taken";

    Eingaben({QStringLiteral("-2"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("0")});
    frm->menAusschnitt_Click();
    EXPECT_EQ(frm->AusschnittBreite, -2.0) << "a negative width mirrors";
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
    mod.KoerperStart = SonneUndErde();
    frm->menStart_Click();
    tim.Ticken(4);
    Eingaben({QStringLiteral("0,5")});
    frm->menIntervall_Click();
    EXPECT_EQ(frage.Gefragt.back().Prompt, QStringLiteral("Neues Intervall zwischen zwei Berechnungen (Tage):"));
    EXPECT_EQ(frage.Gefragt.back().Vorgabe, QStringLiteral("2"));
    tim.Ticken(1);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo - 2,5 Tage"));

    frm->Form_Resize();
    const double weg = std::hypot(mod.KoerperSim[1].Vx(), mod.KoerperSim[1].Vy());
    EXPECT_NEAR(weg, 0.5 * 86400 * mod.KoerperStart[1].Geschwindigkeit, 0.01 * weg)
        << "the replay rebuilt the displacements with the new interval";
}

TEST_F(Fenster, AFaultingStepStopsTheRunWithAMessage)
{
    mod.KoerperStart = {Planet(1, 0, 0, 0, 0, 0), Planet(1, std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0)};
    frm->menStart_Click();
    EXPECT_TRUE(tim.Enabled());
    tim.Ticken(3);
    EXPECT_FALSE(tim.Enabled());
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_EQ(frage.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_TRUE(frage.Gemeldet[0].Text.startsWith(QStringLiteral("Die Simulation wurde wegen eines Rechenfehlers angehalten")));
    EXPECT_EQ(frm->Schrittzahl, 0);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Plavo"));

    // A build that overflows never switches the timer on.
    mod.KoerperStart = {Planet(1, 0, 0, 1e306, 0, 0)};
    frm->menZurueck_Click();
    frm->menStart_Click();
    EXPECT_FALSE(tim.Enabled());
    EXPECT_EQ(frage.Gemeldet.size(), 2u);
}

TEST_F(Fenster, EnergyBalanceFollowsTheRunOnlyWhileShown)
{
    mod.KoerperStart = SonneUndErde();
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
    const double jetzt = RelativeAenderung(EnergiebilanzBerechnen(mod.KoerperSim, 2).Gesamt, e0);
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
