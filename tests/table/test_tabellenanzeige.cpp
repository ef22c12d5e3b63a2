// SPDX-License-Identifier: GPL-3.0-or-later
// The table window as a window: layout, keys, and its life as shown by
// Tabellenanzeige (modal over its owner, hidden by the buttons, unloaded by
// the close box) while timers go on ticking.

#include "tabellentest.h"
#include "table/tabellenanzeige.h"
#include "table/twips.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <map>

using Fenster = Tabellentest;

namespace {

// Runs `schritt` once the modal loop is running; closes whatever modal
// window is left after a while (unless `kontext` is gone), so a failing test
// cannot hang.
void Waehrenddessen(QObject* kontext, std::function<void()> schritt)
{
    QTimer::singleShot(0, kontext, std::move(schritt));
    QTimer::singleShot(5000, kontext, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}

QPushButton* Knopf(QWidget& fenster, const char* name)
{
    return fenster.findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace

TEST_F(Fenster, LayoutInTwipsTitleButtonsAndTabOrder)
{
    const int dx = fenster.logicalDpiX();
    const int dy = fenster.logicalDpiY();
    auto rechteck = [&](int l, int o, int b, int h) {
        return QRect(TwipsZuPixel(l, dx), TwipsZuPixel(o, dy), TwipsZuPixel(b, dx), TwipsZuPixel(h, dy));
    };
    EXPECT_EQ(fenster.windowTitle(), QStringLiteral("Tabelle"));
    const Qt::WindowFlags f = fenster.windowFlags();
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));

    // No heading is cut, nor a row number up to the largest table; no column
    // is narrower than its width in twips.
    DreiKoerperZeigen();
    QtGitter& q = fenster.GitterWidget();

    // A fixed size: the twips, widened where the columns need it.
    const QSize client(TwipsZuPixel(8730, dx), TwipsZuPixel(5985, dy));
    EXPECT_EQ(fenster.minimumSize(), fenster.maximumSize());
    EXPECT_EQ(fenster.maximumSize().height(), client.height());
    const int mehr = fenster.maximumSize().width() - client.width();
    EXPECT_GE(mehr, 0);
    const QHeaderView* oben = q.horizontalHeader();
    const int rand = 2 * oben->style()->pixelMetric(QStyle::PM_HeaderMargin);
    const int twips[] = {960, 1440, 1440, 1440, 1440, 840, 540};
    for (int c = 1; c <= 7; ++c) {
        const QString kopf = g().TextMatrix(0, c);
        EXPECT_LT(oben->fontMetrics().horizontalAdvance(kopf) + rand, q.columnWidth(c - 1)) << kopf.toStdString();
        EXPECT_GE(q.columnWidth(c - 1), TwipsZuPixel(twips[c - 1], dx)) << c;
    }
    EXPECT_LT(q.verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("32767")) + rand,
              q.verticalHeader()->width());

    EXPECT_EQ(fenster.GitterWidget().geometry(), rechteck(120, 120, 8535, 5295).adjusted(0, 0, mehr, 0));
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    EXPECT_EQ(q.horizontalScrollBar()->maximum(), 0) << "every column in view without scrolling sideways";
    fenster.hide();
    struct Erwartet { const char* name; const char* text; int links; };
    const Erwartet knoepfe[] = {{"cmdNeu", "Hinzufügen...", 3480}, {"cmdEntfernen", "Entfernen", 4800},
                                {"cmdOK", "OK", 6120}, {"cmdAbbrechen", "Abbrechen", 7440}};
    QList<QWidget*> reihe{&fenster.GitterWidget()};
    for (const Erwartet& e : knoepfe) {
        QPushButton* k = Knopf(fenster, e.name);
        ASSERT_NE(k, nullptr) << e.name;
        EXPECT_EQ(k->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(k->geometry(), rechteck(e.links, 5520, 1215, 375).translated(mehr, 0)) << e.name;
        reihe << k;
    }
    EXPECT_TRUE(Knopf(fenster, "cmdOK")->isDefault());

    // Tab order: the grid, then the buttons from left to right.
    QList<QWidget*> gefunden;
    for (QWidget* w = fenster.GitterWidget().nextInFocusChain(); gefunden.size() < 4 && w != &fenster.GitterWidget();
         w = w->nextInFocusChain())
        if (reihe.contains(w))
            gefunden << w;
    EXPECT_EQ(gefunden, reihe.mid(1));
}

TEST_F(Fenster, EnterCommitsAndEscapeCancels)
{
    DreiKoerperZeigen();
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    fenster.GitterWidget().setFocus();
    QTest::keyClick(&fenster.GitterWidget(), Qt::Key_Escape);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_TRUE(mod.Gespeichert);
    EXPECT_FALSE(fenster.Geschlossen());

    fenster.Form_Activate();
    fenster.show();
    fenster.GitterWidget().setFocus();
    QTest::keyClick(&fenster.GitterWidget(), Qt::Key_Return);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_FALSE(mod.Gespeichert);
}

TEST_F(Fenster, ShownModallyHiddenByTheButtonsUnloadedByTheCloseBox)
{
    QWidget hauptfenster;
    hauptfenster.show();
    dok.Laden(QStringLiteral("/tmp/zwei.plv"), {Koerper_("A", 1, 0, 0, 0, 0, 0), Koerper_("B", 2, 0, 0, 0, 0, 0)});
    Tabellenanzeige anzeige(dok, fragen, cdg, &hauptfenster);
    EXPECT_EQ(anzeige.Fenster(), nullptr) << "created on first use only";

    int ticks = 0;
    QTimer simulation;
    QObject::connect(&simulation, &QTimer::timeout, [&] { ++ticks; });
    simulation.start(1);

    // Abbrechen hides: the window stays loaded with its grid, and is modal over its owner.
    FrmTabelle* geladen = nullptr;
    Waehrenddessen(&hauptfenster, [&] {
        geladen = anzeige.Fenster();
        ASSERT_NE(geladen, nullptr);
        EXPECT_TRUE(geladen->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), geladen);
        EXPECT_EQ(geladen->parentWidget(), &hauptfenster);
        EXPECT_EQ(geladen->fgrKoerper().Rows(), 3);
        geladen->fgrKoerper().TextMatrixSetzen(1, 1, QStringLiteral("Verworfen"));
        QTimer::singleShot(50, [&] { QTest::mouseClick(Knopf(*geladen, "cmdAbbrechen"), Qt::LeftButton); });
    });
    anzeige.Zeigen();
    EXPECT_GT(ticks, 0) << "timers tick while the table is shown";
    ASSERT_EQ(anzeige.Fenster(), geladen);
    EXPECT_FALSE(geladen->isVisible());
    EXPECT_TRUE(mod.Gespeichert);

    // The next showing refills; the close box then unloads.
    Waehrenddessen(&hauptfenster, [&] {
        EXPECT_EQ(anzeige.Fenster(), geladen);
        EXPECT_EQ(geladen->fgrKoerper().TextMatrix(1, 1), QStringLiteral("A              "));
        geladen->fgrKoerper().RemoveItem(1);
        geladen->close();
    });
    anzeige.Zeigen();
    EXPECT_EQ(anzeige.Fenster(), nullptr);
    EXPECT_EQ(mod.KoerperStart.size(), 2u);

    // Loaded again: headings and row numbers are back, then OK commits.
    Waehrenddessen(&hauptfenster, [&] {
        FrmTabelle* neu = anzeige.Fenster();
        ASSERT_NE(neu, nullptr);
        EXPECT_EQ(neu->fgrKoerper().TextMatrix(0, 5), QStringLiteral("Geschwindigkeit"));
        EXPECT_EQ(neu->fgrKoerper().Rows(), 3);
        QTest::mouseClick(Knopf(*neu, "cmdOK"), Qt::LeftButton);
    });
    anzeige.Zeigen();
    ASSERT_NE(anzeige.Fenster(), nullptr);
    EXPECT_FALSE(anzeige.Fenster()->isVisible());
    EXPECT_FALSE(mod.Gespeichert);
    EXPECT_EQ(mod.KoerperStart[1].NameText(), QStringLiteral("B              "));
}

// What the user meets in the shown, active window: the current cell the fill
// left (the last row) survives the grid taking the focus; from then on clicks
// and arrow keys move it, and F2 edits it.
TEST_F(Fenster, ShownAndFocusedTheLastRowIsCurrentUntilClicksOrKeysMoveOnAndF2Edits)
{
    QWidget hauptfenster;
    hauptfenster.setGeometry(60, 40, 680, 500);
    hauptfenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hauptfenster));
    dok.Laden(QStringLiteral("/tmp/vier.plv"), {Koerper_("Sonne", 1, 0, 0, 0, 0, 0), Koerper_("Merkur", 2, 0, 0, 0, 0, 0),
                                                Koerper_("Venus", 3, 0, 0, 0, 0, 0), Koerper_("Erde", 4, 0, 0, 0, 0, 0)});
    Tabellenanzeige anzeige(dok, fragen, cdg, &hauptfenster);
    auto name = [](FrmTabelle& f, int r) { return f.fgrKoerper().TextMatrix(r, 1).trimmed(); };

    Waehrenddessen(&hauptfenster, [&] {
        FrmTabelle& f = *anzeige.Fenster();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        QTest::qWait(50);
        EXPECT_TRUE(f.GitterWidget().hasFocus());
        // A fixed dialog frame with a close box only, centred over its owner.
        EXPECT_FALSE(f.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(f.minimumSize(), f.maximumSize());
        EXPECT_LE((f.frameGeometry().center() - hauptfenster.frameGeometry().center()).manhattanLength(), 30)
            << "within the title bar the window manager adds after placing it";
        QTest::mouseClick(Knopf(f, "cmdEntfernen"), Qt::LeftButton);
        EXPECT_EQ(f.fgrKoerper().Rows(), 4);
        EXPECT_EQ(name(f, 1), QStringLiteral("Sonne"));
        EXPECT_EQ(name(f, 3), QStringLiteral("Venus"));

        QtGitter& q = f.GitterWidget();
        QTest::mouseClick(q.viewport(), Qt::LeftButton, {}, q.visualRect(q.Modell().index(1, 0)).center());
        QTest::mouseClick(Knopf(f, "cmdEntfernen"), Qt::LeftButton);
        EXPECT_EQ(f.fgrKoerper().Rows(), 3);
        EXPECT_EQ(name(f, 2), QStringLiteral("Venus"));
        EXPECT_EQ(f.fgrKoerper().TextMatrix(2, 0), QStringLiteral("2"));

        // The keyboard alone: arrows move, F2 edits as a double-click does.
        fragen.Eingaben = {QStringLiteral("7")};
        QTest::keyClick(&q, Qt::Key_Up);
        QTest::keyClick(&q, Qt::Key_Right);
        QTest::keyClick(&q, Qt::Key_F2);
        ASSERT_EQ(fragen.Gefragt.size(), 1u);
        EXPECT_EQ(fragen.Gefragt[0].Prompt, QStringLiteral("Masse:"));
        EXPECT_EQ(fragen.Gefragt[0].Vorgabe, QStringLiteral("1"));
        EXPECT_EQ(f.fgrKoerper().TextMatrix(1, 2), QStringLiteral("7"));
        cdg.Antworten = {QStringLiteral("255")};
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&q, Qt::Key_Right);
        QTest::keyClick(&q, Qt::Key_F2);
        ASSERT_EQ(cdg.Aufrufe.size(), 1u);
        EXPECT_EQ(cdg.Aufrufe[0].Art, QStringLiteral("Color"));
        EXPECT_EQ(f.fgrKoerper().Row(), 1);
        EXPECT_EQ(f.fgrKoerper().CellBackColor(), 255);
        EXPECT_TRUE(f.isVisible()) << "F2 neither commits nor cancels";
        Knopf(f, "cmdAbbrechen")->setFocus();
        QTest::keyClick(Knopf(f, "cmdAbbrechen"), Qt::Key_Space);
    });
    anzeige.Zeigen();

    // Shown again from the active main window: the keyboard starts in the
    // grid, on the last row, not on the button that had the focus when the
    // window was hidden.
    hauptfenster.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&hauptfenster));
    Waehrenddessen(&hauptfenster, [&] {
        FrmTabelle& f = *anzeige.Fenster();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.GitterWidget().hasFocus(); }, 2000));
        EXPECT_EQ(f.fgrKoerper().Row(), 4);
        QTest::keyClick(&f.GitterWidget(), Qt::Key_Escape);
    });
    anzeige.Zeigen();
}

TEST_F(Fenster, FifteenDigitsShowInFullByTooltipDraggedOrFittedColumnAndSidewaysScrolling)
{
    dok.Laden(QStringLiteral("/tmp/erde.plv"),
              {Koerper_("Erde", 1, 149599545158.073, -4670670.74977773, 0.0905653003345452, 90, 0)});
    fenster.Form_Load();
    fenster.Form_Activate();
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    const QSize groesse = fenster.size();
    QtGitter& q = fenster.GitterWidget();
    QHeaderView* oben = q.horizontalHeader();
    const int rand = 2 * q.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &q) + 2;
    auto breiteFuer = [&](int c) { return q.fontMetrics().horizontalAdvance(g().TextMatrix(1, c)) + rand; };
    auto grenze = [&](int c) { return QPoint(oben->sectionViewportPosition(c - 1) + oben->sectionSize(c - 1) - 1,
                                            oben->height() / 2); };
    ASSERT_EQ(g().TextMatrix(1, 3), QStringLiteral("149599545158,073"));
    ASSERT_EQ(g().TextMatrix(1, 4), QStringLiteral("-4670670,74977773"));
    ASSERT_EQ(g().TextMatrix(1, 5), QStringLiteral("0,0905653003345452"));
    for (int c = 3; c <= 5; ++c)
        ASSERT_LT(q.columnWidth(c - 1), breiteFuer(c)) << "the default width cuts column " << c;

    // The tooltip names the whole text; the colour cell has none.
    const QModelIndex x = q.Modell().index(0, 2);
    QHelpEvent hilfe(QEvent::ToolTip, q.visualRect(x).center(), q.viewport()->mapToGlobal(q.visualRect(x).center()));
    QApplication::sendEvent(q.viewport(), &hilfe);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("149599545158,073"));
    EXPECT_FALSE(q.Modell().data(q.Modell().index(0, 6), Qt::ToolTipRole).isValid());
    // The headings' tooltips give the units.
    const std::map<int, QString> einheiten{{2, QStringLiteral("Erdmassen")}, {3, QStringLiteral(" m")},
                                           {4, QStringLiteral(" m")}, {5, QStringLiteral("m/s")},
                                           {6, QStringLiteral("°")}};
    for (const auto& [c, einheit] : einheiten) {
        const QPoint p(oben->sectionViewportPosition(c - 1) + 5, oben->height() / 2);
        QHelpEvent kopfHilfe(QEvent::ToolTip, p, oben->viewport()->mapToGlobal(p));
        QApplication::sendEvent(oben->viewport(), &kopfHilfe);
        EXPECT_TRUE(QToolTip::text().contains(einheit)) << c << ": " << QToolTip::text().toStdString();
    }

    // A double-click on a column's right border fits it to its text; it edits nothing.
    QTest::mouseDClick(oben->viewport(), Qt::LeftButton, {}, grenze(3));
    EXPECT_GE(q.columnWidth(2), breiteFuer(3));
    EXPECT_TRUE(fragen.Gefragt.empty());

    // Dragging a border widens the column by as much.
    const int vorher = q.columnWidth(3);
    const QPoint von = grenze(4);
    QTest::mousePress(oben->viewport(), Qt::LeftButton, {}, von);
    QTest::mouseMove(oben->viewport(), von + QPoint(30, 0));
    QTest::mouseMove(oben->viewport(), von + QPoint(60, 0));
    QTest::mouseRelease(oben->viewport(), Qt::LeftButton, {}, von + QPoint(60, 0));
    EXPECT_EQ(q.columnWidth(3), vorher + 60);
    QTest::mouseDClick(oben->viewport(), Qt::LeftButton, {}, grenze(5));
    EXPECT_GE(q.columnWidth(4), breiteFuer(5));

    // The window keeps its size; the grid scrolls sideways to the colour column.
    QCoreApplication::processEvents();
    EXPECT_EQ(fenster.size(), groesse);
    EXPECT_GT(q.horizontalScrollBar()->maximum(), 0);
    q.horizontalScrollBar()->setValue(q.horizontalScrollBar()->maximum());
    EXPECT_LE(q.visualRect(q.Modell().index(0, 6)).right(), q.viewport()->width());
    fenster.hide();
}
