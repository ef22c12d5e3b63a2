// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the example body files into a folder (default: the current one):
//   cmake --build build --target beispiele     rewrites the ones in examples/
//   build/examples/plavo_beispiele DIR         writes them into DIR

#include "beispielsysteme.h"
#include "model/koerperdatei.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    const QDir ziel(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    int fehler = 0;
    for (const Beispiel& b : Beispiele()) {
        const QString pfad = ziel.filePath(b.Datei);
        const DateiErgebnis e = KoerperdateiSchreiben(pfad, b.Koerper);
        if (e.ok()) {
            std::printf("%s: %zu Körper\n", qPrintable(QDir::toNativeSeparators(pfad)), b.Koerper.size());
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(e.Fehler));
            fehler = 1;
        }
    }
    return fehler;
}
