// SPDX-License-Identifier: GPL-3.0-or-later
#include "kernwahl.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

constexpr Zeilenkern Skalar{&ZeilenSkalar, 4, Befehlssatz::Skalar};   // four rows a unit, as AVX2
// The AVX2 kernel works in groups of four rows, the AVX-512 one in sixteen.
constexpr Zeilenkern Avx2{&ZeilenAvx2, 4, Befehlssatz::Avx2, MindestzahlFuerZweiFaeden, &ZeilenAvx2Klein};
// A pass this fast is over before a woken helper has joined in below about a
// hundred bodies (measured: one thread as fast as two at 100).
constexpr Zeilenkern Avx512{&ZeilenAvx512, 16, Befehlssatz::Avx512, 128, &ZeilenAvx512Klein};

// The shortest of several runs of each kernel over a pass of 64 scattered
// bodies, the size of the larger example systems; the runs of the kernels
// alternate, so that a burst of other work on the machine hits them alike.
Befehlssatz Messen()
{
    constexpr std::size_t n = 64;
    std::vector<double> x(n), y(n), m(n), vx(n), vy(n), nx(n), ny(n);
    uint64_t z = 0x9E3779B97F4A7C15ull;
    auto zufall = [&z] {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        return double(z >> 11) * 0x1p-53;
    };
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = (zufall() - 0.5) * 3e11;
        y[i] = (zufall() - 0.5) * 3e11;
        m[i] = zufall();
        vx[i] = (zufall() - 0.5) * 1e9;
        vy[i] = (zufall() - 0.5) * 1e9;
    }
    const Zeilenauftrag a{n, x.data(), y.data(), m.data(), vx.data(), vy.data(), nx.data(), ny.data(), 5e23};

    std::vector<Zeilenkern> kandidaten{Skalar};
    if (Avx2Verfuegbar())
        kandidaten.push_back(Avx2);
    if (Avx512Verfuegbar())
        kandidaten.push_back(Avx512);
    if (kandidaten.size() == 1)
        return Befehlssatz::Skalar;

    using Uhr = std::chrono::steady_clock;
    std::vector<Uhr::duration> bestzeit(kandidaten.size(), Uhr::duration::max());
    for (int runde = 0; runde < 12; ++runde) {
        for (std::size_t k = 0; k < kandidaten.size(); ++k) {
            const Uhr::time_point beginn = Uhr::now();
            kandidaten[k].lauf(a, 0, n);
            bestzeit[k] = std::min(bestzeit[k], Uhr::now() - beginn);
        }
    }
    // A wider set must win clearly: where it only draws level, its lower
    // clock on some processors slows the rest of the program down.
    std::size_t best = 0;
    for (std::size_t k = 1; k < kandidaten.size(); ++k) {
        if (bestzeit[k] < bestzeit[best] * 9 / 10)
            best = k;
    }
    return kandidaten[best].satz;
}

std::atomic<Befehlssatz> erzwungen{Befehlssatz::Automatisch};

}  // namespace

bool BefehlssatzVerfuegbar(Befehlssatz satz)
{
    switch (satz) {
    case Befehlssatz::Avx2:
        return Avx2Verfuegbar();
    case Befehlssatz::Avx512:
        return Avx512Verfuegbar();
    default:
        return true;
    }
}

Befehlssatz GewaehlterBefehlssatz()
{
    static const Befehlssatz gewaehlt = [] {
        // The first step measures here, between clearing its flags and
        // reading them. Saving the flags as one set would merge the x87 ones
        // (left by a library's long double arithmetic) into the SSE flags the
        // step reads, and report a fault that never happened: keep both whole.
        std::fenv_t umgebung;
        std::fegetenv(&umgebung);
        const Befehlssatz s = Messen();
        std::fesetenv(&umgebung);
        return s;
    }();
    return gewaehlt;
}

void BefehlssatzErzwingen(Befehlssatz satz)
{
    erzwungen.store(satz, std::memory_order_relaxed);
}

Zeilenkern KernFuer(Befehlssatz satz)
{
    if (satz == Befehlssatz::Automatisch)
        satz = erzwungen.load(std::memory_order_relaxed);
    if (satz == Befehlssatz::Automatisch)
        satz = GewaehlterBefehlssatz();
    if (satz == Befehlssatz::Avx512 && Avx512Verfuegbar())
        return Avx512;
    if (satz != Befehlssatz::Skalar && Avx2Verfuegbar())
        return Avx2;
    return Skalar;
}
