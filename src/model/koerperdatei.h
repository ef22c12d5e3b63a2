// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Body files (*.plv): a plain sequence of 59-byte records, no header.
//   offset  0: 15 bytes  Name, Windows-1252, blank-padded, no terminator
//   offset 15:  8 bytes  Masse            IEEE 754 double, little-endian
//   offset 23:  8 bytes  X
//   offset 31:  8 bytes  Y
//   offset 39:  8 bytes  Geschwindigkeit  (always the document meaning)
//   offset 47:  8 bytes  Richtung
//   offset 55:  4 bytes  Farbe            int32, little-endian
// A trailing piece shorter than a record is ignored.

#include "modplavo.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

inline constexpr int DatensatzLaenge = 59;
using Datensatz = std::array<uint8_t, DatensatzLaenge>;

Datensatz DatensatzAusKoerper(const Koerper& k);
Koerper KoerperAusDatensatz(const uint8_t* bytes);

// Bodies from the bytes of a whole file (complete records only).
KoerperSatz KoerperAusBytes(const QByteArray& bytes);
QByteArray BytesAusKoerpern(const KoerperSatz& koerper);

// What went wrong, in words a user can read; empty on success.
struct DateiErgebnis {
    KoerperSatz Koerper;    // the bodies read (reading only)
    QString Fehler;         // German message naming the file; empty on success
    bool ok() const { return Fehler.isEmpty(); }
};

// Never creates a file. Refuses a path that is not a readable file, a file with
// no complete record and one with more than MaxKoerper records.
DateiErgebnis KoerperdateiLesen(const QString& pfad);

// Replaces the whole file atomically: on failure the file that stood there is
// left as it was.
DateiErgebnis KoerperdateiSchreiben(const QString& pfad, const KoerperSatz& koerper);
