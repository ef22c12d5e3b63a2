// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one thread for work off the user-interface thread: the steps of large
// systems and a redraw's steps (Lauf), the energy balance (the energy
// window), and whatever else takes long enough to freeze the window.
//
// The program has two thread mechanisms and no third:
// - this worker: one thread, tasks one at a time in the order handed over;
//   a task never touches a widget, and its result goes back by a queued
//   call on the thread of a receiver (the user-interface thread);
// - the kernel's row sharing (HelferFaden): a second thread that takes half
//   of every velocity pass, for whichever thread computes the step.
//
// A task owns what it works on (a copy, or data shared with the receiver
// that the receiver leaves alone until the task is done). A receiver that
// goes away first calls its tasks off and waits for them (Marke), so no
// result is posted to a dead object. A producer that must not run ahead,
// such as frames handed over for encoding, bounds its queue with Versuchen.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class Arbeiter {
public:
    // The work, on the worker thread; `abgebrochen` is set once the task is
    // called off, and long work looks at it now and then.
    using Arbeit = std::function<void(const std::atomic<bool>& abgebrochen)>;

    struct Aufgabe {
        Arbeit arbeit;
        // Called on `empfaenger`'s thread once the work is done, unless the
        // task was called off. Without a receiver nothing is called.
        QObject* empfaenger = nullptr;
        std::function<void()> fertig;
    };

    // A handed-over task, to look at, wait for or call off. Empty when
    // nothing was handed over.
    class Marke {
    public:
        Marke() = default;
        explicit operator bool() const { return zustand_ != nullptr; }
        // The work has run (or was skipped) and its result is posted.
        bool Fertig() const;
        // Waits until Fertig(); at once for an empty mark.
        void Abwarten() const;
        // A task not begun yet never runs; one running sees its flag set.
        // Its `fertig` is not called.
        void Abbrechen() const;

    private:
        friend class Arbeiter;
        struct Zustand {
            std::atomic<bool> abgebrochen{false};
            std::atomic<bool> fertig{false};
        };
        explicit Marke(std::shared_ptr<Zustand> zustand)
            : zustand_(std::move(zustand))
        {
        }
        std::shared_ptr<Zustand> zustand_;
    };

    Arbeiter() = default;
    // Calls off every task and waits for the one running.
    ~Arbeiter();
    Arbeiter(const Arbeiter&) = delete;
    Arbeiter& operator=(const Arbeiter&) = delete;

    // Queues the task; the thread is started on first use.
    Marke Abgeben(Aufgabe aufgabe);
    // As Abgeben, unless `hoechstens` tasks are waiting already: then nothing
    // is queued and the mark is empty.
    Marke Versuchen(Aufgabe aufgabe, std::size_t hoechstens);
    // Tasks handed over and not begun.
    std::size_t Wartend() const;

private:
    struct Eintrag {
        Aufgabe aufgabe;
        std::shared_ptr<Marke::Zustand> zustand;
    };
    Marke Einreihen(Aufgabe&& aufgabe, std::size_t hoechstens);
    void Lauf();
    static void Beenden(Marke::Zustand& zustand);

    mutable std::mutex sperre_;
    std::condition_variable signal_;
    std::deque<Eintrag> wartend_;
    bool ende_ = false;
    std::thread faden_;
};
