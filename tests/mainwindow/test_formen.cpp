// SPDX-License-Identifier: GPL-3.0-or-later
// Shaping the system on the picture: each edit one command, exact in the
// document at step 0, an intervention of the run at a later step.
#include "mainwindow/frmplavo.h"
#include "sim/aufbau.h"
#include "sim/bearbeitung.h"
#include "support/koerperbau.h"
#include "support/skriptdialog.h"
#include "support/skriptzeitgeber.h"
#include "view/pfeile.h"
#include "view/picplavo.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double Mu = 3.986659e14;

// A sun and an earth on a circular orbit of half an AE, and a light moon far out.
KoerperSatz Sonnensystem()
{
    const double r = 0.75e11;
    return {NeuerKoerper(QStringLiteral("Sonne"), 332950, 0, 0, 0, 0, 0x0080FF),
            NeuerKoerper(QStringLiteral("Erde"), 1, r, 0, std::sqrt(Mu * 332950 / r), 90, 0xFF0000),
            NeuerKoerper(QStringLiteral("Komet"), 0.01, -1.1e11, 0.4e11, 2e4, 300, 0x00AA00)};
}

void Maus(QWidget& w, QEvent::Type typ, QPointF stelle, Qt::MouseButton knopf, Qt::MouseButtons knoepfe,
          Qt::KeyboardModifiers tasten = Qt::NoModifier)
{
    QMouseEvent e(typ, stelle, w.mapToGlobal(stelle), knopf, knoepfe, tasten);
    QApplication::sendEvent(&w, &e);
}

void Taste(QWidget& w, int taste, Qt::KeyboardModifiers mod = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, taste, mod);
    QApplication::sendEvent(&w, &e);
}

bool Endlich(const KoerperSatz& satz)
{
    for (const Koerper& k : satz)
        if (!std::isfinite(k.Masse) || !std::isfinite(k.X) || !std::isfinite(k.Y) || !std::isfinite(k.Vx())
            || !std::isfinite(k.Vy()))
            return false;
    return true;
}

struct Formen : ::testing::Test {
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    std::vector<int> tabellenZeilen;
    std::unique_ptr<FrmPlavo> frm;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        FrmPlavoDienste d;
        d.cdgPlavo = &cdg;
        d.rueckfragen = &frage;
        d.timPlavo = &tim;
        d.tabelleZeigenBei = [this](int zeile) { tabellenZeilen.push_back(zeile); };
        frm = std::make_unique<FrmPlavo>(dok, std::move(d));
        frm->show();
        frm->resize(400, 300);
        QApplication::processEvents();
        dok.Laden(QStringLiteral("sonne.plv"), Sonnensystem());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    PicPlavo& Pic() { return frm->picPlavo(); }
    QPointF Pixel(std::size_t k) { return frm->Abbildung().Pixel({frm->lauf().Jetzt()[k].X, frm->lauf().Jetzt()[k].Y}); }
    QAction* Eintrag(QMenu& m, const char* name) { return m.findChild<QAction*>(QString::fromUtf8(name)); }
};

}  // namespace

// A press on a dot past the drag distance moves the body by exactly the
// section's metres per pixel; Esc cancels, leaving the picture clamps at its
// edge, and a running simulation stands still while the body is held.
TEST_F(Formen, ADragMovesABodyByTheSectionsMetresPerPixelAsOneUndoableCommand)
{
    const KoerperSatz vorher = mod.KoerperStart;
    frm->Menue(QStringLiteral("menNamen"))->trigger();
    // dx · Breite / breite AE, as a drag of the section counts it.
    const auto mX = [&](double dx) { return dx * (frm->ansicht().Aktuell().Breite / Pic().width()) * 1.5e11; };
    const auto mY = [&](double dy) { return dy * (frm->ansicht().Aktuell().Hoehe / Pic().height()) * 1.5e11; };
    const QPointF erde = Pixel(1);
    Maus(Pic(), QEvent::MouseButtonPress, erde, Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, erde + QPointF(1, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(Pic().Greift()) << "not past the drag distance yet";
    Maus(Pic(), QEvent::MouseMove, erde + QPointF(30, 4), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Pic().Greift());
    EXPECT_EQ(Pic().Verschiebung(), QPointF()) << "the section stays";
    // The name goes with the held dot: beside it, and no longer where it was.
    const QImage gehalten = Pic().grab().toImage();
    const auto beschriftet = [&](QPointF punkt, int breite) {
        int dunkel = 0;
        for (int y = int(punkt.y()) - 8; y < int(punkt.y()) + 6; ++y)
            for (int x = int(punkt.x()) + 6; x < int(punkt.x()) + 6 + breite; ++x)
            {
                // The names' dark grey, not the selection's blue ring.
                const QRgb f = gehalten.pixel(x, y);
                dunkel += qRed(f) < 128 && qGreen(f) < 128 && qBlue(f) < 128;
            }
        return dunkel;
    };
    EXPECT_GT(beschriftet(erde + QPointF(30, 4), 30), 10);
    EXPECT_EQ(beschriftet(erde, 16), 0);
    Maus(Pic(), QEvent::MouseButtonRelease, erde + QPointF(37, -9), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(mod.KoerperStart[1].X, vorher[1].X + mX(37));
    EXPECT_EQ(mod.KoerperStart[1].Y, vorher[1].Y + mY(-9));
    EXPECT_TRUE(BitGleich(mod.KoerperStart[0], vorher[0]));
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Körper verschieben: Erde"));
    EXPECT_EQ(Pic().Auswahl(), std::optional<std::size_t>(1));
    const KoerperSatz verschoben = mod.KoerperStart;
    frm->menRueckgaengig_Click();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, vorher));
    EXPECT_TRUE(mod.Gespeichert);
    frm->menWiederherstellen_Click();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, verschoben));

    // Esc cancels: nothing changes, nothing is added to undo.
    const int befehle = dok.Stapel().count();
    Maus(Pic(), QEvent::MouseButtonPress, Pixel(1), Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, Pixel(1) + QPointF(40, 40), Qt::NoButton, Qt::LeftButton);
    Taste(Pic(), Qt::Key_Escape);
    Maus(Pic(), QEvent::MouseButtonRelease, Pixel(1) + QPointF(40, 40), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(BitGleich(mod.KoerperStart, verschoben));
    EXPECT_EQ(dok.Stapel().count(), befehle);

    // Leaving the picture clamps at its edge; the run stops while held and goes on after.
    frm->menStart_Click();
    tim.Ticken(3);
    const QPointF von = Pixel(2);
    const Koerper komet = frm->lauf().Jetzt()[2];
    Maus(Pic(), QEvent::MouseButtonPress, von, Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, von + QPointF(12, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Pic().Greift());
    EXPECT_FALSE(tim.Enabled());
    Maus(Pic(), QEvent::MouseMove, QPointF(-500, 2000), Qt::NoButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseButtonRelease, QPointF(-500, 2000), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(tim.Enabled());
    EXPECT_EQ(frm->lauf().Jetzt()[2].X, komet.X + mX(0 - von.x()));
    EXPECT_EQ(frm->lauf().Jetzt()[2].Y, komet.Y + mY(Pic().height() - 1 - von.y()));

    // The keys: Tab selects, an arrow moves by a pixel, Shift by ten, Entf removes.
    frm->menStop_Click();
    Pic().AuswahlSetzen(std::nullopt);
    Taste(Pic(), Qt::Key_Tab);
    Taste(Pic(), Qt::Key_Tab);
    ASSERT_EQ(Pic().Auswahl(), std::optional<std::size_t>(1));
    const double x = frm->lauf().Jetzt()[1].X;
    Taste(Pic(), Qt::Key_Right, Qt::ShiftModifier);
    Taste(Pic(), Qt::Key_Left);
    EXPECT_EQ(frm->lauf().Jetzt()[1].X, x + mX(10) + mX(-1));
    Taste(Pic(), Qt::Key_Delete);
    EXPECT_EQ(frm->lauf().Jetzt().size(), 2u);
    // Locked, the picture only looks.
    frm->Menue(QStringLiteral("menSperren"))->trigger();
    Taste(Pic(), Qt::Key_Tab);
    EXPECT_EQ(Pic().Auswahl(), std::nullopt);
}

// The velocity arrows keep the scale chosen when turned on; the handle at a
// tip sets the velocity, Shift at a tenth of the mouse's motion, Ctrl onto
// the circular orbit about the body that pulls hardest.
TEST_F(Formen, TheArrowsHandleSetsTheVelocityFinelyOrOntoTheCircularOrbit)
{
    frm->Menue(QStringLiteral("menGeschwindigkeiten"))->trigger();
    const double vErde = mod.KoerperStart[1].Geschwindigkeit;
    const double massstab = Pic().Pfeile().VMassstab();
    const double laenge = std::min(Pic().width(), Pic().height()) / 6.0;
    EXPECT_DOUBLE_EQ(massstab, laenge / vErde) << "the longest arrow a sixth of the shorter side";
    EXPECT_EQ(Pfeile::Geschwindigkeitstext(30000), QStringLiteral("30 km/s"));
    EXPECT_EQ(Pfeile::Geschwindigkeitstext(2500.5), QStringLiteral("2,5005 km/s"));
    EXPECT_EQ(Pfeile::Legendenwert(1.0 / 1000, 120), 100000.0) << "a round bar of at most 120 pixels";
    frm->menVergroessern_Click();
    EXPECT_EQ(Pic().Pfeile().VMassstab(), massstab) << "zooming keeps the scale";
    frm->menVerkleinern_Click();

    // Shift: 100 pixels of the mouse move the tip by 10.
    const QPointF spitze = Pixel(1) + QPointF(0, laenge);   // the earth moves towards +y
    Maus(Pic(), QEvent::MouseButtonPress, spitze, Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, spitze + QPointF(100, 0), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    Maus(Pic(), QEvent::MouseButtonRelease, spitze + QPointF(100, 0), Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Geschwindigkeit setzen: Erde"));
    const Vektor v = Geschwindigkeit(mod.KoerperStart[1], {});
    EXPECT_NEAR(v.x, 10 / massstab, 1e-9 * vErde);
    EXPECT_NEAR(v.y, vErde, 1e-9 * vErde);

    // Ctrl: back onto the circle, in the sense of the motion.
    const QPointF neu = Pixel(1) + QPointF(10, laenge);
    Maus(Pic(), QEvent::MouseButtonPress, neu, Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, neu + QPointF(30, 20), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    Maus(Pic(), QEvent::MouseButtonRelease, neu + QPointF(30, 20), Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    const Koerper& erde = mod.KoerperStart[1];
    EXPECT_NEAR(erde.Geschwindigkeit, std::sqrt(Mu * (332950 + 1) / erde.X), 1e-12 * vErde);
    EXPECT_NEAR(erde.Richtung, 90, 1e-12);
    frm->menRueckgaengig_Click();
    frm->menRueckgaengig_Click();
    EXPECT_EQ(mod.KoerperStart[1].Geschwindigkeit, vErde);

    // A crowd's handles are neither drawn nor grabbed: a press there pans.
    Pfeile pfeile;
    const auto mitTips = [&](std::size_t n) {
        std::vector<QPointF> mitten(n, QPointF(100, 100));
        std::vector<std::size_t> koerper(n);
        for (std::size_t i = 0; i < n; ++i)
            koerper[i] = i;
        const std::vector<Vektor> werte(n, Vektor{1000, 0});
        pfeile.Berechnen(mitten, koerper, werte, frm->Abbildung(), 0.02);
        return pfeile.SpitzeBei(QPointF(120, 100));
    };
    EXPECT_EQ(mitTips(2000), std::optional<std::size_t>(1999));
    EXPECT_EQ(mitTips(2001), std::nullopt);
}

// In a moving frame the arrows show velocities as the frame sees them, at
// a scale chosen again for them: the followed body has none, and a handle
// dragged in a turning frame sets the fixed-frame velocity whose arrow lands
// where the mouse let go.
TEST_F(Formen, TheArrowsShowAndSetVelocitiesAsTheFrameSeesThem)
{
    frm->Menue(QStringLiteral("menGeschwindigkeiten"))->trigger();
    const double laenge = std::min(Pic().width(), Pic().height()) / 6.0;
    const auto laengste = [&] {
        const std::optional<Bezugslage> lage = Pic().LageJetzt();
        double v = 0;
        for (const Koerper& k : mod.KoerperStart) {
            const Vektor w = lage ? Pfeilanzeige::GeschwindigkeitGesehen(*lage, k, Geschwindigkeit(k, {}))
                                  : Geschwindigkeit(k, {});
            v = std::max(v, std::hypot(w.x, w.y));
        }
        return v;
    };
    frm->KoerperFolgen(1);
    Pic().repaint();
    const double massstab = Pic().Pfeile().VMassstab();
    EXPECT_DOUBLE_EQ(massstab * laengste(), laenge) << "the longest arrow seen a sixth of the shorter side";
    EXPECT_FALSE(Pic().Pfeile().SpitzeBei(Pixel(1)));
    EXPECT_FALSE(Pic().Pfeile().SpitzeBei(Pixel(1) + QPointF(0, massstab * mod.KoerperStart[1].Geschwindigkeit)));
    // The sun, at rest, moves against the earth's motion.
    EXPECT_EQ(Pic().Pfeile().SpitzeBei(Pixel(0) - QPointF(0, massstab * mod.KoerperStart[1].Geschwindigkeit)),
              std::optional<std::size_t>(0));

    frm->MitdrehenMit(1);
    const std::optional<Bezugslage> lage = Pic().LageJetzt();
    ASSERT_TRUE(lage && lage->drehrate != 0);
    const double drehMassstab = Pic().Pfeile().VMassstab();
    EXPECT_DOUBLE_EQ(drehMassstab * laengste(), laenge);
    const Koerper komet = mod.KoerperStart[2];
    const QPointF q = lage->Ort(KoerperOrt(komet, MeterProAE));
    const Vektor v = Geschwindigkeit(komet, {});
    const QPointF w = lage->Geschwindigkeit(q, QPointF(v.x, v.y), MeterProAE);
    const Bildabbildung abbildung = frm->Abbildung();
    const QPointF pfeil = abbildung.Pfeil({w.x(), w.y()}, drehMassstab);
    const QPointF spitze = Pixel(2) + pfeil, los = spitze + QPointF(20, 10);
    Maus(Pic(), QEvent::MouseButtonPress, spitze, Qt::LeftButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseMove, los, Qt::NoButton, Qt::LeftButton);
    Maus(Pic(), QEvent::MouseButtonRelease, los, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(dok.RueckgaengigText(), QStringLiteral("Geschwindigkeit setzen: Komet"));
    const Vektor gezeigt = abbildung.AusPfeil(pfeil + QPointF(20, 10), drehMassstab);
    const QPointF fest = lage->GeschwindigkeitZurueck(q, QPointF(gezeigt.x, gezeigt.y), MeterProAE);
    const Vektor neu = Geschwindigkeit(mod.KoerperStart[2], {});
    EXPECT_NEAR(neu.x, fest.x(), 1e-9 * std::hypot(fest.x(), fest.y()));
    EXPECT_NEAR(neu.y, fest.y(), 1e-9 * std::hypot(fest.x(), fest.y()));
}

// Two bodies on one point make every step fail: such a drop is refused. A
// dot dropped onto another's is taken; the tooltip then counts both.
TEST_F(Formen, ADropOntoAnotherBodysExactPointIsRefused)
{
    const Vektor d = frm->Abbildung().Versatz(QPointF(10, 0));
    KoerperSatz satz = Sonnensystem();
    satz[1].X = satz[0].X + d.x;
    satz[1].Y = satz[0].Y + d.y;
    dok.KoerperUebernehmen(satz);
    const int befehle = dok.Stapel().count();
    EXPECT_FALSE(frm->KoerperVerschieben(0, QPointF(10, 0)));
    EXPECT_TRUE(BitGleich(mod.KoerperStart, satz));
    EXPECT_EQ(dok.Stapel().count(), befehle);
    EXPECT_TRUE(frm->KoerperVerschieben(0, QPointF(10, 1)));

    const auto tipp = [&](QPointF stelle) {
        QHelpEvent frage(QEvent::ToolTip, stelle.toPoint(), Pic().mapToGlobal(stelle.toPoint()));
        QApplication::sendEvent(&Pic(), &frage);
        return QToolTip::text();
    };
    const QString ueber = tipp(Pixel(1));
    EXPECT_TRUE(ueber.startsWith(QStringLiteral("Erde\n"))) << "the one drawn last, on top: " << ueber.toStdString();
    EXPECT_TRUE(ueber.endsWith(QStringLiteral("\n2 Körper liegen hier übereinander"))) << ueber.toStdString();
    EXPECT_FALSE(tipp(Pixel(2)).contains(QStringLiteral("übereinander")));
}

TEST_F(Formen, TheContextMenuInsertsRemovesAndPutsOnACircularOrbit)
{
    const KoerperSatz vorher = mod.KoerperStart;
    const QPointF stelle(250, 150);
    {
        QMenu m;
        frm->KontextmenueFuellen(m, stelle, std::nullopt);
        ASSERT_EQ(m.actions().size(), 1);
        EXPECT_EQ(m.actions()[0]->text(), QStringLiteral("Körper hier einfügen"));
        m.actions()[0]->trigger();
    }
    ASSERT_EQ(mod.KoerperStart.size(), 4u);
    const Koerper& neu = mod.KoerperStart[3];
    EXPECT_EQ(neu.NameText().trimmed(), QStringLiteral("Körper 4"));
    EXPECT_EQ(neu.Masse, 1.0);
    EXPECT_EQ(neu.Farbe, NaechsteFarbe(vorher));
    const Vektor ort = frm->Abbildung().Ort(stelle);
    EXPECT_EQ(neu.X, ort.x);
    EXPECT_EQ(neu.Y, ort.y);
    // About the sun, which pulls hardest there.
    const double r = std::hypot(neu.X, neu.Y);
    EXPECT_NEAR(neu.Geschwindigkeit, std::sqrt(Mu * (332950 + 1) / r), 1e-9 * neu.Geschwindigkeit);
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Körper einfügen: Körper 4"));

    // On a dot: remove, a circular orbit about the one that pulls hardest, the table.
    QMenu m;
    frm->KontextmenueFuellen(m, stelle, 2);
    ASSERT_TRUE(Eintrag(m, "menEntfernen") && Eintrag(m, "menKreisbahn") && Eintrag(m, "menInTabelle"));
    EXPECT_EQ(Eintrag(m, "menKreisbahn")->text(), QStringLiteral("Kreisbahn um Sonne"));
    EXPECT_EQ(Eintrag(m, "menInTabelle")->text(), QStringLiteral("In der Tabelle bearbeiten..."));
    Eintrag(m, "menKreisbahn")->trigger();
    const Koerper& komet = mod.KoerperStart[2];
    EXPECT_NEAR(komet.Geschwindigkeit, Kreisgeschwindigkeit(std::hypot(komet.X, komet.Y), 332950, 0.01),
                1e-12 * komet.Geschwindigkeit);
    Eintrag(m, "menInTabelle")->trigger();
    EXPECT_EQ(tabellenZeilen, std::vector<int>{3});
    Eintrag(m, "menEntfernen")->trigger();
    ASSERT_EQ(mod.KoerperStart.size(), 3u);
    EXPECT_EQ(mod.KoerperStart[2].NameText().trimmed(), QStringLiteral("Körper 4"));

    // Each was one command: undone one by one, the document's bytes come back.
    for (int i = 0; i < 3; ++i)
        frm->menRueckgaengig_Click();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, vorher));
    EXPECT_TRUE(mod.Gespeichert);

    // The only body is never removed.
    dok.KoerperUebernehmen({vorher[0]});
    QMenu allein;
    frm->KontextmenueFuellen(allein, Pixel(0), 0);
    EXPECT_FALSE(Eintrag(allein, "menEntfernen")->isEnabled());
    EXPECT_FALSE(Eintrag(allein, "menKreisbahn")->isEnabled());
    EXPECT_FALSE(frm->KoerperEntfernen(0));
}

// A dot's menu puts the picture into that body's frame, or turning with the
// body that pulls hardest on it, and Optionen shows the frame chosen.
TEST_F(Formen, TheContextMenuChoosesTheDotsFrame)
{
    QMenu m;
    frm->KontextmenueFuellen(m, Pixel(1), 1);
    ASSERT_TRUE(Eintrag(m, "menFolgen") && Eintrag(m, "menMitdrehen"));
    EXPECT_EQ(Eintrag(m, "menFolgen")->text(), QStringLiteral("Diesem Körper folgen"));
    EXPECT_EQ(Eintrag(m, "menMitdrehen")->text(), QStringLiteral("Mit Sonne mitdrehen"));
    Eintrag(m, "menFolgen")->trigger();
    EXPECT_EQ(frm->picPlavo().Bezug(), Bezugssystem::EinKoerper(1));
    EXPECT_TRUE(frm->Menue(QStringLiteral("menBezugKoerper"))->isChecked());
    Eintrag(m, "menMitdrehen")->trigger();
    EXPECT_EQ(frm->picPlavo().Bezug(), Bezugssystem::Mitrotierend(0, 1));
    EXPECT_TRUE(frm->Menue(QStringLiteral("menBezugMitrotierend"))->isChecked());
    EXPECT_FALSE(frm->Menue(QStringLiteral("menBezugKoerper"))->isChecked());

    // Nothing pulls on a lone body: there is nothing to turn with.
    frm->menBezugFest_Click();
    dok.KoerperUebernehmen({Sonnensystem()[0]});
    QMenu allein;
    frm->KontextmenueFuellen(allein, Pixel(0), 0);
    EXPECT_TRUE(Eintrag(allein, "menFolgen"));
    EXPECT_FALSE(Eintrag(allein, "menMitdrehen"));
}

// At a later step the document stays: the run keeps the edit at its step,
// redraws it as drawn live, and undo gives back the run as it stood.
TEST_F(Formen, EditsAtALaterStepAreInterventionsAndUndoGivesTheRunBack)
{
    const KoerperSatz dokVorher = mod.KoerperStart;
    frm->menStart_Click();
    tim.Ticken(30);
    frm->menStop_Click();
    const Laufstand vor = frm->lauf().Stand();
    ASSERT_TRUE(frm->KoerperVerschieben(1, QPointF(20, 5)));
    EXPECT_TRUE(BitGleich(mod.KoerperStart, dokVorher));
    EXPECT_TRUE(mod.Gespeichert) << "the file's bodies did not change";
    EXPECT_EQ(frm->Schrittzahl(), 30);
    EXPECT_EQ(frm->lauf().Jetzt()[1].X, vor.KoerperSim[1].X + frm->Abbildung().Versatz(QPointF(20, 5)).x);
    EXPECT_EQ(dok.RueckgaengigText(), QStringLiteral("Körper verschieben: Erde"));
    frm->menStart_Click();
    tim.Ticken(10);
    frm->menStop_Click();
    ASSERT_TRUE(frm->KoerperEinfuegen(QPointF(100, 100)));
    EXPECT_EQ(frm->lauf().Zeilen(), (std::vector<int32_t>{0, 1, 2, -1}));
    ASSERT_TRUE(frm->KoerperEntfernen(0));
    EXPECT_EQ(frm->lauf().Zeilen(), (std::vector<int32_t>{1, 2, -1}));
    frm->menStart_Click();
    tim.Ticken(15);
    const QImage live = Pic().Flaeche().Image().copy();
    const Laufstand ende = frm->lauf().Stand();
    frm->Form_Resize();
    frm->NeuzeichnungAbschliessen();
    EXPECT_TRUE(Pic().Flaeche().Image() == live);
    EXPECT_TRUE(BitGleich(frm->lauf().Stand(), ende));

    // The table's OK replaces the run; its undo gives the interventions back.
    dok.KoerperUebernehmen(mod.KoerperStart);
    frm->NeuzeichnungAbschliessen();
    EXPECT_TRUE(frm->lauf().Eingriffsliste().empty());
    EXPECT_EQ(frm->lauf().Jetzt().size(), 3u);
    frm->menRueckgaengig_Click();
    frm->NeuzeichnungAbschliessen();
    EXPECT_EQ(frm->lauf().Eingriffsliste().size(), 3u);
    EXPECT_TRUE(BitGleich(frm->lauf().Stand(), ende));

    // Undone one by one back to the state before the first.
    frm->menStop_Click();
    for (int i = 0; i < 3; ++i)
        frm->menRueckgaengig_Click();
    frm->NeuzeichnungAbschliessen();
    EXPECT_EQ(frm->Schrittzahl(), 30);
    EXPECT_TRUE(BitGleich(frm->lauf().Stand(), vor));
    EXPECT_TRUE(frm->lauf().Eingriffsliste().empty());
    EXPECT_TRUE(BitGleich(mod.KoerperStart, dokVorher));
}

// "Als Startzustand übernehmen" mid-run: each body keeps its speed and
// direction, and a new run continues the old one's positions.
TEST_F(Formen, TheStateTakenAsTheStartKeepsSpeedsAndTheRunGoesOn)
{
    const KoerperSatz dokVorher = mod.KoerperStart;
    frm->menStart_Click();
    tim.Ticken(25);
    frm->menStop_Click();
    const Laufstand mitte = frm->lauf().Stand();
    Laufstand weiter = mitte;
    Rechenwerk werk;
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(werk.Schritt(weiter).fehler, KeinFehler);

    frm->menStartzustand_Click();
    EXPECT_EQ(frm->Schrittzahl(), 0);
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_TRUE(Pic().Flaeche().Image().pixel(0, 0) == 0xFFFFFFFF);
    const double sekunden = mitte.Intervall * 86400;
    for (std::size_t k = 0; k < mitte.KoerperSim.size(); ++k) {
        const Koerper& alt = mitte.KoerperSim[k];
        const Koerper& neu = mod.KoerperStart[k];
        const double v = std::hypot(alt.Vx(), alt.Vy()) / sekunden;
        double richtung = std::atan2(alt.Vy(), alt.Vx()) * 180 / std::numbers::pi;
        if (richtung < 0)
            richtung += 360;
        EXPECT_NEAR(neu.Geschwindigkeit, v, 1e-12 * v + 1e-300);
        EXPECT_NEAR(neu.Richtung, richtung, 1e-12 * richtung + 1e-12);
        EXPECT_GE(neu.Richtung, 0);
        EXPECT_LT(neu.Richtung, 360);
        EXPECT_EQ(neu.X, alt.X);
    }
    frm->menStart_Click();
    tim.Ticken(10);
    for (std::size_t k = 0; k < weiter.KoerperSim.size(); ++k) {
        const Koerper& soll = weiter.KoerperSim[k];
        EXPECT_NEAR(frm->lauf().Jetzt()[k].X, soll.X, 1e-9 * std::abs(soll.X) + 1);
        EXPECT_NEAR(frm->lauf().Jetzt()[k].Y, soll.Y, 1e-9 * std::abs(soll.Y) + 1);
    }
    frm->menStop_Click();
    frm->menRueckgaengig_Click();
    frm->NeuzeichnungAbschliessen();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, dokVorher));
    EXPECT_EQ(frm->Schrittzahl(), 25);
    EXPECT_TRUE(BitGleich(frm->lauf().Stand().KoerperSim, mitte.KoerperSim));
}

// Random drags, inserts, removals, undos, redos, steps and resets: the run's
// set always has a row for each body, matches the document at step 0, and
// every number stays finite; undoing everything gives the document back.
TEST_F(Formen, RandomEditsUndosAndRedosKeepBothSetsWholeAndFinite)
{
    const KoerperSatz dokVorher = mod.KoerperStart;
    std::mt19937 zufall(28);
    for (int i = 0; i < 90; ++i) {
        const std::size_t n = frm->lauf().Jetzt().size();
        const QPointF stelle(double(zufall() % 400), double(zufall() % 300));
        switch (zufall() % 8) {
        case 0: frm->KoerperVerschieben(zufall() % n, QPointF(int(zufall() % 41) - 20, int(zufall() % 41) - 20)); break;
        case 1: frm->KoerperEinfuegen(stelle); break;
        case 2: frm->KoerperEntfernen(zufall() % n); break;
        case 3: frm->menRueckgaengig_Click(); break;
        case 4: frm->menWiederherstellen_Click(); break;
        case 5: frm->menImpulsNull_Click(); break;
        case 6:
            frm->menStart_Click();
            tim.Ticken(1 + int(zufall() % 5));
            frm->menStop_Click();
            break;
        default:
            if (zufall() % 4 == 0)
                frm->menZurueck_Click();
            else
                frm->KreisbahnUm(zufall() % n, zufall() % n);
        }
        frm->NeuzeichnungAbschliessen();
        const Lauf& lauf = frm->lauf();
        ASSERT_EQ(lauf.Zeilen().size(), lauf.Jetzt().size()) << i;
        if (lauf.Schrittzahl() > 0 && lauf.Eingriffsliste().empty()) {
            ASSERT_EQ(lauf.Stand().KoerperSim.size(), mod.KoerperStart.size()) << i;
        }
        ASSERT_GE(mod.KoerperStart.size(), 1u);
        ASSERT_TRUE(Endlich(mod.KoerperStart)) << i;
        ASSERT_TRUE(Endlich(lauf.Jetzt())) << i;
    }
    frm->menZurueck_Click();
    while (dok.Stapel().canUndo())
        frm->menRueckgaengig_Click();
    EXPECT_TRUE(BitGleich(mod.KoerperStart, dokVorher));
}
