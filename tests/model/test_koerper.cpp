// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/modplavo.h"

#include <gtest/gtest.h>

TEST(Koerper, NameIsAlwaysFifteenCharacters)
{
    Koerper k;
    EXPECT_EQ(k.NameText(), QString(15, QChar(0))) << "a never-named body holds NULs, not blanks";

    k.NameSetzen(QStringLiteral("Sonne"));
    EXPECT_EQ(k.NameText(), QStringLiteral("Sonne          "));

    k.NameSetzen(QStringLiteral("Zwanzig Zeichen lang"));
    EXPECT_EQ(k.NameText(), QStringLiteral("Zwanzig Zeichen"));

    k.NameSetzen(QString());
    EXPECT_EQ(k.NameText(), QString(15, QLatin1Char(' ')));
}
