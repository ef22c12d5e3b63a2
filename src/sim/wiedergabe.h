#pragma once
// The replay of a run for a redraw, in pieces: first whatever the stroke
// record keeps, then the steps beyond it, computed from the record's working
// set, each for as long as the caller allows at a time. The replay works on
// its own copy of the working set and its own step count, so the caller
// decides what becomes of them when it is done.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/strichspeicher.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

class Wiedergabe {
public:
    using Uhr = std::chrono::steady_clock;

    // A replay of `n` steps of the run that starts from `mod`'s document set
    // and interval, on `flaeche` (cleared and scaled by the caller), drawing
    // what `speicher` keeps of that run. A record of another run is forgotten
    // and a new one started.
    void Beginnen(const ModPlavo& mod, int32_t n, Strichspeicher& speicher);
    // Draws and computes until the replay is done, a step faults, or `bis`
    // has passed (at least one piece of work per call). True when done.
    // Without `rechnen` it stops where a step is to be computed.
    bool Arbeiten(Rechenwerk& werk, Strichspeicher& speicher, Zeichenflaeche& flaeche, Uhr::time_point bis,
                  bool rechnen = true);
    // Every kept stroke is drawn and a step is to be computed next.
    bool SchrittFaellig() const { return gezeichnet_ >= zuZeichnen_ && !Fertig(); }
    // Takes a step computed elsewhere from Sim() as step Schrittzahl() + 1:
    // kept and drawn as Arbeiten() would have, or its faults end the replay.
    void SchrittUebernehmen(Strichspeicher& speicher, Zeichenflaeche& flaeche, unsigned fehler,
                            const std::vector<Strich>& striche, KoerperSatz nachher);

    bool Fertig() const
    {
        return gezeichnet_ >= zuZeichnen_ && (fehler_ != KeinFehler || schrittzahl_ >= ziel_);
    }
    int32_t Ziel() const { return ziel_; }
    int32_t Schrittzahl() const { return schrittzahl_; }   // the step count reached, once done
    int32_t Behalten() const { return behalten_; }         // steps drawn from the record
    double Anteil() const;                                 // how far it is, 0 to 1
    unsigned Fehler() const { return fehler_; }
    const KoerperSatz& Sim() const { return mod_.KoerperSim; }
    double Intervall() const { return mod_.Intervall; }

private:
    // Starts a new record and computes every step.
    void Neu(Strichspeicher& speicher, const KoerperSatz& bisher);

    ModPlavo mod_;   // the document set and interval replayed, and the working set as it goes
    int32_t ziel_ = 0;
    int32_t schrittzahl_ = 0;
    int32_t behalten_ = 0;
    std::size_t zuZeichnen_ = 0;   // kept strokes to draw, and how many are drawn
    std::size_t gezeichnet_ = 0;
    uint64_t generation_ = 0;      // of the record being drawn
    unsigned fehler_ = KeinFehler;
};
