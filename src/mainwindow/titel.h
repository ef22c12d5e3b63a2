// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every caption of the main window and every German text for a fault of the
// run, made here and nowhere else. Needs QtCore only, so that tests of the
// core can check them too.

#include <QString>
#include <cstdint>

// "Plavo": the main window's first caption and the title of every message
// and input box.
QString Programmtitel();

// The part of a path after its last directory separator.
QString Dateiteil(const QString& pfad);

// "Plavo" for an untitled document, otherwise "Plavo - [file part]".
QString DokumentTitel(const QString& dateiName);

// "Plavo - " ["[" file part "] - "] days " Tage", days = schrittzahl * intervall.
QString TitelText(int32_t schrittzahl, double intervall, const QString& dateiName);

// "Plavo - " ["[" file part "] - "] "Neuzeichnen " percent " %" while a redraw runs.
QString NeuzeichnenTitel(int prozent, const QString& dateiName);

// Why the run stopped, for a step's faults (SchrittFehler bits).
QString FehlerText(unsigned fehler);
