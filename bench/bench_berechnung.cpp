// The gravity step: the program's step (velocity pass, drawing, bookkeeping)
// and the plain scalar reference loop, in pair interactions per second.
//   build/bench/plavo_bench --benchmark_filter=Berechnung

#include "sim/berechnung.h"
#include "view/bildflaeche.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A ring of bodies with small random-looking offsets, all inside the default section.
KoerperSatz Haufen(int n)
{
    KoerperSatz k(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double w = 6.283185307179586 * i / n;
        const double r = 1e11 * (0.3 + 0.6 * std::fmod(i * 0.618033988749895, 1.0));
        k[size_t(i)].X = r * std::cos(w);
        k[size_t(i)].Y = r * std::sin(w);
        k[size_t(i)].Masse = 1.0 + i % 7;
        k[size_t(i)].Vx() = -1e4 * std::sin(w);
        k[size_t(i)].Vy() = 1e4 * std::cos(w);
        k[size_t(i)].Farbe = 0x3366CC;
    }
    return k;
}

void BM_Berechnung(benchmark::State& state)
{
    const int n = int(state.range(0));
    KoerperSatz sim = Haufen(n);
    BildFlaeche flaeche;
    flaeche.GroesseSetzen(QSize(653, 532));
    flaeche.Scale(-1, -1, 1, 1);
    Rechenwerk werk;
    int32_t schrittzahl = 0;
    for (auto _ : state) {
        if (werk.Schritt(sim, 0.01, schrittzahl, flaeche) != KeinFehler) {
            state.SkipWithError("step faulted");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(n) * n);
}

void BM_BerechnungReferenz(benchmark::State& state)
{
    const int n = int(state.range(0));
    const KoerperSatz sim = Haufen(n);
    const auto un = static_cast<size_t>(n);
    std::vector<double> x(un), y(un), m(un), vx(un), vy(un);
    for (size_t i = 0; i < size_t(n); ++i) {
        x[i] = sim[i].X;
        y[i] = sim[i].Y;
        m[i] = sim[i].Masse;
        vx[i] = sim[i].Vx();
        vy[i] = sim[i].Vy();
    }
    for (auto _ : state) {
        GeschwindigkeitenReferenz(size_t(n), x.data(), y.data(), m.data(), vx.data(), vy.data(), 1e20);
        benchmark::DoNotOptimize(vx.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(n) * n);
}

}  // namespace

BENCHMARK(BM_Berechnung)->Arg(16)->Arg(64)->Arg(512)->Arg(2048)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BerechnungReferenz)->Arg(16)->Arg(64)->Arg(512)->Arg(2048)->Arg(4096)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
