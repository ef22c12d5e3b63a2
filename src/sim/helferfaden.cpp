#include "helferfaden.h"

#include "schrittkern.h"

#include <cfenv>
#include <chrono>
#include <memory>
#include <system_error>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// How long the helper stays awake after a job, waiting for the next one.
constexpr auto Wachzeit = std::chrono::microseconds(300);

inline void Verschnaufen()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

}  // namespace

HelferFaden* HelferFaden::Instanz()
{
    static const std::unique_ptr<HelferFaden> helfer = []() -> std::unique_ptr<HelferFaden> {
        if (std::thread::hardware_concurrency() < 2)
            return nullptr;
        std::unique_ptr<HelferFaden> h(new HelferFaden);
        try {
            h->faden_ = std::thread(&HelferFaden::Lauf, h.get());
        } catch (const std::system_error&) {
            return nullptr;
        }
        return h;
    }();
    return helfer.get();
}

HelferFaden::HelferFaden() = default;

HelferFaden::~HelferFaden()
{
    if (faden_.joinable()) {
        ende_.store(true);
        generation_.fetch_add(1);
        generation_.notify_one();
        faden_.join();
    }
}

unsigned HelferFaden::Ausfuehren(Arbeit arbeit, const void* auftrag, std::size_t anzahl, bool selbstRechnen)
{
    arbeit_ = arbeit;
    auftrag_ = auftrag;
    anzahl_ = anzahl;
    rundung_ = std::fegetround();
    naechster_.store(0, std::memory_order_relaxed);
    fehler_.store(0, std::memory_order_relaxed);
    offen_.store(true);
    generation_.fetch_add(1);
    generation_.notify_one();   // a system call only when the helper sleeps

    if (selbstRechnen) {
        for (std::size_t b; (b = naechster_.fetch_add(1, std::memory_order_relaxed)) < anzahl;)
            arbeit(auftrag, b);
    } else {
        while (naechster_.load(std::memory_order_relaxed) < anzahl)
            std::this_thread::yield();
    }

    // Once closed, a helper that arrives late leaves without touching the
    // job; one that is inside is waited for. Both sides use sequentially
    // consistent operations on offen_ and aktiv_, so one of them sees the other.
    offen_.store(false);
    for (int runde = 0; aktiv_.load() != 0; ++runde) {
        if (runde < 64)
            Verschnaufen();
        else
            std::this_thread::yield();
    }
    return fehler_.load(std::memory_order_acquire);
}

void HelferFaden::Lauf()
{
    // Jobs count from the helper's construction, not from when this thread
    // first runs: a job handed out before it got going must still be seen.
    uint32_t gesehen = 0;
    for (;;) {
        auto bis = std::chrono::steady_clock::now() + Wachzeit;
        for (int runde = 1; generation_.load(std::memory_order_acquire) == gesehen; ++runde) {
            Verschnaufen();
            if (runde % 64 != 0)
                continue;
            if (std::chrono::steady_clock::now() > bis) {
                generation_.wait(gesehen, std::memory_order_acquire);
                bis = std::chrono::steady_clock::now() + Wachzeit;
            } else {
                // On a busy machine the caller may be waiting for this very processor.
                std::this_thread::yield();
            }
        }
        gesehen = generation_.load(std::memory_order_acquire);
        if (ende_.load())
            return;
        Mitrechnen();
    }
}

void HelferFaden::Mitrechnen()
{
    aktiv_.fetch_add(1);
    if (offen_.load()) {
        if (std::fegetround() != rundung_)
            std::fesetround(rundung_);
        FlagsLoeschen();
        const std::size_t anzahl = anzahl_;
        for (std::size_t b; (b = naechster_.fetch_add(1, std::memory_order_relaxed)) < anzahl;)
            arbeit_(auftrag_, b);
        fehler_.fetch_or(FlagsAlsFehler(), std::memory_order_relaxed);
    }
    aktiv_.fetch_sub(1);
}
