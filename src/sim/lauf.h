// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run of the document: the one owner and the only writer of where the
// run stands (Laufstand: the working set, the step count, the interval in
// use), with the step engine, the strokes kept for redraws, a redraw in
// progress and a step in flight on the worker. It reads the document and
// never writes it. What happens it announces by its signals, as values: a
// step with its strokes, the strokes of a redraw, a reset, a redraw's
// progress and end, faults as SchrittFehler bits. Whatever draws or shows
// the run subscribes; nothing polls it.
//
// A step of a large system is handed to the worker, and so are the steps a
// redraw must compute for it. Until a step is taken over, the run stands
// where it stood, and a command acts as if it came between two ticks. A
// command that replaces the run (Zurücksetzen, a loaded document) drops the
// step; so does anything that leaves the run other than the step found it.
// A redraw that begins while a step is in flight counts that step in: it
// replays it too, and takes the worker's result for it where it fits.
//
// An edit of the bodies at a later step is an intervention (sim/eingriff.h):
// the run keeps it at its step, and every redraw applies it there, so the
// trail breaks where the bodies were moved and no stroke joins the old and
// new places. Zurücksetzen and a loaded document end the interventions. An
// edit's undo gives back the run as it stood before it, at that step; the
// steps computed since are dropped and the picture is replayed to there.
// Its redo puts the run back where the edit left it, at the same step, even
// when the run went on after the undo: both are one exact state, never a
// guess about what the steps in between would have been.

#include "model/modplavo.h"
#include "sim/arbeiter.h"
#include "sim/berechnung.h"
#include "sim/eingriff.h"
#include "sim/laufstand.h"
#include "sim/strich.h"
#include "sim/strichspeicher.h"
#include "sim/wiedergabe.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class Lauf : public QObject {
    Q_OBJECT
public:
    using Uhr = std::chrono::steady_clock;

    // From this many bodies on a step goes to the worker: there one step
    // takes a few milliseconds or more (3.3 ms at 3,000 bodies on two cores
    // with AVX2, 0.33 s at 32,767).
    static constexpr std::size_t StandardNebenlaeufigAb = 3000;

    Lauf(const ModPlavo& mod, Arbeiter& arbeiter, std::size_t budgetBytes = Strichspeicher::StandardBudget());
    // Waits for its step on the worker (at most one step); announces nothing.
    ~Lauf() override;

    const ModPlavo& Mod() const { return mod_; }
    // While a redraw runs, Stand() is where the run stood when it began and
    // Schrittzahl() the count it will end at.
    const Laufstand& Stand() const { return stand_; }
    int32_t Schrittzahl() const { return neuzeichnung_ ? wiedergabe_.Ziel() : stand_.Schrittzahl; }
    // Where the bodies are now: the working set once the run has begun,
    // before that the document set.
    const KoerperSatz& Jetzt() const { return stand_.Schrittzahl > 0 ? stand_.KoerperSim : mod_.KoerperStart; }
    // Counts the document sets the run was told of (DokumentGeladen,
    // KoerperGeaendert): whoever shows start values knows by it whether
    // they still belong to the document.
    uint64_t Dokumentnummer() const { return dokumentNummer_; }
    Strichspeicher& Speicher() { return speicher_; }
    const Strichspeicher& Speicher() const { return speicher_; }

    // "Starten": builds the working set at step 0; otherwise the run resumes.
    // Returns the faults of the building (the run then stays as it was).
    unsigned Starten();
    // One step as a tick of the timer makes it: a running redraw is finished
    // and a step in flight taken over first; then a small system's step is
    // computed here and a large one's handed to the worker, whose result
    // comes back through the event loop. Returns the faults of what was done
    // here (announced as well).
    unsigned Takt();
    // One step on this thread, whatever the size (a step in flight is taken
    // over first), kept for redraws where it continues the record.
    unsigned Schritt();
    // "Zurücksetzen": step 0, nothing kept, no redraw, no step in flight.
    void Zuruecksetzen();
    // A document was loaded: as Zurücksetzen, and the working set is built
    // from the new document set at once, so a running simulation goes on
    // with it. Returns the faults of that building.
    unsigned DokumentGeladen();
    // The document set was replaced (the table's OK, New): the working set
    // never stays on bodies the document no longer has. At a later step it
    // is built again and the run replayed up to its step count at once, in
    // slices as a redraw is; the count stays. At step 0 it is built now.
    void KoerperGeaendert();
    // The document's interval changed: the next step uses it (the
    // displacements stay as built); kept strokes go when they no longer belong.
    void IntervallGeaendert();

    // The interventions of the run, in the order made.
    const Eingriffe& Eingriffsliste() const { return eingriffe_; }
    // Per body of Jetzt(), the document row it stems from, or -1 for a body
    // an intervention added.
    std::vector<int32_t> Zeilen() const;
    // Where the run stands, with its interventions: what an edit keeps to
    // be undone.
    struct Zustand {
        Eingriffe eingriffe;
        Laufstand stand;
    };
    // As between two ticks: a running redraw is finished and a step in
    // flight taken over first.
    Zustand ZustandNehmen();
    // The run stands at `zustand` again, with `danach` (an intervention at
    // its step) applied when given: an edit's undo, and its redo. Where the
    // run stands there already, the intervention is only applied; otherwise
    // the record is cut back, the steps since are dropped (a step in flight
    // too) and the picture is replayed to the step.
    void ZustandHerstellen(const Zustand& zustand, const EingriffPtr& danach = nullptr);
    // An edit of the working set where the run stands now, at a later step:
    // `koerper` becomes the working set and an intervention at this step,
    // which is returned. At step 0 nothing happens (null): such an edit is
    // the document's.
    EingriffPtr Eingreifen(KoerperSatz koerper, std::vector<int32_t> zeilen);
    // Takes the interventions away, or puts them back, without a redraw: a
    // change of the document begins the run without them, and its undo
    // brings them back; the redraw that follows the document replays them.
    Eingriffe EingriffeNehmen();
    void EingriffeSetzen(Eingriffe eingriffe);

    // Steps on the worker.
    bool Nebenlaeufig() const { return Nebenlaeufig(stand_.KoerperSim); }
    void NebenlaeufigAbSetzen(std::size_t koerper) { nebenlaeufigAb_ = koerper; }
    // Hands the next step to the worker; false while one is in flight.
    bool SchrittAbgeben();
    // A step was handed over and not taken over or dropped yet.
    bool SchrittUnterwegs() const { return auftrag_ != nullptr; }
    // A step of the run is in flight that will count once taken over
    // (nothing has replaced the run since it was handed over).
    bool SchrittZaehlt() const;
    struct Uebernahme {
        enum Art { Keine, Unterwegs, Verworfen, Uebernommen } art = Keine;
        unsigned fehler = KeinFehler;
    };
    // Waits for the step in flight (at most one step), then takes it over:
    // announced and kept, or its faults announced with nothing changed; a
    // step that no longer fits the run is dropped.
    Uebernahme SchrittAbwarten();
    // Before a command that changes the document under a running run: the
    // step in flight is waited for and taken over, as if the command came
    // after its tick (a running redraw ends first).
    void SchrittAbschliessen();
    // Waits until the worker is done with the run's step (at most one step).
    void ArbeiterAbwarten() { marke_.Abwarten(); }

    // The redraw: replays the Schrittzahl() steps onto a picture that clears
    // itself at neuzeichnungBegonnen, first from the kept strokes, then
    // computing the rest, in slices of at most ScheibeSetzen() on the event
    // loop; the first slice runs at once, so a short redraw is done on
    // return. One already running starts again, keeping what it computed.
    // Ticks, a step in flight and the working set wait for its end.
    void Neuzeichnen();
    // Neuzeichnen without any slice: NeuzeichnenArbeiten drives it (tests and
    // benchmarks, which have no event loop).
    void NeuzeichnenBeginnen();
    // Draws and computes until done or until `bis`. When done, the run
    // stands where the replay ended. Warten: the worker computes the
    // replay's next step; go on once it is done.
    enum class Neuzeichnungsstand { Fertig, Weiter, Warten };
    Neuzeichnungsstand NeuzeichnenArbeiten(Uhr::time_point bis);
    // Finishes a running redraw now (waiting for the worker where it computes).
    void NeuzeichnungAbschliessen();
    // Drops a running redraw (announced); the run stays where it stood.
    void NeuzeichnenAbbrechen();
    bool NeuzeichnungLaeuft() const { return neuzeichnung_; }
    const Wiedergabe& Neuzeichnung() const { return wiedergabe_; }
    // The longest slice (30 ms); 0 computes one piece per slice.
    void ScheibeSetzen(std::chrono::milliseconds dauer) { scheibe_ = dauer; }

signals:
    // A step was taken: what it drew, in order (each body's segment, then its point).
    void schrittGemacht(std::span<const Strich> striche);
    // A step failed: the run stands where it stood, nothing was drawn.
    void schrittFehlgeschlagen(unsigned fehler);
    // The run went back to step 0 (Zurücksetzen, a loaded document): the picture is white.
    void zurueckgesetzt();
    // A redraw begins, or begins again: the picture clears (its scale stays)
    // and receives the run once more through `wiedergegeben`.
    void neuzeichnungBegonnen();
    // Strokes of a redraw, kept or computed again, in the order first drawn.
    void wiedergegeben(std::span<const Strich> striche);
    void neuzeichnungFortschritt(int prozent);   // after each slice that did not finish it
    void neuzeichnungBeendet(unsigned fehler);   // done (fault bits, if a replayed step failed)
    void neuzeichnungAbgebrochen();
    // Stand(), Schrittzahl() or Jetzt() changed, or the document set they
    // start from (a redraw that ends where the run stood says nothing).
    void standGeaendert();

private:
    struct Schrittauftrag;

    bool Nebenlaeufig(const KoerperSatz& satz) const { return satz.size() >= nebenlaeufigAb_; }
    // Finishes a running redraw and takes over a step in flight; its faults.
    unsigned VorigesAbschliessen();
    unsigned SchrittRechnen();
    // The working set built from the document at step 0; its faults.
    unsigned DokumentAufbauen();
    void Abgeben(const Laufstand& vorher);
    Uebernahme SchrittUebernehmen();
    // The worker is done with the run's step: taken over, or the redraw goes on.
    void SchrittFertig();
    void Scheibe();
    void NeuzeichnungBeenden();
    void Anwenden(const EingriffPtr& eingriff);

    const ModPlavo& mod_;
    Arbeiter& arbeiter_;
    Laufstand stand_;
    Eingriffe eingriffe_;
    Rechenwerk werk_;
    Rechenwerk werkNebenher_;          // the worker's, one step at a time
    Strichspeicher speicher_;
    Wiedergabe wiedergabe_;
    bool neuzeichnung_ = false;
    QTimer scheiben_;
    std::chrono::milliseconds scheibe_{30};
    uint64_t laufnummer_ = 0;          // counts the commands that replace the run
    uint64_t dokumentNummer_ = 0;
    std::shared_ptr<Schrittauftrag> auftrag_;   // handed over, not yet taken over
    Arbeiter::Marke marke_;
    bool auftragFuerNeuzeichnung_ = false;      // the step in flight is the redraw's
    std::shared_ptr<Schrittauftrag> vorgemerkt_;   // a done step the redraw will reach
    std::size_t nebenlaeufigAb_ = StandardNebenlaeufigAb;
};
