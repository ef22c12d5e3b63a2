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

TEST(ModPlavo, StartsWithOneEmptyBodyAndSetOperationsKeepItNeverEmpty)
{
    ModPlavo mod;
    EXPECT_EQ(mod.KoerperStart.size(), 1u);
    EXPECT_EQ(mod.KoerperStart[0], Koerper{});
    EXPECT_EQ(mod.Intervall, 2.0);
    EXPECT_TRUE(mod.DateiName.isEmpty());
    EXPECT_TRUE(mod.Gespeichert);

    mod.NeuDimensionieren(4);
    EXPECT_EQ(mod.KoerperStart, KoerperSatz(4, Koerper{}));

    Koerper erde;
    erde.NameSetzen(QStringLiteral("Erde"));
    mod.Laden(KoerperSatz(3, erde));
    EXPECT_EQ(mod.KoerperStart, KoerperSatz(3, erde));

    mod.Laden({});
    EXPECT_EQ(mod.KoerperStart.size(), 3u) << "nothing read changes nothing";

    mod.AufEinenLeerenKoerper();
    EXPECT_EQ(mod.KoerperStart, KoerperSatz{Koerper{}});
}
