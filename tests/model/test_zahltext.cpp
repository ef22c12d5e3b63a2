// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/zahltext.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
const QLocale Deutsch(QLocale::German, QLocale::Germany);
const QLocale C = QLocale::c();
}

TEST(Zahltext, WritesTheGeneralFormat)
{
    struct Fall {
        double wert;
        const char* deutsch;
        const char* c;
    };
    const Fall faelle[] = {
        {1.5, "1,5", "1.5"},
        {2.5e30, "2,5E+30", "2.5E+30"},
        {1e-5, "1E-05", "1E-05"},
        {0.0001, "0,0001", "0.0001"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
        {0.1 + 0.2, "0,3", "0.3"},
        {1234567.891, "1234567,891", "1234567.891"},
        {-2.0, "-2", "-2"},
        {0.0, "0", "0"},
        {1.0 / 3.0, "0,333333333333333", "0.333333333333333"},
        {-1.5e-300, "-1,5E-300", "-1.5E-300"},
        {100.0, "100", "100"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(ZahlZuText(f.wert, Deutsch), QString::fromUtf8(f.deutsch)) << f.wert;
        EXPECT_EQ(ZahlZuText(f.wert, C), QString::fromUtf8(f.c)) << f.wert;
    }

    // A value offered to keep gets the digits it needs to read back exactly,
    // and no more: a zoomed section comes back as it was.
    const double gezoomt = 2 / 1.25 / 1.25 / 1.25 / 1.25 / 1.25 / 1.25 / 1.25;
    EXPECT_EQ(GenauZuText(0.08, Deutsch), QStringLiteral("0,08"));
    EXPECT_EQ(GenauZuText(0.1 + 0.2, C), QStringLiteral("0.30000000000000004"));
    EXPECT_EQ(TextZuZahl(GenauZuText(gezoomt, Deutsch), Deutsch), gezoomt);
    EXPECT_EQ(TextZuZahl(GenauZuText(-1.0 / 3.0, Deutsch), Deutsch), -1.0 / 3.0);
}

TEST(Zahltext, ReadsBackWhatItWritesAsTheShownValue)
{
    const double werte[] = {1.5, 2.5e30, 1e-5, 0.1 + 0.2, 123456789012345.0, -7.25e-12, 5e-324, 1.7976931348623157e308};
    for (const double w : werte) {
        for (const QLocale& l : {Deutsch, C}) {
            const auto zurueck = TextZuZahl(ZahlZuText(w, l), l);
            ASSERT_TRUE(zurueck.has_value()) << ZahlZuText(w, l).toStdString();
            EXPECT_EQ(ZahlZuText(*zurueck, l), ZahlZuText(w, l));
        }
    }
    EXPECT_EQ(TextZuZahl(QStringLiteral("0,3"), Deutsch), 0.3);
}

TEST(Zahltext, ReadsLenientlyWhereItIsSafe)
{
    EXPECT_EQ(TextZuZahl(QStringLiteral("  2,5e30 "), Deutsch), 2.5e30);
    EXPECT_EQ(TextZuZahl(QStringLiteral("+3"), Deutsch), 3.0);
    EXPECT_EQ(TextZuZahl(QStringLiteral(",5"), Deutsch), 0.5);
    EXPECT_EQ(TextZuZahl(QStringLiteral("-1E-05"), C), -1e-5);
}

TEST(Zahltext, RefusesEverythingElse)
{
    const char* deutschFalsch[] = {"", "   ", "1.5", "1.000", "1.000,5", "abc", "1,5x", "e5", "1e", "1e+",
                                   "inf", "Infinity", "nan", "NaN", "1e400", "-1e309", "1,,5", "--1", ","};
    for (const char* t : deutschFalsch)
        EXPECT_FALSE(TextZuZahl(QString::fromUtf8(t), Deutsch).has_value()) << t;
    EXPECT_FALSE(TextZuZahl(QStringLiteral("1,5"), C).has_value());
    EXPECT_FALSE(TextZuZahl(QStringLiteral("1,000"), C).has_value());
}
