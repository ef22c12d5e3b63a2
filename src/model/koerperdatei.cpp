// SPDX-License-Identifier: GPL-3.0-or-later
#include "koerperdatei.h"

#include "codepage1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "body files are little-endian");

namespace {

template <typename T>
void Ablegen(uint8_t* ziel, T wert)
{
    std::memcpy(ziel, &wert, sizeof wert);
}

template <typename T>
T Holen(const uint8_t* quelle)
{
    T wert;
    std::memcpy(&wert, quelle, sizeof wert);
    return wert;
}

QString Anzeigepfad(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

}  // namespace

Datensatz DatensatzAusKoerper(const Koerper& k)
{
    Datensatz d{};
    for (size_t i = 0; i < k.Name.size(); ++i)
        d[i] = ZeichenNachCp1252(k.Name[i]);
    Ablegen(&d[15], k.Masse);
    Ablegen(&d[23], k.X);
    Ablegen(&d[31], k.Y);
    Ablegen(&d[39], k.Geschwindigkeit);
    Ablegen(&d[47], k.Richtung);
    Ablegen(&d[55], k.Farbe);
    return d;
}

Koerper KoerperAusDatensatz(const uint8_t* d)
{
    Koerper k;
    for (size_t i = 0; i < k.Name.size(); ++i)
        k.Name[i] = ZeichenAusCp1252(d[i]);
    k.Masse = Holen<double>(d + 15);
    k.X = Holen<double>(d + 23);
    k.Y = Holen<double>(d + 31);
    k.Geschwindigkeit = Holen<double>(d + 39);
    k.Richtung = Holen<double>(d + 47);
    k.Farbe = Holen<int32_t>(d + 55);
    return k;
}

KoerperSatz KoerperAusBytes(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size() / DatensatzLaenge;
    KoerperSatz koerper;
    koerper.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i)
        koerper.push_back(KoerperAusDatensatz(p + i * DatensatzLaenge));
    return koerper;
}

QByteArray BytesAusKoerpern(const KoerperSatz& koerper)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(koerper.size()) * DatensatzLaenge);
    for (const Koerper& k : koerper) {
        const Datensatz d = DatensatzAusKoerper(k);
        bytes.append(reinterpret_cast<const char*>(d.data()), DatensatzLaenge);
    }
    return bytes;
}

DateiErgebnis KoerperdateiLesen(const QString& pfad)
{
    DateiErgebnis e;
    const QFileInfo info(pfad);
    if (!info.exists()) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(Anzeigepfad(pfad));
        return e;
    }
    if (!info.isFile()) {
        e.Fehler = QStringLiteral("\"%1\" ist keine Datei.").arg(Anzeigepfad(pfad));
        return e;
    }
    // Checked before reading, so a huge file is refused without loading it.
    if (info.size() / DatensatzLaenge > MaxKoerper) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" enthält mehr als %2 Körper und kann nicht geöffnet werden.")
                       .arg(Anzeigepfad(pfad))
                       .arg(MaxKoerper);
        return e;
    }
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                       .arg(Anzeigepfad(pfad), datei.errorString());
        return e;
    }
    // Read at most one record more than allowed, in case the file grew meanwhile.
    const QByteArray bytes = datei.read(qint64(MaxKoerper + 1) * DatensatzLaenge);
    if (datei.error() != QFileDevice::NoError) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                       .arg(Anzeigepfad(pfad), datei.errorString());
        return e;
    }
    const qsizetype n = bytes.size() / DatensatzLaenge;
    if (n == 0) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" enthält keinen Körper.").arg(Anzeigepfad(pfad));
        return e;
    }
    if (n > MaxKoerper) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" enthält mehr als %2 Körper und kann nicht geöffnet werden.")
                       .arg(Anzeigepfad(pfad))
                       .arg(MaxKoerper);
        return e;
    }
    e.Koerper = KoerperAusBytes(bytes);
    return e;
}

DateiErgebnis KoerperdateiSchreiben(const QString& pfad, const KoerperSatz& koerper)
{
    DateiErgebnis e;
    QSaveFile datei(pfad);
    const QByteArray bytes = BytesAusKoerpern(koerper);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(bytes) != bytes.size() || !datei.commit()) {
        e.Fehler = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2")
                       .arg(Anzeigepfad(pfad), datei.errorString());
    }
    return e;
}
