// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/qtdeutsch.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

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
