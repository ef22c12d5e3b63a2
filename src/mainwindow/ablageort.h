// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the save dialogs propose to write. Beside the document, as a rule;
// but the folder of the shipped examples is not the user's (installed it
// cannot even be written, and in the build tree a save there would replace
// an example), so a document opened from it is saved, exported or drawn
// into the user's own documents or pictures folder.

#include <QStandardPaths>
#include <QString>

// Whether `pfad` lies in the folder of the examples shipped with this program.
bool IstBeispiel(const QString& pfad);

// The name `dokument` with the suffix `endung` ("plv", "bmp", "csv"; none
// when empty, as for a folder) in the
// document's folder, or in the user's `ordner` (its home where that folder
// does not exist) when the document is a shipped example. Empty for an
// untitled document.
QString Speichervorschlag(const QString& dokument, const QString& endung, QStandardPaths::StandardLocation ordner);
