// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film recorded from the run as it goes, live or computed ahead. It takes
// what the picture takes (the strokes of steps and redraws, and the clears)
// and draws them at the film's own size and section, so the window may be
// resized or zoomed meanwhile; every k-th step becomes a frame.
//
// Drawing, overlays and encoding run on the program's worker. This thread
// only copies strokes (and, for dots and names, the bodies) and hands them
// over; it waits only while Warteschlange tasks are outstanding, so a run
// faster than its encoder is held to the encoder's pace instead of filling
// the memory with frames.
//
// The recording begins with a redraw of the run: the film takes the trail
// drawn so far from it, and its end is the first frame (at step 0 the dots,
// or an empty picture).
//
// The film is seen in the frame of reference the picture had at its start,
// projected here as the picture projects its own, so a frame's trails are
// the picture export's in that frame; in Fest they pass untouched.

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
    // Tasks of one recording on the worker, at most.
    static constexpr std::size_t Warteschlange = 4;
    // Strokes without a frame (k large, or a long redraw) are handed over
    // in bundles of this many, so waiting strokes take a few megabytes at most.
    static constexpr std::size_t Buendel = std::size_t(1) << 18;

    // `ausschnitt`: the picture's section now, fitted into the writer's size.
    // `schritteProBild` below 1 counts as 1. `bezug`: the frame the film is seen in.
    Filmaufzeichnung(Lauf& lauf, Arbeiter& arbeiter, std::unique_ptr<Filmschreiber> schreiber,
                     const Ausschnitt& ausschnitt, const Filmueberlagen& ueberlagen, int schritteProBild,
                     const Bezugssystem& bezug = {});
    // Drops a film that was not ended (waiting for its tasks).
    ~Filmaufzeichnung() override;
    Filmaufzeichnung(const Filmaufzeichnung&) = delete;
    Filmaufzeichnung& operator=(const Filmaufzeichnung&) = delete;

    // Redraws the run; its end writes the first frame.
    void Beginnen();
    // Until Beenden or Verwerfen.
    bool Laeuft() const { return laeuft_; }
    // Frames written so far (the worker's count, read at any time).
    int Bilder() const;
    // Frames handed over so far, written or not.
    int BilderAbgegeben() const { return abgegeben_; }
    // The first frame is handed over (the redraw it waits for is done).
    bool Begonnen() const { return !ersterOffen_; }
    // Handing over now would not wait.
    bool Frei();
    // Writing failed; the reason is Beenden's.
    bool Gescheitert() const;

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

private:
    struct Geteilt;
    struct Stueck;

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
    void Erledigt();
    // Waits until fewer than `hoechstens` tasks are outstanding.
    void Aufraeumen(std::size_t hoechstens);
    void Trennen();

    Lauf& lauf_;
    Arbeiter& arbeiter_;
    std::shared_ptr<Geteilt> geteilt_;
    std::shared_ptr<Stueck> offen_;   // gathered here, not handed over yet
    std::deque<Arbeiter::Marke> marken_;
    Bezugsprojektion projektion_;
    Bezugsprojektion::Ziel sammeln_;
    QMetaObject::Connection verbindungen_[6];
    bool koerperNoetig_;
    int k_;
    int64_t schritte_ = 0;   // steps since the first frame
    int abgegeben_ = 0;
    bool ersterOffen_ = true;
    bool laeuft_ = true;
    bool gemeldet_ = false;
};
