// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film file on disk, written through QSaveFile: a temporary file in the
// target's folder, renamed over the target only when it is complete.

#include "view/filmsenke.h"

#include <QSaveFile>

class Dateisenke : public Filmsenke {
public:
    // Opens the temporary file; nothing, and a German reason, when the
    // folder is missing or takes no new file.
    static std::unique_ptr<Filmsenke> Oeffnen(const QString& pfad, QString& fehler);

    bool Schreiben(const uint8_t* daten, int64_t anzahl) override;
    bool Springen(int64_t stelle) override;
    int64_t Stelle() const override { return datei_.pos(); }
    int64_t Groesse() const override { return datei_.size(); }
    QString Fehler() const override { return fehler_; }
    std::optional<QString> Uebernehmen() override;
    void Verwerfen() override;

private:
    explicit Dateisenke(const QString& pfad);
    QString Grund() const;

    QSaveFile datei_;
    QString fehler_;
};
