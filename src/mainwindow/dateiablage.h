// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What may be dropped on the main window: exactly one local body file.

#include <QString>

class QMimeData;

// The path of the one body file (*.plv, a file, not a folder) that `daten`
// carries; empty for anything else: several files, a folder, text, a link to
// a remote place, another kind of file.
QString AbgelegteKoerperdatei(const QMimeData* daten);
