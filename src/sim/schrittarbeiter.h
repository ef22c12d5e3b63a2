#pragma once
// A thread of its own for the steps of large systems, so that the window
// goes on painting and taking input while a step computes. It takes one step
// at a time on a copy of the working set and keeps the step's strokes
// instead of drawing them: whoever takes the result over draws them, in the
// same order, on the user-interface thread. The thread is started on first
// use and kept until the object goes.

#include "model/modplavo.h"
#include "sim/berechnung.h"
#include "sim/zeichenflaeche.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class Schrittarbeiter {
public:
    // What a step needs and what it gives back.
    struct Auftrag {
        KoerperSatz vorher;         // the working set the step starts from
        double intervall = 0;
        int32_t schrittzahl = 0;    // before the step
        uint64_t stand = 0;         // the caller's mark, to tell whether the result still fits
        // The result, once done:
        KoerperSatz nachher;
        std::vector<Strich> striche;
        unsigned fehler = 0;
    };

    Schrittarbeiter() = default;
    // Waits for a step in flight (at most one step).
    ~Schrittarbeiter();
    Schrittarbeiter(const Schrittarbeiter&) = delete;
    Schrittarbeiter& operator=(const Schrittarbeiter&) = delete;

    // Hands a step over; false while one is still in flight or not collected.
    // `fertig` is called on the worker thread when the step is done.
    bool Abgeben(Auftrag auftrag, std::function<void()> fertig);
    // Whether a step was handed over and not collected yet.
    bool Belegt() const;
    // Whether the step handed over is done.
    bool Fertig() const;
    // Waits until the step handed over is done (at once when none is).
    void Abwarten();
    // The done step, handed back; the worker is free again. Only after Fertig().
    Auftrag Abholen();

private:
    void Lauf();

    mutable std::mutex sperre_;
    std::condition_variable signal_;
    bool belegt_ = false;
    bool fertig_ = false;
    bool ende_ = false;
    Auftrag auftrag_;
    std::function<void()> melden_;
    Rechenwerk werk_;   // scratch arrays of this thread's steps
    std::thread faden_;
};
