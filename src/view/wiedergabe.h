#pragma once
// The replay of a run for a redraw, in pieces: first whatever the stroke
// record keeps, drawn at once, then the steps beyond it, computed from the
// record's working set for as long as the caller allows at a time. The
// replay works on its own copy of the working set and its own step count,
// so the caller decides what becomes of them when it is done.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "view/strichspeicher.h"

#include <chrono>
#include <cstdint>

class Wiedergabe {
public:
    using Uhr = std::chrono::steady_clock;

    // A replay of `n` steps of the run that starts from `mod`'s document set
    // and interval, on `flaeche` (cleared and scaled by the caller). Kept
    // strokes that belong to `mod` are drawn now; a record that does not is
    // forgotten and a new one started.
    void Beginnen(const ModPlavo& mod, int32_t n, Strichspeicher& speicher, Zeichenflaeche& flaeche);
    // Computes steps until all n are done, a step faults, or `bis` has passed
    // (at least one step per call). True when the replay is done.
    bool Arbeiten(Rechenwerk& werk, Strichspeicher& speicher, Zeichenflaeche& flaeche, Uhr::time_point bis);

    bool Fertig() const { return fehler_ != KeinFehler || schrittzahl_ >= ziel_; }
    int32_t Ziel() const { return ziel_; }
    int32_t Schrittzahl() const { return schrittzahl_; }   // steps replayed so far
    int32_t Gezeichnet() const { return gezeichnet_; }     // of them, drawn from the record
    unsigned Fehler() const { return fehler_; }
    const KoerperSatz& Sim() const { return mod_.KoerperSim; }
    double Intervall() const { return mod_.Intervall; }

private:
    ModPlavo mod_;   // the document set and interval replayed, and the working set as it goes
    int32_t ziel_ = 0;
    int32_t schrittzahl_ = 0;
    int32_t gezeichnet_ = 0;
    unsigned fehler_ = KeinFehler;
};
