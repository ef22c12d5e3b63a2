// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film recorded from the run as it goes, live or computed ahead. It takes
// what the picture takes (the strokes of steps and redraws, and the clears)
// and draws them at the film's own size and section, so the window may be
// resized or zoomed meanwhile; every k-th step becomes a frame.
//
// Drawing, overlays and encoding run on the program's worker, two tasks of
// this film at a time (ImFlug), so the worker stays free for the run's own
// work in between. This thread only copies strokes (and, for dots and names, the
// bodies): a few kilobytes a step, kept here until the worker takes them.
// The run waits only once that pending memory holds `speicher` bytes; when
// the recording stops, the worker draws and encodes what is still pending
// behind (Anhalten), or it is dropped and the film ends shorter (Kuerzen).
//
// The recording begins with a redraw of the run: the film takes the trail
// drawn so far from it, and its end is the first frame (at step 0 the dots,
// or an empty picture).
//
// The film is seen in the picture's frame of reference, projected here as
// the picture projects its own, so a frame's trails are the picture
// export's in that frame; in Fest they pass untouched. A change of frame
// (BezugSetzen) is followed from the redraw that comes with it.

#include "view/filmaufnahme.h"

#include "sim/arbeiter.h"
#include "view/bezugsprojektion.h"

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class Lauf;

class Filmaufzeichnung : public QObject {
    Q_OBJECT
public:
    // What may wait for the worker by default before the run waits: at 100
    // bodies and a frame every step, a few minutes of a run.
    static constexpr std::size_t Vorrat = std::size_t(256) << 20;
    // Tasks of this film on the worker at once: the one it works on and the
    // next, so it never waits for this thread between frames, while the
    // run's own tasks wait behind two frames at most.
    static constexpr std::size_t ImFlug = 2;
    // Strokes without a frame (k large, or a long redraw) are handed over
    // in bundles of this many, so one task stays short.
    static constexpr std::size_t Buendel = std::size_t(1) << 18;

    // `ausschnitt`: the picture's section now, fitted into the writer's size.
    // `schritteProBild` below 1 counts as 1. `bezug`: the frame the film is
    // seen in. `speicher`: bytes of pending work before the run waits.
    Filmaufzeichnung(Lauf& lauf, Arbeiter& arbeiter, std::unique_ptr<Filmschreiber> schreiber,
                     const Ausschnitt& ausschnitt, const Filmueberlagen& ueberlagen, int schritteProBild,
                     const Bezugssystem& bezug = {}, std::size_t speicher = Vorrat);
    // Drops a film that was not ended (waiting for the frame in progress).
    ~Filmaufzeichnung() override;
    Filmaufzeichnung(const Filmaufzeichnung&) = delete;
    Filmaufzeichnung& operator=(const Filmaufzeichnung&) = delete;

    // Redraws the run; its end writes the first frame.
    void Beginnen();
    // Takes the run's steps: until Anhalten, Beenden or Verwerfen.
    bool Laeuft() const { return laeuft_; }
    // Frames written so far (the worker's count, read at any time).
    int Bilder() const;
    // Frames handed over so far, written or not.
    int BilderAbgegeben() const { return abgegeben_; }
    // Frames handed over and not written yet.
    int Ausstehend() const { return abgegeben_ - Bilder(); }
    // Bytes of work handed over and not done yet.
    std::size_t Wartend() const { return bytes_; }
    // The first frame is handed over (the redraw it waits for is done).
    bool Begonnen() const { return !ersterOffen_; }
    // Handing over now would not wait.
    bool Frei();
    // Writing failed; the reason is Beenden's.
    bool Gescheitert() const;

    // The picture is seen in `bezug` from its next redraw on; the film
    // follows, naming it `text` when it shows the frame's label. `mitte`:
    // the frame's origin comes to the film's centre, as to the picture's.
    void BezugSetzen(const Bezugssystem& bezug, const QString& text, bool mitte);

    // Takes no more steps; the worker writes the frames still pending behind,
    // and `abgeschlossen` follows once the film is closed (at once when
    // nothing is pending). Ergebnis() then says how it went.
    void Anhalten();
    // Drops the frames not begun yet and closes the film with those written:
    // a valid, shorter film. Waits for the frame in progress.
    void Kuerzen();
    // After `abgeschlossen`: nothing, or a German reason (and then nothing of it stays).
    const std::optional<QString>& Ergebnis() const { return ergebnis_; }
    bool Abgeschlossen() const { return abgeschlossen_; }

    // Waits for the worker to finish what was handed over, then closes the
    // film: nothing, or a German reason (and then nothing of it stays).
    std::optional<QString> Beenden();
    // Drops the film and what was written of it.
    void Verwerfen();

signals:
    // A task of this recording is done: Bilder() may have grown, and there is room.
    void erledigt();
    // Writing failed; nothing more is written. Emitted once.
    void fehlgeschlagen();
    // The film is closed after Anhalten or Kuerzen; see Ergebnis().
    void abgeschlossen();

private:
    struct Geteilt;
    struct Stueck;
    struct Unterwegs;

    void Gezeichnet(std::span<const Strich> striche);
    // Gathers strokes already in the film's frame.
    void Sammeln(std::span<const Strich> striche);
    // The bodies the announced strokes belong to: a redraw's while it runs.
    const KoerperSatz& Koerper() const;
    void Geleert();
    void Zurueckgesetzt();
    void SchrittGemacht(std::span<const Strich> striche);
    void NeuzeichnungBeendet();
    void BildAbgeben();
    void Abgeben();
    // Hands pending pieces to the worker while fewer than ImFlug of this film are there.
    void Nachschieben();
    // Hands the oldest pending piece to the worker.
    void Anvertrauen();
    void Erledigt();
    // Takes what the worker has done off the books.
    void Austragen();
    // Waits until no more than `hoechstens` bytes are pending.
    void Abwarten(std::size_t hoechstens);
    // Drops everything pending; the film is left to this thread.
    void Abschneiden();
    void Trennen();
    // Everything is done or dropped: the film is closed.
    void Schliessen();

    Lauf& lauf_;
    Arbeiter& arbeiter_;
    std::shared_ptr<Geteilt> geteilt_;
    std::shared_ptr<Stueck> offen_;                 // gathered here, not handed over yet
    std::deque<std::shared_ptr<Stueck>> wartend_;   // handed over, not given to the worker yet
    std::deque<Unterwegs> unterwegs_;               // on the worker: ImFlug at most
    std::size_t bytes_ = 0;                         // of wartend_ and unterwegs_
    std::size_t speicher_;
    Bezugsprojektion projektion_;
    Bezugsprojektion::Ziel sammeln_;
    QMetaObject::Connection verbindungen_[6];
    std::optional<QString> ergebnis_;
    bool koerperNoetig_;
    int k_;
    int64_t schritte_ = 0;   // steps since the first frame
    int abgegeben_ = 0;
    bool ersterOffen_ = true;
    bool laeuft_ = true;
    bool angehalten_ = false;
    bool abgeschlossen_ = false;
    bool gemeldet_ = false;
};
