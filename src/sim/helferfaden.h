// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second thread for the velocity pass, started once and kept for the whole
// run. Between passes it spins for a moment (in a replay the next step follows
// within microseconds) and then sleeps; no thread is created per step.
//
// The rows are split into units of the kernel's group of rows. The caller works through them from
// the bottom up, the helper from the top down, each claiming one unit at a
// time, until they meet; so the split adapts to how fast each thread gets on
// and there is no counter to fight over. The helper works on copies of the
// input and publishes each finished unit with its own floating-point flags;
// the caller writes straight into the result and at the end copies the
// helper's units. A unit the helper is still working on when they meet is
// waited for only about as long as a unit takes, then computed by the caller
// as well: a helper that wakes late, or is pushed off its processor by other
// programs, costs little. Results do not depend on who computes a row.

#include "sim/zeilenkern.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class HelferFaden {
public:
    using Kern = void (*)(const Zeilenauftrag& a, std::size_t von, std::size_t bis);

    // The process's helper, started on first use. Null when there is only one
    // processor or the thread could not be started.
    static HelferFaden* Instanz();

    // The pass `a` (results into vxNeu, vyNeu) with `kern` on both threads,
    // in units of `zeilenProEinheit` rows (the rows `kern` computes together).
    // With `selbstRechnen` false the caller only waits and collects (for
    // tests: every row then runs on the helper). `helferFehler` receives the
    // faults of the units the helper delivered, as SchrittFehler bits; the
    // caller's own faults, those of the units it took over included, stay in
    // its flags. False, with nothing computed, while the helper is still busy
    // with a unit of an earlier pass, or while another thread's pass holds
    // it: then the caller computes alone. `bremsen` makes the helper wait
    // before each unit (tests).
    bool Rechnen(Kern kern, std::size_t zeilenProEinheit, const Zeilenauftrag& a, bool selbstRechnen,
                 unsigned& helferFehler, bool bremsen = false);

    // Rows the helper has delivered since it started: on a machine whose
    // other processor is busy this stays well behind half.
    std::size_t ErledigteZeilen() const { return erledigt_.load(std::memory_order_relaxed); }
    // Passes handed to the helper since it started (wrapping).
    uint32_t Auftraege() const { return generation_.load(std::memory_order_relaxed); }

    HelferFaden(const HelferFaden&) = delete;
    HelferFaden& operator=(const HelferFaden&) = delete;
    ~HelferFaden();

private:
    using Uhr = std::chrono::steady_clock;

    HelferFaden();
    void Lauf();
    void Mitrechnen();
    void Vorbereiten(Kern kern, std::size_t zeilenProEinheit, const Zeilenauftrag& a);
    unsigned Einsammeln(const Zeilenauftrag& a, std::size_t ab, bool uebernehmen, Uhr::duration geduld);

    // Unit states. A delivered unit carries the helper's flags from bit 8 on.
    static constexpr uint32_t Offen = 0, BeimAufrufer = 1, InArbeit = 2, Uebernommen = 3, Fertig = 4;

    // The job. Written by the caller only while the helper is outside
    // (aktiv_ == 0, checked before), read by the helper after it saw offen_.
    Kern kern_ = nullptr;
    std::size_t proEinheit_ = 4;
    Zeilenauftrag auftrag_;   // points into the copies below, results into hx_, hy_
    std::size_t einheiten_ = 0;
    int rundung_ = 0;
    bool bremsen_ = false;
    std::vector<double> x_, y_, m_, vx_, vy_, hx_, hy_;
    std::unique_ptr<std::atomic<uint32_t>[]> zustand_;
    std::size_t zustandPlatz_ = 0;

    alignas(64) std::atomic<uint32_t> generation_{0};   // counts jobs; the helper waits on it
    std::atomic<bool> offen_{false};                    // a job is being handed out
    std::atomic<bool> ende_{false};
    alignas(64) std::atomic<int> aktiv_{0};             // helper inside a job
    std::atomic<std::size_t> erledigt_{0};
    std::mutex zugang_;                                 // held by the caller of a pass
    std::thread faden_;
};
