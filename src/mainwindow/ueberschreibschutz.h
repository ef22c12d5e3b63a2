// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture export and the orbit-data export never write over the open
// document's body file: a dialog may be pointed at it, and the bodies are
// worth more than what would replace them.

#include <QString>

class Rueckfragen;

// True when `pfad` is the body file `dokument`; the user has then been told
// why nothing was written, in a sentence that begins with `ergebnis`
// ("Das Bild wurde nicht gespeichert").
bool UeberschreibtKoerperdatei(const QString& pfad, const QString& dokument, const QString& ergebnis,
                               Rueckfragen& rueckfragen);
