// SPDX-License-Identifier: GPL-3.0-or-later
// The grid on Qt's table view: the operations the table window relies on, the
// headers standing for the fixed row and column, and the mouse.

#include "tabellentest.h"
#include "table/twips.h"

#include <QSignalSpy>

namespace {

// A grid of 8 columns with texts "r/c" in every data cell of `zeilen` data rows.
void Beschriften(QtGitter& g, int zeilen)
{
    g.RowsSetzen(zeilen + 1);
    for (int r = 1; r <= zeilen; ++r)
        for (int c = 0; c < 8; ++c)
            g.TextMatrixSetzen(r, c, QStringLiteral("%1/%2").arg(r).arg(c));
}

}  // namespace

TEST(QtGitter, RowsGrowsAndShrinksAtTheEndKeepingTheOtherRows)
{
    QtGitter g(8);
    EXPECT_EQ(g.Rows(), 2);
    Beschriften(g, 3);
    g.RowSetzen(3);
    g.ColSetzen(2);
    g.CellBackColorSetzen(0x0000FF);

    g.RowsSetzen(6);
    EXPECT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.Modell().rowCount(), 5);
    EXPECT_EQ(g.TextMatrix(3, 4), QStringLiteral("3/4"));
    EXPECT_EQ(g.TextMatrix(5, 4), QString());

    // Dropping the current row moves the current cell to the new last row.
    g.RowsSetzen(3);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(2, 1), QStringLiteral("2/1"));
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.CellBackColor(), 0);

    // Growing again brings back empty, uncoloured cells, not the old ones.
    g.RowsSetzen(4);
    g.RowSetzen(3);
    EXPECT_EQ(g.TextMatrix(3, 4), QString());
    EXPECT_EQ(g.CellBackColor(), 0);

    g.RowsSetzen(0);   // the heading row always stays
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.TextMatrix(7, 1), QString());
}

TEST(QtGitter, AddItemAndRemoveItemMoveTextsAndColoursTogether)
{
    QtGitter g(8);
    Beschriften(g, 4);
    for (int r = 1; r <= 4; ++r) {
        g.RowSetzen(r);
        g.ColSetzen(7);
        g.CellBackColorSetzen(r * 0x10);
    }

    g.AddItem(QStringLiteral("5"));
    EXPECT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.TextMatrix(5, 0), QStringLiteral("5"));
    for (int c = 1; c < 8; ++c)
        EXPECT_EQ(g.TextMatrix(5, c), QString()) << c;
    g.RowSetzen(5);
    EXPECT_EQ(g.CellBackColor(), 0);
    EXPECT_EQ(g.Row(), 5) << "AddItem must not move the current cell by itself";

    g.RemoveItem(2);
    EXPECT_EQ(g.Rows(), 5);
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("1/3"));
    EXPECT_EQ(g.TextMatrix(2, 3), QStringLiteral("3/3"));
    EXPECT_EQ(g.TextMatrix(3, 0), QStringLiteral("4/0"));
    g.RowSetzen(2);
    EXPECT_EQ(g.CellBackColor(), 0x30);
    g.RowSetzen(3);
    EXPECT_EQ(g.CellBackColor(), 0x40);

    // Neither the heading row nor the last data row can go.
    g.RemoveItem(0);
    g.RowsSetzen(2);
    g.RemoveItem(1);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("1/1"));
}

TEST(QtGitter, FixedRowAndColumnAreTheHeadersColourZeroIsNoBackgroundWidthsInTwips)
{
    QtGitter g(8);
    g.TextMatrixSetzen(0, 2, QStringLiteral("Masse"));
    g.TextMatrixSetzen(1, 0, QStringLiteral("1"));
    g.TextMatrixSetzen(1, 2, QStringLiteral("2,5"));
    EXPECT_EQ(g.Modell().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Masse"));
    EXPECT_EQ(g.Modell().headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
    EXPECT_EQ(g.Modell().data(g.Modell().index(0, 1)).toString(), QStringLiteral("2,5"));

    g.RowSetzen(1);
    g.ColSetzen(7);
    const QModelIndex farbzelle = g.Modell().index(0, 6);
    EXPECT_FALSE(g.Modell().data(farbzelle, Qt::BackgroundRole).isValid());
    g.CellBackColorSetzen(0x00FF80);   // red in the low byte
    EXPECT_EQ(g.Modell().data(farbzelle, Qt::BackgroundRole).value<QColor>(), QColor(0x80, 0xFF, 0x00));
    g.CellBackColorSetzen(0);
    EXPECT_FALSE(g.Modell().data(farbzelle, Qt::BackgroundRole).isValid());

    // NUL characters (a never-named body) are kept in the text but not drawn.
    const QString namenlos(15, QChar(0));
    g.TextMatrixSetzen(1, 1, namenlos);
    EXPECT_EQ(g.TextMatrix(1, 1), namenlos);
    EXPECT_EQ(g.Modell().data(g.Modell().index(0, 0)).toString(), QString());

    EXPECT_EQ(g.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(g.Modell().flags(farbzelle) & Qt::ItemIsEditable);

    // Widths in twips at the logical DPI; column 0 is the row-number header.
    g.ColWidthSetzen(0, 300);
    g.ColWidthSetzen(2, 1440);
    EXPECT_EQ(g.columnWidth(1), g.logicalDpiX());
    EXPECT_GE(g.verticalHeader()->width(), TwipsZuPixel(300, g.logicalDpiX())) << "wider where 32767 needs it";
}

TEST(QtGitter, ChangesReachTheViewOnceTheEventLoopRuns)
{
    QtGitter g(8);
    g.RowsSetzen(10);
    QSignalSpy zellen(&g.Modell(), &QAbstractItemModel::dataChanged);
    QSignalSpy koepfe(&g.Modell(), &QAbstractItemModel::headerDataChanged);
    g.TextMatrixSetzen(3, 2, QStringLiteral("a"));
    g.TextMatrixSetzen(7, 5, QStringLiteral("b"));
    g.RowSetzen(9);
    g.ColSetzen(6);
    g.CellBackColorSetzen(0x112233);
    g.TextMatrixSetzen(4, 0, QStringLiteral("4"));
    g.RowsSetzen(8);   // the coloured cell's row is gone before the view hears of it
    QCoreApplication::processEvents();

    ASSERT_EQ(zellen.size(), 1);
    EXPECT_EQ(zellen[0][0].toModelIndex(), g.Modell().index(2, 1));
    EXPECT_EQ(zellen[0][1].toModelIndex(), g.Modell().index(6, 5));
    ASSERT_EQ(koepfe.size(), 1);
    EXPECT_EQ(koepfe[0][0].value<Qt::Orientation>(), Qt::Vertical);
    EXPECT_EQ(koepfe[0][1].toInt(), 3);
}

TEST(QtGitter, DoubleClickMakesTheCellCurrentAndReportsItUnderTheMouse)
{
    QtGitter g(8);
    g.resize(500, 300);
    Beschriften(g, 5);
    for (int c = 0; c < 8; ++c)
        g.TextMatrixSetzen(0, c, QStringLiteral("K%1").arg(c));
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));

    int doppelklicks = 0;
    g.DblClickVerbinden([&] { ++doppelklicks; });

    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(g.Modell().index(1, 2)).center());
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(doppelklicks, 0);

    GitterDoppelklick(g, 4, 5);
    EXPECT_EQ(doppelklicks, 1);
    EXPECT_EQ(g.MouseRow(), 4);
    EXPECT_EQ(g.MouseCol(), 5);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 5);

    // On the heading row and the row-number column: row 0 and column 0.
    GitterDoppelklick(g, 0, 3);
    EXPECT_EQ(doppelklicks, 2);
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 3);
    GitterDoppelklick(g, 2, 0);
    EXPECT_EQ(doppelklicks, 3);
    EXPECT_EQ(g.MouseRow(), 2);
    EXPECT_EQ(g.MouseCol(), 0);
    EXPECT_EQ(g.Row(), 4) << "clicks on the headers leave the current cell";

    // The view shows the current cell the program set once the event loop runs.
    g.RowSetzen(5);
    g.ColSetzen(7);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.currentIndex(), g.Modell().index(4, 6));
}
