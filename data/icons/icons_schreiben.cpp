// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the PNG icons for the desktop from the window icon's own drawing:
//   cmake --build build --target icons     rewrites data/icons/plavo-*.png

#include "mainwindow/plavoicon.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    const QDir ziel(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    for (int groesse : {16, 32, 48}) {
        const QString pfad = ziel.filePath(QStringLiteral("plavo-%1.png").arg(groesse));
        if (!PlavoIconBild(groesse).save(pfad, "PNG")) {
            std::fprintf(stderr, "%s kann nicht geschrieben werden\n", qPrintable(pfad));
            return 1;
        }
        std::printf("%s\n", qPrintable(pfad));
    }
    return 0;
}
