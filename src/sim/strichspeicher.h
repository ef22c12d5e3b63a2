#pragma once
// The strokes of a run as the surface received them, step by step, so that a
// redraw at another size or section draws them again instead of computing
// every step anew. Together with them: the document set and interval the run
// started from, and the working set after the last kept step, from which a
// redraw computes whatever lies beyond.
//
// The record only ever holds what a replay from its start would draw: a step
// is added only when it continues the record exactly (same working set, step
// count and interval). Anything else (an edited table, New, a new interval)
// simply stops the record from growing, and Passt() tells a redraw whether
// the record still belongs to the document.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/zeichenflaeche.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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

    // Whether a replay of `mod` from its start draws what is kept.
    bool Passt(const ModPlavo& mod) const;
    // Whether the step that `sim` is about to take as step `schrittzahl` + 1
    // at `intervall` days would continue the record (and fits the budget).
    bool Fortsetzbar(const KoerperSatz& sim, int32_t schrittzahl, double intervall) const;
    // Adds a step that Fortsetzbar() allowed: its strokes and the working set after it.
    void Anhaengen(const Strich* striche, std::size_t anzahl, const KoerperSatz& nachher);

    // One step of `sim`, drawn on `flaeche` and kept where it continues the
    // record; a run at step 0 starts a new record of `mod`. A fault forgets
    // the record. Returns the step's faults.
    unsigned Schritt(Rechenwerk& werk, const ModPlavo& mod, KoerperSatz& sim, double intervall,
                     int32_t& schrittzahl, Zeichenflaeche& flaeche);

    // Keeps a step computed elsewhere, as Schritt() would have kept it:
    // `vorher` the working set it started from as step `schrittzahl` + 1.
    void Aufnehmen(const ModPlavo& mod, const KoerperSatz& vorher, int32_t schrittzahl, double intervall,
                   const Strich* striche, std::size_t anzahl, const KoerperSatz& nachher);

    // Draws kept strokes from stroke number `ab` on, at most `hoechstens` of
    // them, in the order they were drawn; returns how many it drew.
    std::size_t Zeichnen(Zeichenflaeche& flaeche, std::size_t ab, std::size_t hoechstens) const;

    bool Gueltig() const { return gueltig_; }
    // Changes whenever the record is forgotten or begun anew.
    uint64_t Generation() const { return generation_; }
    int32_t Schritte() const { return schritte_; }            // steps kept
    std::size_t Striche() const { return striche_; }          // strokes kept
    const KoerperSatz& Ende() const { return ende_; }         // the working set after them
    double Intervall() const { return intervall_; }
    std::size_t Bytes() const;                                // memory held

private:
    // A deferring surface that also hands each step's strokes to `ziel`.
    class Aufnahme;

    std::size_t budget_;
    std::size_t blockStriche_ = 0;   // strokes per block, fixed per record
    std::vector<std::unique_ptr<Strich[]>> bloecke_;
    std::size_t striche_ = 0;
    int32_t schritte_ = 0;
    bool gueltig_ = false;
    uint64_t generation_ = 0;
    bool voll_ = false;              // the next step did not fit: the record stays as it is
    KoerperSatz start_;
    double intervall_ = 0;
    KoerperSatz ende_;
    std::vector<Strich> schritt_;    // the strokes of the step being computed
};
