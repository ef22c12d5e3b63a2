// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The replay of a run for a redraw, piece by piece: first whatever the
// stroke record keeps, then the steps beyond it, computed from the record's
// end, with the run's interventions applied at their steps. The replay
// works on a run state of its own, so the caller decides
// what becomes of it when it is done, and hands every piece's strokes to
// whatever draws them.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/eingriff.h"
#include "sim/laufstand.h"
#include "sim/strichspeicher.h"

#include <cstddef>
#include <cstdint>
#include <span>

class Wiedergabe {
public:
    // A replay of `n` steps of the run that starts from `mod`'s document set
    // and interval and goes through `eingriffe`, drawing what `speicher`
    // keeps of that run. A record of another run is forgotten and a new one
    // started. When the document set cannot be built, the replay ends at once
    // with the fault, and its bodies are `bisher`'s at step 0.
    void Beginnen(const ModPlavo& mod, const Eingriffe& eingriffe, int32_t n, Strichspeicher& speicher,
                  const Laufstand& bisher);

    struct Stueck {
        std::span<const Strich> striche;   // to be drawn next, in this order
        // The record went while it was being drawn: the picture starts
        // again from white before these strokes, and every step is computed.
        bool vonVorn = false;
    };
    // The next piece, when not Fertig(): a block of kept strokes or, once
    // every kept stroke is out, one step computed with `werk` (kept where it
    // continues the record). A faulting step ends the replay with no strokes.
    Stueck Weiter(Rechenwerk& werk, Strichspeicher& speicher);
    // Every kept stroke is out and a step is to be computed next.
    bool SchrittFaellig() const { return gezeichnet_ >= zuZeichnen_ && !Fertig(); }
    // Takes a step computed elsewhere from Stand(): kept as Weiter() would
    // keep it, and its strokes returned; or its faults end the replay.
    std::span<const Strich> SchrittUebernehmen(Strichspeicher& speicher, unsigned fehler,
                                               std::span<const Strich> striche, Laufstand nachher);

    bool Fertig() const
    {
        return gezeichnet_ >= zuZeichnen_ && (fehler_ != KeinFehler || stand_.Schrittzahl >= ziel_);
    }
    int32_t Ziel() const { return ziel_; }
    double Intervall() const { return dokument_.Intervall; }   // the interval replayed
    // The replay's run as it goes, after the interventions at its step: its
    // end once Fertig().
    const Laufstand& Stand() const { return stand_; }
    int32_t Behalten() const { return behalten_; }         // steps drawn from the record
    double Anteil() const;                                 // how far it is, 0 to 1
    unsigned Fehler() const { return fehler_; }

private:
    // Starts a new record and computes every step.
    void Neu(Strichspeicher& speicher, const Laufstand& bisher);
    // The interventions at the step the replay stands at, noted in the record.
    void Eingreifen(Strichspeicher& speicher);

    ModPlavo dokument_;   // the document set and interval replayed
    Eingriffe eingriffe_;
    std::size_t naechster_ = 0;    // the first intervention not applied yet
    Laufstand stand_;
    int32_t ziel_ = 0;
    int32_t behalten_ = 0;
    std::size_t zuZeichnen_ = 0;   // kept strokes to draw, and how many are drawn
    std::size_t gezeichnet_ = 0;
    uint64_t generation_ = 0;      // of the record being drawn
    unsigned fehler_ = KeinFehler;
};
