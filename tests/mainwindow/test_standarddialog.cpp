#include "mainwindow/standarddialog.h"

#include <gtest/gtest.h>

TEST(Standarddialog, FiltersAndExtensionsInQtForm)
{
    EXPECT_EQ(QtFilterAusFilter(QStringLiteral("Plavo-Dateien (*.plv)|*.plv")), QStringLiteral("Plavo-Dateien (*.plv)"));
    EXPECT_EQ(QtFilterAusFilter(QStringLiteral("Bilder|*.bmp;*.dib|Alle|*.*")),
              QStringLiteral("Bilder (*.bmp *.dib);;Alle (*.*)"));
    EXPECT_EQ(SuffixAusDefaultExt(QStringLiteral("*.plv")), QStringLiteral("plv"));
    EXPECT_EQ(SuffixAusDefaultExt(QStringLiteral("bmp")), QStringLiteral("bmp"));
}
