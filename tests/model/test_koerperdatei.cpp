// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/codepage1252.h"
#include "model/koerperdatei.h"
#include "support/koerperbau.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', "").replace('|', ""));
}

void Schreiben(const QString& pfad, const QByteArray& bytes)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Koerper Erde()
{
    return NeuerKoerper(QStringLiteral("Erde"), 1.0, 1.5e11, 0.0, 2.0, 90.0, 255);
}

}  // namespace

TEST(Koerperdatei, RecordLayoutIsByteForByte)
{
    const QByteArray erwartet = Hex(
        "45 72 64 65 20 20 20 20 20 20 20 20 20 20 20 | 00 00 00 00 00 00 f0 3f | 00 00 00 2e 59 76 41 42 |"
        "00 00 00 00 00 00 00 00 | 00 00 00 00 00 00 00 40 | 00 00 00 00 00 80 56 40 | ff 00 00 00");
    ASSERT_EQ(erwartet.size(), 59);
    EXPECT_EQ(BytesAusKoerpern({Erde()}), erwartet);
    EXPECT_EQ(KoerperAusBytes(erwartet), KoerperSatz{Erde()});

    // A never-named body is 15 zero bytes of name; any other name is cut or
    // padded with blanks to 15 characters.
    EXPECT_EQ(BytesAusKoerpern({Koerper{}}), QByteArray(59, '\0'));
    Koerper k;
    EXPECT_EQ(k.NameText(), QString(15, QChar(0)));
    k.NameSetzen(QStringLiteral("Zwanzig Zeichen lang"));
    EXPECT_EQ(k.NameText(), QStringLiteral("Zwanzig Zeichen"));
    k.NameSetzen(QString());
    EXPECT_EQ(k.NameText(), QString(15, QLatin1Char(' ')));
}

TEST(Koerperdatei, EveryNameByteAndEveryDoubleSurvivesAReadAndAWrite)
{
    QTemporaryDir dir;
    QByteArray bytes;
    for (int r = 0; r < 18; ++r) {   // 18 records x 15 name bytes cover all 256 values
        QByteArray satz(59, '\0');
        for (int i = 0; i < 15; ++i)
            satz[i] = char((r * 15 + i) & 0xFF);
        const double werte[5] = {-0.0, std::numeric_limits<double>::quiet_NaN(), 5e-324,
                                 std::numeric_limits<double>::infinity(), 0.1 * r};
        std::memcpy(satz.data() + 15, werte, sizeof werte);
        const int32_t farbe = -r;
        std::memcpy(satz.data() + 55, &farbe, 4);
        bytes += satz;
    }
    const QString pfad = dir.filePath("alle.plv");
    Schreiben(pfad, bytes);

    const DateiErgebnis gelesen = KoerperdateiLesen(pfad);
    ASSERT_TRUE(gelesen.ok()) << gelesen.Fehler.toStdString();
    ASSERT_EQ(gelesen.Koerper.size(), 18u);
    const QString kopie = dir.filePath("kopie.plv");
    ASSERT_TRUE(KoerperdateiSchreiben(kopie, gelesen.Koerper).ok());
    EXPECT_EQ(Lesen(kopie), bytes);

    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(ZeichenNachCp1252(ZeichenAusCp1252(uint8_t(b))), b);
    EXPECT_EQ(ZeichenAusCp1252(0x80), u'\u20AC');
    EXPECT_EQ(ZeichenAusCp1252(0x81), u'\u0081');
    EXPECT_EQ(ZeichenNachCp1252(u'\u4E2D'), uint8_t('?')) << "what the code page cannot hold is written as ?";
}

TEST(Koerperdatei, ReadTakesCompleteRecordsOnly)
{
    QTemporaryDir dir;
    const QByteArray satz = BytesAusKoerpern({Erde()});

    const QString zwei = dir.filePath("zwei.plv");
    Schreiben(zwei, satz + satz + QByteArray(10, 'x'));
    EXPECT_EQ(KoerperdateiLesen(zwei).Koerper.size(), 2u);

    const QString leer = dir.filePath("leer.plv");
    Schreiben(leer, {});
    EXPECT_FALSE(KoerperdateiLesen(leer).ok());

    const QString kurz = dir.filePath("kurz.plv");
    Schreiben(kurz, satz.left(58));
    EXPECT_FALSE(KoerperdateiLesen(kurz).ok());
}

TEST(Koerperdatei, ReadRefusesWhatIsNoBodyFileAndNeverCreatesOne)
{
    QTemporaryDir dir;
    const QString fehlt = dir.filePath("fehlt.plv");
    const DateiErgebnis e = KoerperdateiLesen(fehlt);
    EXPECT_FALSE(e.ok());
    EXPECT_TRUE(e.Fehler.contains(QStringLiteral("fehlt.plv")));
    EXPECT_FALSE(QFileInfo::exists(fehlt));

    EXPECT_FALSE(KoerperdateiLesen(dir.path()).ok());

    const QByteArray satz = BytesAusKoerpern({Koerper{}});
    const QString grenze = dir.filePath("grenze.plv");
    Schreiben(grenze, satz.repeated(MaxKoerper));
    EXPECT_EQ(KoerperdateiLesen(grenze).Koerper.size(), size_t(MaxKoerper));
    const QString zuviel = dir.filePath("zuviel.plv");
    Schreiben(zuviel, satz.repeated(MaxKoerper + 1));
    EXPECT_FALSE(KoerperdateiLesen(zuviel).ok());
}

TEST(Koerperdatei, WriteReplacesTheWholeFileOrNothing)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("sonne.plv");
    ASSERT_TRUE(KoerperdateiSchreiben(pfad, KoerperSatz(3, Erde())).ok());
    EXPECT_EQ(QFileInfo(pfad).size(), 177);

    // A shorter set leaves no stale records of the longer file behind.
    ASSERT_TRUE(KoerperdateiSchreiben(pfad, {Koerper{}}).ok());
    EXPECT_EQ(Lesen(pfad), QByteArray(59, '\0'));

    // A write that cannot happen reports it and leaves the old file.
    const QString ordner = dir.filePath("ordner.plv");
    ASSERT_TRUE(QDir().mkdir(ordner));
    const DateiErgebnis e = KoerperdateiSchreiben(ordner, {Erde()});
    EXPECT_FALSE(e.ok());
    EXPECT_TRUE(e.Fehler.contains(QStringLiteral("ordner.plv")));
    EXPECT_FALSE(KoerperdateiSchreiben(dir.filePath("gibtsnicht/x.plv"), {Erde()}).ok());

    EXPECT_EQ(Lesen(pfad), QByteArray(59, '\0')) << "the earlier file is untouched";
}
