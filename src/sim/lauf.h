#pragma once
// The run of the document: the one owner of its step count, its working set
// (the module's KoerperSim, written by nobody else while a run goes), the
// step engine, the strokes kept for redraws, a redraw in progress and a step
// in flight on the worker thread. Windows, the energy balance and the export
// read it; commands change it through the methods below, which say what
// happened as values (SchrittFehler bits), never as text.
//
// A step of a large system is handed to the worker, and so are the steps a
// redraw must compute for it. Until a step is taken over, the run stands
// where it stood, and a command acts as if it came between two ticks. A
// command that replaces the run (Zurücksetzen, a loaded document) drops the
// step; so does anything that leaves the working set, the step count or the
// interval other than the step found them. A redraw that begins while a step
// is in flight counts that step in: it replays it too, and takes the
// worker's result for it where it fits.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/schrittarbeiter.h"
#include "sim/strichspeicher.h"
#include "sim/wiedergabe.h"
#include "sim/zeichenflaeche.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

class Lauf {
public:
    using Uhr = Wiedergabe::Uhr;

    // From this many bodies on a step goes to the worker: there one step
    // takes a few milliseconds or more (3.3 ms at 3,000 bodies on two cores
    // with AVX2, 0.33 s at 32,767).
    static constexpr std::size_t StandardNebenlaeufigAb = 3000;

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
    bool Nebenlaeufig() const { return Nebenlaeufig(mod_.KoerperSim); }
    void NebenlaeufigAbSetzen(std::size_t koerper) { nebenlaeufigAb_ = koerper; }
    // Called on the worker's thread whenever it has finished a step.
    void MeldungSetzen(std::function<void()> fertig) { meldung_ = std::move(fertig); }
    // Hands the next step to the worker; false while one is in flight.
    bool SchrittAbgeben();
    // A step was handed over and not taken over or dropped yet.
    bool SchrittUnterwegs() const { return arbeiter_.Belegt(); }
    // A step of the run is in flight that will count once taken over
    // (nothing has replaced the run since it was handed over).
    bool SchrittZaehlt() const
    {
        return arbeiter_.Belegt() && !auftragFuerNeuzeichnung_ && abgegebenStand_ == stand_
            && abgegebenBei_ == schrittzahl_;
    }
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
    // Draws and computes until done or until `bis`. When done, the working
    // set and count are what a replay in one go would have left (a command
    // that replaced the working set meanwhile keeps its own). Warten: the
    // worker computes the replay's next step; go on after its message.
    enum class Neuzeichnungsstand { Fertig, Weiter, Warten };
    Neuzeichnungsstand NeuzeichnenArbeiten(Zeichenflaeche& flaeche, Uhr::time_point bis);
    // Waits until the worker is done with its step (at most one step).
    void ArbeiterAbwarten() { arbeiter_.Abwarten(); }
    void NeuzeichnenAbbrechen();
    bool NeuzeichnungLaeuft() const { return neuzeichnung_; }
    const Wiedergabe& Neuzeichnung() const { return wiedergabe_; }

private:
    bool Nebenlaeufig(const KoerperSatz& satz) const { return satz.size() >= nebenlaeufigAb_; }
    void Abgeben(const KoerperSatz& vorher, double intervall, int32_t schrittzahl);
    void NeuzeichnungBeenden();

    ModPlavo& mod_;
    int32_t schrittzahl_ = 0;
    Rechenwerk werk_;
    Strichspeicher speicher_;
    Wiedergabe wiedergabe_;
    bool neuzeichnung_ = false;
    KoerperSatz vorNeuzeichnung_;   // the working set when the redraw began
    uint64_t stand_ = 0;            // counts the commands that replace the run
    bool auftragFuerNeuzeichnung_ = false;              // the worker's step is the redraw's
    uint64_t abgegebenStand_ = 0;                       // the run's step in flight: when handed over
    int32_t abgegebenBei_ = 0;
    std::optional<Schrittarbeiter::Auftrag> vorgemerkt_;   // a done step the redraw will reach
    std::function<void()> meldung_;
    std::size_t nebenlaeufigAb_ = StandardNebenlaeufigAb;
    Schrittarbeiter arbeiter_;      // last: its thread goes before the rest
};
