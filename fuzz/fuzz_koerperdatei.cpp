// SPDX-License-Identifier: GPL-3.0-or-later
// Body files from arbitrary bytes: the decoding in memory, the reading of a
// real file and writing the bodies back.
//
// Properties:
//  - every complete 59-byte record becomes one body, the rest is ignored;
//  - the bodies give back exactly the bytes they came from (every name byte,
//    every double bit pattern, NaN payloads included);
//  - reading the same bytes from a file gives the same bodies, or refuses
//    with a message naming the file when there is no complete record;
//  - reading changes nothing on disk and creates nothing;
//  - writing the bodies produces exactly those bytes.

#include "model/koerperdatei.h"
#include "pruefen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>

namespace {

QByteArray Inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    const qsizetype n = bytes.size() / DatensatzLaenge;

    const KoerperSatz koerper = KoerperAusBytes(bytes);
    PRUEFEN(qsizetype(koerper.size()) == n);
    PRUEFEN(BytesAusKoerpern(koerper) == bytes.left(n * DatensatzLaenge));

    static QTemporaryDir ordner;
    PRUEFEN(ordner.isValid());
    const QString pfad = ordner.filePath(QStringLiteral("eingabe.plv"));
    {
        QFile f(pfad);
        PRUEFEN(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        PRUEFEN(f.write(bytes) == bytes.size());
    }

    const DateiErgebnis gelesen = KoerperdateiLesen(pfad);
    if (n == 0) {
        PRUEFEN(!gelesen.ok());
        PRUEFEN(gelesen.Fehler.contains(QStringLiteral("eingabe.plv")));
        PRUEFEN(gelesen.Koerper.empty());
    } else {
        PRUEFEN(gelesen.ok());
        PRUEFEN(BitGleich(gelesen.Koerper, koerper));
    }
    PRUEFEN(Inhalt(pfad) == bytes);
    PRUEFEN(QDir(ordner.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size() == 1);

    if (n > 0) {
        const QString kopie = ordner.filePath(QStringLiteral("kopie.plv"));
        PRUEFEN(KoerperdateiSchreiben(kopie, gelesen.Koerper).ok());
        PRUEFEN(Inhalt(kopie) == bytes.left(n * DatensatzLaenge));
        PRUEFEN(QFile::remove(kopie));
    }
    return 0;
}
