// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The strokes of a run as the steps gave them, step by step, so that a
// redraw at another size or section draws them again instead of computing
// every step anew. Together with them: the document set and interval the run
// started from, and where the run stood after the last kept step, from which
// a redraw computes whatever lies beyond.
//
// The record only ever holds what a replay from its start would draw: a step
// is added only when it continues the record exactly (same working set, step
// count and interval). Anything else (an edited table, New, a new interval)
// simply stops the record from growing, and Passt() tells a redraw whether
// the record still belongs to the document.
//
// The run's interventions are part of what it replays: the record notes each
// one it went through, with the strokes drawn before it, and so can be cut
// back to the step of an intervention that is undone. The number of bodies,
// and so of strokes per step, may change at an intervention.

#include "model/modplavo.h"
#include "sim/eingriff.h"
#include "sim/laufstand.h"
#include "sim/strich.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class Strichspeicher {
public:
    // 512 MiB, but never more than a quarter of the physical memory.
    static std::size_t StandardBudget();

    explicit Strichspeicher(std::size_t budgetBytes = StandardBudget());

    // Bytes the record may take; a smaller budget takes effect with the next record.
    void BudgetSetzen(std::size_t bytes) { budget_ = bytes; }
    std::size_t Budget() const { return budget_; }

    // Forgets the record and gives its memory back.
    void Verwerfen();
    // A new, empty record of the run that starts from `mod`'s document set
    // and interval. Returns the faults of building that set (then nothing is kept).
    unsigned Beginnen(const ModPlavo& mod);

    // Whether a replay of `mod` from its start, with the interventions
    // `eingriffe`, draws what is kept.
    bool Passt(const ModPlavo& mod, const Eingriffe& eingriffe) const;
    // Whether the step that starts from `vorher` would continue the record
    // (and fits the budget).
    bool Fortsetzbar(const Laufstand& vorher) const;
    // Fortsetzbar, after a run at step 0 has begun a new record of `mod`.
    bool Fortsetzen(const ModPlavo& mod, const Laufstand& vorher);
    // Adds the step that Fortsetzen allowed: its strokes and where it left the run.
    void Anhaengen(std::span<const Strich> striche, const Laufstand& nachher);
    // Fortsetzen and Anhaengen for a step computed elsewhere.
    void Aufnehmen(const ModPlavo& mod, const Laufstand& vorher, std::span<const Strich> striche,
                   const Laufstand& nachher);

    // The intervention `eingriff`, made where the run stands at `vorher`,
    // becomes part of the record when it continues the record there.
    void Eingreifen(const EingriffPtr& eingriff, const Laufstand& vorher);
    // The record cut back to where a run with the interventions `eingriffe`
    // stands at `stand` (after the interventions at its step), so that it
    // goes on from there. False, with nothing changed, when the record does
    // not reach that step or went another way before it.
    bool Ansetzen(const Eingriffe& eingriffe, const Laufstand& stand);
    // The interventions the record went through, in order.
    std::size_t AnzahlEingriffe() const { return marken_.size(); }

    // Kept strokes from stroke number `ab` on, in the order they were drawn:
    // at most `hoechstens`, and never past the end of a block.
    std::span<const Strich> Striche(std::size_t ab, std::size_t hoechstens) const;

    bool Gueltig() const { return gueltig_; }
    // Changes whenever the record is forgotten or begun anew.
    uint64_t Generation() const { return generation_; }
    int32_t Schritte() const { return ende_.Schrittzahl; }   // steps kept
    std::size_t AnzahlStriche() const { return striche_; }    // strokes kept
    const Laufstand& Ende() const { return ende_; }          // where the run stood after them
    std::size_t Bytes() const;                               // memory held

private:
    struct Marke {
        EingriffPtr eingriff;
        std::size_t striche;   // kept before it
    };
    // The strokes of steps 0 to `schritt` - 1: every body draws one a step.
    std::size_t StricheBis(int32_t schritt) const;

    std::size_t budget_;
    std::size_t blockStriche_ = 0;   // strokes per block, fixed per record
    std::vector<std::unique_ptr<Strich[]>> bloecke_;
    std::size_t striche_ = 0;
    bool gueltig_ = false;
    uint64_t generation_ = 0;
    bool voll_ = false;              // the next step did not fit: the record stays as it is
    KoerperSatz start_;
    std::vector<Marke> marken_;
    Laufstand ende_;                 // its interval is the one the record started with
};
