#pragma once
// The run of the document: the one owner of its step count, its working set
// (the module's KoerperSim, written by nobody else while a run goes), the
// step engine, the strokes kept for redraws, a redraw in progress and a step
// in flight on the worker thread. Windows, the energy balance and the export
// read it; commands change it through the methods below, which say what
// happened as values (SchrittFehler bits), never as text.
//
// A step of a large system may be handed to the worker. Until it is taken
// over, the run stands where it stood, as if the step had not begun: every
// command acts as if it came between two ticks. A command that replaces the
// run (Zurücksetzen, a loaded document) drops the step; so does anything
// that leaves the working set, the step count or the interval other than the
// step found them.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/schrittarbeiter.h"
#include "sim/strichspeicher.h"
#include "sim/wiedergabe.h"
#include "sim/zeichenflaeche.h"

#include <cstddef>
#include <cstdint>
#include <functional>

class Lauf {
public:
    using Uhr = Wiedergabe::Uhr;

    // From this many bodies on a step goes to the worker: there one step
    // takes a few milliseconds or more.
    static constexpr std::size_t StandardNebenlaeufigAb = 1024;

    explicit Lauf(ModPlavo& mod, std::size_t budgetBytes = Strichspeicher::StandardBudget());

    const ModPlavo& Mod() const { return mod_; }
    int32_t Schrittzahl() const { return schrittzahl_; }
    // Where the bodies are now: the working set once the run has begun,
    // before that the document set.
    const KoerperSatz& Jetzt() const { return schrittzahl_ > 0 ? mod_.KoerperSim : mod_.KoerperStart; }
    Strichspeicher& Speicher() { return speicher_; }
    const Strichspeicher& Speicher() const { return speicher_; }

    // "Starten": builds the working set at step 0; otherwise the run resumes.
    unsigned Starten();
    // One step on this thread, drawn on `flaeche` and kept for redraws. A
    // step in flight is taken over first, onto the same surface.
    unsigned Schritt(Zeichenflaeche& flaeche);
    // "Zurücksetzen": step 0, nothing kept, no redraw, no step in flight.
    void Zuruecksetzen();
    // A document was loaded: as Zurücksetzen, and the working set is built
    // from the new document set at once, so a running simulation goes on
    // with it. Returns the faults of that building.
    unsigned DokumentGeladen();
    // The document set or the interval may have changed (New, the table's
    // OK, a new interval): the kept strokes go when they no longer belong.
    void DokumentGeaendert();

    // Steps on the worker.
    bool Nebenlaeufig() const { return mod_.KoerperSim.size() >= nebenlaeufigAb_; }
    void NebenlaeufigAbSetzen(std::size_t koerper) { nebenlaeufigAb_ = koerper; }
    // Hands the next step to the worker; false while one is in flight.
    // `fertig` is called on the worker's thread once the step is done.
    bool SchrittAbgeben(std::function<void()> fertig);
    // A step was handed over and not taken over or dropped yet.
    bool SchrittUnterwegs() const { return arbeiter_.Belegt(); }
    struct Uebernahme {
        enum Art { Keine, Unterwegs, Verworfen, Uebernommen } art = Keine;
        unsigned fehler = KeinFehler;
    };
    // Takes over a done step: its strokes drawn on `flaeche`, the run one
    // step on, or its faults returned with nothing changed. A step that no
    // longer fits the run is dropped. Never waits.
    Uebernahme SchrittUebernehmen(Zeichenflaeche& flaeche);
    // Waits for the step in flight (at most one step), then takes it over.
    Uebernahme SchrittAbwarten(Zeichenflaeche& flaeche);

    // The redraw: replays the Schrittzahl steps on a surface the caller has
    // cleared and scaled, first from the kept strokes, then computing the
    // rest. One already running starts again, keeping what it computed.
    // While it runs, Schrittzahl() is the count it will end at and the
    // working set is left alone; a step in flight waits for its end.
    void NeuzeichnenBeginnen();
    // Draws and computes until done or until `bis`; true when done. Then the
    // working set and count are what a replay in one go would have left (a
    // command that replaced the working set meanwhile keeps its own).
    bool NeuzeichnenArbeiten(Zeichenflaeche& flaeche, Uhr::time_point bis);
    void NeuzeichnenAbbrechen();
    bool NeuzeichnungLaeuft() const { return neuzeichnung_; }
    const Wiedergabe& Neuzeichnung() const { return wiedergabe_; }

private:
    void NeuzeichnungBeenden();

    ModPlavo& mod_;
    int32_t schrittzahl_ = 0;
    Rechenwerk werk_;
    Strichspeicher speicher_;
    Wiedergabe wiedergabe_;
    bool neuzeichnung_ = false;
    KoerperSatz vorNeuzeichnung_;   // the working set when the redraw began
    uint64_t stand_ = 0;            // counts the commands that replace the run
    std::size_t nebenlaeufigAb_ = StandardNebenlaeufigAb;
    Schrittarbeiter arbeiter_;      // last: its thread goes before the rest
};
