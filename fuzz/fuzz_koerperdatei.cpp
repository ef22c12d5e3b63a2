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

// Field by field and bit for bit: NaN is not equal to itself under ==.
bool Gleich(const Koerper& a, const Koerper& b)
{
    auto bits = [](double d) {
        uint64_t u;
        std::memcpy(&u, &d, sizeof u);
        return u;
    };
    return a.Name == b.Name && bits(a.Masse) == bits(b.Masse) && bits(a.X) == bits(b.X) && bits(a.Y) == bits(b.Y)
        && bits(a.Geschwindigkeit) == bits(b.Geschwindigkeit) && bits(a.Richtung) == bits(b.Richtung)
        && a.Farbe == b.Farbe;
}

bool Gleich(const KoerperSatz& a, const KoerperSatz& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!Gleich(a[i], b[i]))
            return false;
    return true;
}

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
        PRUEFEN(Gleich(gelesen.Koerper, koerper));
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
