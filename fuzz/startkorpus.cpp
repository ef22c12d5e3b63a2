// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starting corpus of the fuzz targets:
//   startkorpus fuzz/corpus/start
// Each file is a small, telling input; the fuzzer grows its own corpus from them.

#include "support/koerperbau.h"
#include "model/koerperdatei.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double unendlich = std::numeric_limits<double>::infinity();
constexpr double keineZahl = std::numeric_limits<double>::quiet_NaN();

QString g_wurzel;

void Ablegen(const char* ziel, const char* name, const QByteArray& bytes)
{
    const QString ordner = g_wurzel + QLatin1Char('/') + QLatin1String(ziel);
    QDir().mkpath(ordner);
    QFile f(ordner + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(f.fileName()), qPrintable(f.errorString()));
        std::exit(1);
    }
}

Koerper K(const char* name, double masse, double x, double y, double v, double richtung, int32_t farbe)
{
    return NeuerKoerper(QString::fromLatin1(name), masse, x, y, v, richtung, farbe);
}

// Input of the step target: control byte, steps, width, height, interval,
// [section], bodies; each value as a raw double after the marker byte 0xFF.
class Schritteingabe {
public:
    Schritteingabe(uint8_t steuer, int schritte, int breite, int hoehe, double intervall)
    {
        b_ += char(steuer);
        b_ += char(schritte - 1);
        b_ += char(breite - 1);
        b_ += char(hoehe - 1);
        Wert(intervall);
    }
    Schritteingabe& Ausschnitt(double x1, double y1, double x2, double y2)
    {
        Wert(x1);
        Wert(y1);
        Wert(x2);
        Wert(y2);
        return *this;
    }
    Schritteingabe& Koerper(double masse, double x, double y, double vx, double vy, int32_t farbe)
    {
        for (const double w : {masse, x, y, vx, vy})
            Wert(w);
        b_.append(reinterpret_cast<const char*>(&farbe), 4);
        return *this;
    }
    const QByteArray& Bytes() const { return b_; }

private:
    void Wert(double w)
    {
        b_ += char(0xFF);
        b_.append(reinterpret_cast<const char*>(&w), 8);
    }
    QByteArray b_;
};

QByteArray Doppelt(double d)
{
    return QByteArray(reinterpret_cast<const char*>(&d), 8);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: startkorpus <ordner>\n");
        return 2;
    }
    g_wurzel = QString::fromLocal8Bit(argv[1]);

    // Body files.
    const Koerper erde = K("Erde", 1, 1.5e11, 0, 2, 90, 255);
    const QByteArray erdeBytes = BytesAusKoerpern({erde});
    Ablegen("koerperdatei", "leer", {});
    Ablegen("koerperdatei", "58_bytes", erdeBytes.left(58));
    Ablegen("koerperdatei", "erde", erdeBytes);
    Ablegen("koerperdatei", "zwei_und_rest", erdeBytes + erdeBytes + QByteArray("0123456789"));
    Ablegen("koerperdatei", "sonne_erde_mond",
            BytesAusKoerpern({K("Sonne", 333000, 0, 0, 0, 0, 0x00FFFF), erde,
                              K("Mond", 0.0123, 1.5038e11, 0, 1022 + 29780, 90, 0x808080)}));
    Ablegen("koerperdatei", "nicht_endlich",
            BytesAusKoerpern({K("NaN", keineZahl, unendlich, -unendlich, keineZahl, -0.0, -1),
                              K("klein", 5e-324, -5e-324, std::numeric_limits<double>::min(), 1e308, -1e308,
                                std::numeric_limits<int32_t>::min())}));
    {
        QByteArray namen;
        for (int r = 0; r < 18; ++r) {
            QByteArray satz(59, '\0');
            for (int i = 0; i < 15; ++i)
                satz[i] = char((r * 15 + i) & 0xFF);
            namen += satz;
        }
        Ablegen("koerperdatei", "alle_namensbytes", namen);
    }

    // Number text: each input is read as text and its first eight bytes as a double.
    const char* texte[] = {"1,5", "1.5", "2,5E+30", "-1E-05", "1,79769313486232E+308", "4,94065645841247E-324",
                           "  +3 ", ",5", "1e400", "1e-400", "nan", "inf", "Unendlich", "1.000,5", "0,333333333333333",
                           "123456789012345", "--1", "1e", ("\xE2\x80\x89" "7")};
    int nr = 0;
    for (const char* t : texte)
        Ablegen("zahltext", ("text_" + std::to_string(nr++)).c_str(), QByteArray(t));
    Ablegen("zahltext", "utf16_1_5", QByteArray("1\0,\0" "5\0", 6));
    const double werte[] = {0.1, 1.5, 1e15, 123456789012345.0, 1e-5, -0.0, 5e-324, 2.2250738585072014e-308,
                            std::numeric_limits<double>::max(), 1.797693134862315e308, keineZahl, -unendlich};
    nr = 0;
    for (const double w : werte)
        Ablegen("zahltext", ("wert_" + std::to_string(nr++)).c_str(), Doppelt(w));

    // Steps. Sun and Earth: a circular orbit of 1 AE.
    Ablegen("schritt", "sonne_erde",
            Schritteingabe(0, 8, 32, 32, 2).Koerper(333000, 0, 0, 0, 0, 0x00FFFF)
                .Koerper(1, 1.5e11, 0, 29786, 90, 0xFF).Bytes());
    Ablegen("schritt", "ein_leerer_koerper", Schritteingabe(0, 3, 8, 8, 2).Koerper(0, 0, 0, 0, 0, 0).Bytes());
    Ablegen("schritt", "nan_masse",
            Schritteingabe(0, 2, 8, 8, 2).Koerper(keineZahl, 0, 0, 0, 0, 0).Koerper(1, 1e10, 0, 0, 0, 0).Bytes());
    Ablegen("schritt", "unendliche_lage", Schritteingabe(0, 2, 8, 8, 2).Koerper(1, unendlich, 0, 0, 0, 0).Bytes());
    Ablegen("schritt", "1e308_lagen",
            Schritteingabe(0, 4, 8, 8, 2).Koerper(1, 1e308, 1e308, 0, 0, 0).Koerper(1, -1e308, -1e308, 0, 0, 0).Bytes());
    Ablegen("schritt", "winziger_abstand",
            Schritteingabe(0, 2, 8, 8, 2).Koerper(1, 0, 0, 0, 0, 0).Koerper(1, 5e-324, 0, 0, 0, 0).Bytes());
    Ablegen("schritt", "zaehler_am_ende",
            Schritteingabe(2 | 0x10, 8, 8, 8, 2).Koerper(1, 1.5e11, 0, 1e9, 0, 0xFF00).Bytes());
    Ablegen("schritt", "leerer_ausschnitt",
            Schritteingabe(1, 2, 40, 30, 2).Ausschnitt(0, 0, 0, 0).Koerper(1, 1.5e11, 0, 1e10, 1e10, 0xFF).Bytes());
    Ablegen("schritt", "ferner_ausschnitt",
            Schritteingabe(1, 3, 48, 48, 1).Ausschnitt(1e300, -1e300, -1e300, 1e300)
                .Koerper(1, 1e20, -1e20, 1e19, -1e19, 0xFF).Koerper(0, 0, 0, 3e30, 0, 0xFF00).Bytes());
    Ablegen("schritt", "riesiges_intervall",
            Schritteingabe(0, 2, 8, 8, 1e154).Koerper(1, 0, 0, 0, 0, 0).Koerper(1, 1e11, 0, 0, 0, 0).Bytes());
    return 0;
}
