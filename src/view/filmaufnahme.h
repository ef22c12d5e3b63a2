#pragma once
// A film being recorded from a run: every step's strokes go into the
// frame's trails, and every k-th step becomes a frame for the writer. It
// takes the steps as values, so the same object serves a live recording
// and a film computed ahead; it keeps its own size and section whatever
// the window does meanwhile.
//
// Drawing and encoding happen in the calls themselves; a caller that wants
// encoding off its thread hands Filmbild::Bild()'s images to the writer
// elsewhere.

#include "view/filmbild.h"
#include "view/filmschreiber.h"

#include <cstdint>
#include <memory>
#include <optional>

class Filmaufnahme {
public:
    // `schritteProBild` below 1 counts as 1.
    Filmaufnahme(std::unique_ptr<Filmschreiber> schreiber, const Ausschnitt& ausschnitt, int schritteProBild,
                 const Filmueberlagen& ueberlagen);

    // The trails drawn so far, before the first frame (a recording that
    // begins in the middle of a run): strokes of earlier steps.
    void Vorgeschichte(const Strich* striche, std::size_t anzahl) { bild_.Striche(striche, anzahl); }
    // The first frame: the picture at step `schrittzahl`; at step 0 the
    // dots, or an empty picture.
    bool Beginnen(const KoerperSatz& jetzt, int32_t schrittzahl, double intervall);
    // A step done: its strokes and the bodies after it, now at `schrittzahl`.
    // Writes a frame every k-th step after the first. False after a failure
    // (Fehler() says why).
    bool Schritt(const Strich* striche, std::size_t anzahl, const KoerperSatz& jetzt, int32_t schrittzahl,
                 double intervall);
    // Closes the film: see Filmschreiber::Abschliessen.
    std::optional<QString> Beenden();
    void Verwerfen();

    int Bilder() const { return schreiber_ ? schreiber_->Bilder() : bilder_; }
    const QString& Fehler() const { return fehler_; }
    Filmbild& Bild() { return bild_; }

private:
    bool Aufnehmen(const KoerperSatz& jetzt, int32_t schrittzahl, double intervall);

    std::unique_ptr<Filmschreiber> schreiber_;
    Filmbild bild_;
    Filmueberlagen ueberlagen_;
    int k_;
    int32_t beginn_ = 0;
    int bilder_ = 0;   // after the writer is gone
    QString fehler_;
};
