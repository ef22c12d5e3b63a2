// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line: "plavo [DATEI]", with --help and --version.
//
// Read before the windows exist and without a display, so that help, version
// and a wrong call are answered on the console. Needs a QCoreApplication with
// the German Qt translation installed (the parser's own texts).

#include <QString>
#include <QStringList>

struct Befehlszeile {
    bool weiter = true;   // false: the program ends at once with `status`
    int status = 0;
    QString ausgabe;      // for standard output (help, version)
    QString fehler;       // for standard error (a wrong call, with the usage)
    QString datei;        // absolute path of the body file to open at start; empty: none
};

// `argumente` as QCoreApplication::arguments() gives them, the program first.
Befehlszeile BefehlszeileLesen(const QStringList& argumente);
