// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the bytes of one film file go. The writers never open files
// themselves: they write through a sink, which a test can replace by one
// that fills up like a disk.
//
// A sink writes to a temporary file beside its target; Uebernehmen() puts it
// in the target's place, and Verwerfen() (or destroying a sink that was not
// taken over) removes it, so the target never holds half a file.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Filmsenke {
public:
    virtual ~Filmsenke() = default;

    // False on failure; Fehler() then says why, and the sink takes nothing more.
    virtual bool Schreiben(const uint8_t* daten, int64_t anzahl) = 0;
    // Moves the write position; writing there overwrites (the MP4 index is
    // written last and its size fixed up at the front).
    virtual bool Springen(int64_t stelle) = 0;
    virtual int64_t Stelle() const = 0;
    virtual int64_t Groesse() const = 0;
    // A German reason for the first failure, empty while there was none.
    virtual QString Fehler() const = 0;

    // Puts the file in the target's place; a German reason on failure, and
    // then nothing stays behind.
    virtual std::optional<QString> Uebernehmen() = 0;
    virtual void Verwerfen() = 0;
};

// Opens a sink for `pfad`; on failure nothing and a German reason in `fehler`.
using Senkenfabrik = std::function<std::unique_ptr<Filmsenke>(const QString& pfad, QString& fehler)>;
