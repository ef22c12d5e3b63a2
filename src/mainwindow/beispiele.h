// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The example systems shipped with the program, for the "Beispiele" menu.
// They lie at the same place relative to the executable in the build tree
// and in an installation (`share/plavo/examples` beside `bin/`), so one
// relative path finds them in both.

#include <QString>
#include <functional>
#include <vector>

class QMenu;

struct Beispieldatei {
    QString Titel;   // menu text with its access key
    QString Pfad;
};

// The folder of the examples for a program in `programmOrdner`; empty when
// none of them is there.
QString BeispielOrdner(const QString& programmOrdner);

// The examples in `ordner` in the order they are best tried, with German
// titles; a file that is missing is left out.
std::vector<Beispieldatei> BeispieleIn(const QString& ordner);

// Fills `menue` with one item per example, each calling `oeffnen` with its
// path; a menu without examples is disabled rather than left empty.
void BeispielmenueFuellen(QMenu& menue, const std::vector<Beispieldatei>& beispiele,
                          const std::function<void(const QString&)>& oeffnen);
