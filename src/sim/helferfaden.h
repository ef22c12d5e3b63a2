#pragma once
// A second thread for the velocity pass, started once and kept for the whole
// run. Between passes it spins for a moment (in a replay the next step follows
// within microseconds) and then sleeps; no thread is created per step.
//
// Work is handed out in numbered blocks that both threads claim one by one,
// so a helper that wakes late (the machine is busy) costs nothing: the
// calling thread simply takes the remaining blocks itself. Results do not
// depend on who computes a block. Floating-point flags belong to a thread, so
// the helper clears and reads its own and hands them back.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

class HelferFaden {
public:
    // Computes block `block` of the job described by `auftrag`.
    using Arbeit = void (*)(const void* auftrag, std::size_t block);

    // The process's helper, started on first use. Null when there is only one
    // processor or the thread could not be started.
    static HelferFaden* Instanz();

    // Runs blocks 0 .. anzahl - 1 and returns when all are done. With
    // `selbstRechnen` false the calling thread only waits (for tests: every
    // block then runs on the helper). Returns the helper's floating-point
    // faults as SchrittFehler bits; the caller checks its own.
    unsigned Ausfuehren(Arbeit arbeit, const void* auftrag, std::size_t anzahl, bool selbstRechnen = true);

    HelferFaden(const HelferFaden&) = delete;
    HelferFaden& operator=(const HelferFaden&) = delete;
    ~HelferFaden();

private:
    HelferFaden();
    void Lauf();
    void Mitrechnen();

    // The job; written only while no helper is inside Mitrechnen (see offen_, aktiv_).
    Arbeit arbeit_ = nullptr;
    const void* auftrag_ = nullptr;
    std::size_t anzahl_ = 0;
    int rundung_ = 0;

    alignas(64) std::atomic<uint32_t> generation_{0};   // counts jobs; the helper waits on it
    std::atomic<bool> offen_{false};                    // a job is being handed out
    std::atomic<bool> ende_{false};
    alignas(64) std::atomic<std::size_t> naechster_{0}; // next unclaimed block
    alignas(64) std::atomic<int> aktiv_{0};             // helper inside the current job
    std::atomic<unsigned> fehler_{0};                   // the helper's flags for the current job
    std::thread faden_;
};
