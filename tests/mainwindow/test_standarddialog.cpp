// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/fensterplatz.h"
#include "mainwindow/qtdeutsch.h"
#include "mainwindow/standarddialog.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(Standarddialog, FiltersAndExtensionsInQtForm)
{
    EXPECT_EQ(QtFilterAusFilter(QStringLiteral("Plavo-Dateien (*.plv)|*.plv")), QStringLiteral("Plavo-Dateien (*.plv)"));
    EXPECT_EQ(QtFilterAusFilter(QStringLiteral("Bilder|*.bmp;*.dib|Alle|*.*")),
              QStringLiteral("Bilder (*.bmp *.dib);;Alle (*.*)"));
    EXPECT_EQ(SuffixAusDefaultExt(QStringLiteral("*.plv")), QStringLiteral("plv"));
    EXPECT_EQ(SuffixAusDefaultExt(QStringLiteral("bmp")), QStringLiteral("bmp"));
}

// On a 1280 x 1024 screen: a main window centred (313 to 970, menu bar
// ending at 296) leaves 309 and 313 pixels on its sides.
TEST(Fensterplatz, BesideTheMainWindowNeverOverItsMenuBarAndDialogsOverAGiantOneCentred)
{
    const QRect schirm(0, 0, 1280, 1024);
    const QRect haupt(313, 238, 658, 589);
    const int menueUnten = 296;

    // Room on the right: beside it, at its top.
    EXPECT_EQ(PlatzDaneben(QRect(10, 238, 658, 589), menueUnten, QSize(500, 560), QSize(400, 300), schirm),
              QRect(668, 238, 500, 560));
    // No room for 611, but for its minimum of 300: shrunk to the larger side.
    EXPECT_EQ(PlatzDaneben(haupt, menueUnten, QSize(611, 590), QSize(300, 300), schirm), QRect(0, 238, 313, 590));
    // Not even the minimum: at the screen's edge over the picture, below the menu bar.
    const QRect ueber = PlatzDaneben(haupt, menueUnten, QSize(611, 590), QSize(611, 300), schirm);
    EXPECT_EQ(ueber.left(), 0);
    EXPECT_EQ(ueber.size(), QSize(611, 590));
    EXPECT_GT(ueber.top(), menueUnten);
    // Too tall for the screen below the menu bar: shortened to stay below it.
    EXPECT_EQ(PlatzDaneben(haupt, menueUnten, QSize(611, 1000), QSize(611, 300), schirm), QRect(0, 297, 611, 727));

    EXPECT_EQ(DialogPlatz(haupt, QSize(340, 120), schirm), std::nullopt) << "Qt centres it over the owner";
    EXPECT_EQ(DialogPlatz(QRect(0, 0, 3000, 2500), QSize(340, 120), schirm), QPoint(470, 452));
}

TEST(QtDeutsch, StandardButtonsSpeakGerman)
{
    QTranslator deutsch;
    ASSERT_TRUE(QtDeutschLaden(deutsch)) << "qtbase_de fehlt (Paket qt6-translations-l10n)";
    QMessageBox box;
    EXPECT_EQ(box.addButton(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.addButton(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    EXPECT_EQ(box.addButton(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    // Qt's own file dialog, shown where the desktop offers none of its own.
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    QCoreApplication::removeTranslator(&deutsch);
}
