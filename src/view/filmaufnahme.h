// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film being made: the trails as the run draws them, at the film's own
// size and section whatever the window does meanwhile, and a frame with the
// overlays whenever one is asked for. Plain and synchronous: the recording
// (Filmaufzeichnung) decides when a frame is due and runs these calls on
// the worker, one at a time.

#include "view/filmbild.h"
#include "view/filmschreiber.h"

#include <memory>
#include <optional>
#include <span>

class Filmaufnahme {
public:
    Filmaufnahme(std::unique_ptr<Filmschreiber> schreiber, const Ausschnitt& ausschnitt,
                 const Filmueberlagen& ueberlagen);

    // The run began again from white.
    void Leeren() { bild_.Leeren(); }
    // The frame's label from the next frame on (none when empty).
    void BezugTextSetzen(const QString& text) { ueberlagen_.Bezugssystem = text; }
    // The frame's origin comes to the film's centre; its size stays. The
    // trails drawn so far stay where they were until the run redraws them.
    void MitteSetzen();
    // Strokes as the picture draws them, steps and redraws alike.
    void Striche(std::span<const Strich> striche) { bild_.Striche(striche); }
    // Writes a frame of the trails with the overlays: `jetzt` the bodies now
    // (positions in metres), `tage` the days elapsed, `lage` where the film's
    // frame stands (none: fixed). False after a failure (Fehler() says why);
    // nothing more is written then.
    bool Bild(const KoerperSatz& jetzt, double tage, const Bezugslage* lage = nullptr);
    // Closes the film: see Filmschreiber::Abschliessen. A failure earlier is
    // the reason given here too, and nothing of the film stays.
    std::optional<QString> Beenden();
    // Drops the film and everything written of it.
    void Verwerfen();

    int Bilder() const { return schreiber_ ? schreiber_->Bilder() : bilder_; }
    const QString& Fehler() const { return fehler_; }
    // The trails alone, as the picture export would write them at this size.
    const QImage& Spuren() const { return bild_.Spuren(); }
    QSize Groesse() const { return bild_.Groesse(); }

private:
    std::unique_ptr<Filmschreiber> schreiber_;
    Filmbild bild_;
    Filmueberlagen ueberlagen_;
    int bilder_ = 0;   // after the writer is gone
    QString fehler_;
};
