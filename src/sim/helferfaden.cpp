// SPDX-License-Identifier: GPL-3.0-or-later
#include "helferfaden.h"

#include "gleitkommaflags.h"

#include <algorithm>
#include <cfenv>
#include <chrono>
#include <iterator>
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

void HelferFaden::Vorbereiten(Kern kern, std::size_t zeilenProEinheit, const Zeilenauftrag& a)
{
    const std::size_t n = a.n;
    kern_ = kern;
    proEinheit_ = std::max<std::size_t>(zeilenProEinheit, 1);
    rundung_ = std::fegetround();
    einheiten_ = (n + proEinheit_ - 1) / proEinheit_;
    if (x_.size() < n) {
        for (auto* v : {&x_, &y_, &m_, &vx_, &vy_, &hx_, &hy_})
            v->resize(n);
    }
    std::copy(a.x, a.x + n, x_.begin());
    std::copy(a.y, a.y + n, y_.begin());
    std::copy(a.m, a.m + n, m_.begin());
    std::copy(a.vx, a.vx + n, vx_.begin());
    std::copy(a.vy, a.vy + n, vy_.begin());
    auftrag_ = {n, x_.data(), y_.data(), m_.data(), vx_.data(), vy_.data(), hx_.data(), hy_.data(), a.K};
    if (zustandPlatz_ < einheiten_) {
        zustand_.reset(new std::atomic<uint32_t>[einheiten_]);
        zustandPlatz_ = einheiten_;
    }
    for (std::size_t u = 0; u < einheiten_; ++u)
        zustand_[u].store(Offen, std::memory_order_relaxed);
}

bool HelferFaden::Rechnen(Kern kern, std::size_t zeilenProEinheit, const Zeilenauftrag& a, bool selbstRechnen,
                          unsigned& helferFehler, bool bremsen)
{
    // One caller at a time: a step on the run's worker thread may meet a
    // replay or an export on the user-interface thread. The later one
    // computes alone rather than wait.
    std::unique_lock<std::mutex> zugang(zugang_, std::defer_lock);
    if (selbstRechnen ? !zugang.try_lock() : (zugang.lock(), false))
        return false;
    // A helper still inside an earlier pass (busy with a unit the caller took
    // over) owns the copies until it leaves: this pass runs without it.
    if (aktiv_.load() != 0) {
        if (selbstRechnen)
            return false;
        while (aktiv_.load() != 0)
            std::this_thread::yield();
    }
    Vorbereiten(kern, zeilenProEinheit, a);
    bremsen_ = bremsen;
    // Publishes the job; a helper that entered before sees it closed and
    // leaves, one that enters later sees the whole job.
    offen_.store(true);
    generation_.fetch_add(1);
    generation_.notify_one();   // a system call only when the helper sleeps

    const Uhr::time_point beginn = Uhr::now();
    std::size_t u = 0;
    if (selbstRechnen) {
        for (uint32_t z = Offen; u < einheiten_; ++u, z = Offen) {
            if (!zustand_[u].compare_exchange_strong(z, BeimAufrufer, std::memory_order_relaxed))
                break;   // reached the helper's units
            kern(a, proEinheit_ * u, std::min(a.n, proEinheit_ * (u + 1)));
        }
    }
    const Uhr::duration proEinheit = (Uhr::now() - beginn) / std::max<std::size_t>(u, 1);
    helferFehler = Einsammeln(a, u, selbstRechnen, 2 * proEinheit + std::chrono::microseconds(2));
    offen_.store(false);
    return true;
}

// Units ab .. einheiten_ - 1 are the helper's: all delivered but perhaps the
// lowest, which it may still be working on (or not have begun, when it came
// late or not at all).
unsigned HelferFaden::Einsammeln(const Zeilenauftrag& a, std::size_t ab, bool uebernehmen, Uhr::duration geduld)
{
    unsigned fehler = KeinFehler;
    const Uhr::time_point frist = Uhr::now() + geduld;
    for (std::size_t u = ab; u < einheiten_; ++u) {
        const std::size_t von = proEinheit_ * u, bis = std::min(a.n, von + proEinheit_);
        uint32_t z = zustand_[u].load(std::memory_order_acquire);
        for (int runde = 0; z == InArbeit || (z == Offen && !uebernehmen); ++runde) {
            if (uebernehmen && runde % 16 == 15 && Uhr::now() > frist)
                break;
            if (runde < 64)
                Verschnaufen();
            else
                std::this_thread::yield();
            z = zustand_[u].load(std::memory_order_acquire);
        }
        if (z == Offen || z == InArbeit) {
            if (zustand_[u].compare_exchange_strong(z, Uebernommen, std::memory_order_acquire)) {
                kern_(a, von, bis);
                continue;
            }
            // Delivered meanwhile (a failed exchange loads the new state).
        }
        std::copy(hx_.begin() + std::ptrdiff_t(von), hx_.begin() + std::ptrdiff_t(bis), a.vxNeu + von);
        std::copy(hy_.begin() + std::ptrdiff_t(von), hy_.begin() + std::ptrdiff_t(bis), a.vyNeu + von);
        fehler |= z >> 8;
    }
    return fehler;
}

void HelferFaden::Lauf()
{
    // Jobs count from the helper's construction, not from when this thread
    // first runs: a job handed out before it got going must still be seen.
    uint32_t gesehen = 0;
    for (;;) {
        auto bis = Uhr::now() + Wachzeit;
        for (int runde = 1; generation_.load(std::memory_order_acquire) == gesehen; ++runde) {
            Verschnaufen();
            if (runde % 64 != 0)
                continue;
            if (Uhr::now() > bis) {
                generation_.wait(gesehen, std::memory_order_acquire);
                bis = Uhr::now() + Wachzeit;
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
        for (std::size_t u = einheiten_; u-- > 0;) {
            uint32_t z = Offen;
            if (!zustand_[u].compare_exchange_strong(z, InArbeit, std::memory_order_relaxed))
                break;   // reached the caller's units
            if (bremsen_)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            kern_(auftrag_, proEinheit_ * u, std::min(auftrag_.n, proEinheit_ * (u + 1)));
            // Flags per unit, taken (read and cleared): a unit taken over
            // must not pass its flags on to the next, nor may a delivered one
            // lose them.
            const unsigned fehler = FlagsNehmen();
            z = InArbeit;
            if (!zustand_[u].compare_exchange_strong(z, Fertig | (fehler << 8), std::memory_order_release,
                                                     std::memory_order_relaxed))
                break;   // taken over: it took too long
            erledigt_.fetch_add(std::min(auftrag_.n, proEinheit_ * (u + 1)) - proEinheit_ * u,
                                std::memory_order_relaxed);
        }
    }
    aktiv_.fetch_sub(1);
}
