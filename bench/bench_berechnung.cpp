// SPDX-License-Identifier: GPL-3.0-or-later
// The gravity step and the scene redraw.
//
//   BM_Berechnung/<N>            the program's step (velocity pass, drawing, bookkeeping)
//   BM_BerechnungReferenz/<N>    the literal scalar velocity loop
//   BM_Berechnung/<kernel>/<N>   the step with a forced kernel
//   BM_Geschwindigkeiten/n:<N>/<kernel>/threads:<1,2>   the pass alone with a
//                                forced kernel (scalar, avx2, avx512: those the
//                                processor has) and sharing (one thread or two)
//   BM_Decke/<bits>              two divisions and a root per pair and nothing
//                                else, on both processors: what the divider
//                                allows, the ceiling of the pass
//   BM_Neuzeichnen/<case>        a redraw that replays a whole run, drawing included
//   BM_NeuzeichnenBehalten/<case>  the same redraw from the strokes the run kept
//   BM_Striche/<N>               the drawing of one step's N strokes alone
//   BM_Bahndaten/<case>          the orbit data export: replay and rows, no file
//
// items_per_second counts ordered pairs (N * N per step). helper_share is the
// part of the velocity pass the helper thread computed: near 0.5 when the
// second processor was free, lower when other programs kept it busy.
//   build/bench/plavo_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "benchlauf.h"
#include "mainwindow/titel.h"
#include "planetensystem.h"
#include "sim/aufbau.h"
#include "sim/bahnwiedergabe.h"
#include "sim/berechnung.h"
#include "sim/helferfaden.h"
#include "sim/kernwahl.h"
#include "sim/lauf.h"
#include "view/bildflaeche.h"
#include "view/laufbild.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <thread>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

// The run of Planetensystem(n) at step 0, as a step sees it.
Laufstand Arbeitsstand(int n)
{
    Laufstand stand;
    if (KoerperSimAufbauen(Planetensystem(n), stand) != KeinFehler)
        std::abort();
    return stand;
}

void PaareZaehlen(benchmark::State& state, int64_t n)
{
    state.SetItemsProcessed(state.iterations() * n * n);
}

// Counts the rows the helper computed over a benchmark.
struct HelferAnteil {
    std::size_t vorher = HelferFaden::Instanz() ? HelferFaden::Instanz()->ErledigteZeilen() : 0;

    void Melden(benchmark::State& state, int64_t n, int64_t paesse) const
    {
        if (!HelferFaden::Instanz() || paesse == 0)
            return;
        state.counters["helper_share"] =
            double(HelferFaden::Instanz()->ErledigteZeilen() - vorher) / double(paesse * n);
    }
};

void Schritte(benchmark::State& state, Befehlssatz satz)
{
    BefehlssatzErzwingen(satz);
    const int n = int(state.range(0));
    Laufstand stand = Arbeitsstand(n);
    BildFlaeche flaeche;
    flaeche.GroesseSetzen(QSize(653, 532));
    flaeche.Scale(-1, -1, 1, 1);
    Rechenwerk werk;
    const HelferAnteil anteil;
    for (auto _ : state) {
        // The step and the drawing of what it gave back, as the picture draws it.
        const Schrittergebnis e = werk.Schritt(stand);
        if (e.fehler != KeinFehler) {
            state.SkipWithError("step faulted");
            break;
        }
        flaeche.Striche(e.striche);
    }
    const bool geteilt = std::size_t(n) >= KernFuer(Befehlssatz::Automatisch).zweiFaedenAb;
    BefehlssatzErzwingen(Befehlssatz::Automatisch);
    PaareZaehlen(state, n);
    anteil.Melden(state, n, geteilt ? int64_t(state.iterations()) : 0);
}

void BM_Berechnung(benchmark::State& state)
{
    Schritte(state, Befehlssatz::Automatisch);
}

struct Felder {
    std::vector<double> x, y, m, vx, vy;

    explicit Felder(int n)
    {
        for (const Koerper& k : Arbeitsstand(n).KoerperSim) {
            x.push_back(k.X);
            y.push_back(k.Y);
            m.push_back(k.Masse);
            vx.push_back(k.Vx());
            vy.push_back(k.Vy());
        }
    }
};

// K of a step of Intervall days.
constexpr double KSchritt = (Intervall * 86400.0) * (Intervall * 86400.0) * GravitationsParameter;

void BM_BerechnungReferenz(benchmark::State& state)
{
    const int n = int(state.range(0));
    Felder f(n);
    for (auto _ : state) {
        GeschwindigkeitenReferenz(size_t(n), f.x.data(), f.y.data(), f.m.data(), f.vx.data(), f.vy.data(),
                                  KSchritt);
        benchmark::DoNotOptimize(f.vx.data());
        benchmark::ClobberMemory();
    }
    PaareZaehlen(state, n);
}

void BM_Geschwindigkeiten(benchmark::State& state, Befehlssatz satz)
{
    const int n = int(state.range(0));
    const Aufteilung aufteilung = state.range(1) == 2 ? Aufteilung::Geteilt : Aufteilung::Allein;
    Felder f(n);
    const HelferAnteil anteil;
    for (auto _ : state) {
        GeschwindigkeitenMit(satz, aufteilung, size_t(n), f.x.data(), f.y.data(), f.m.data(), f.vx.data(),
                             f.vy.data(), KSchritt);
        benchmark::ClobberMemory();
    }
    PaareZaehlen(state, n);
    anteil.Melden(state, n, aufteilung == Aufteilung::Geteilt ? int64_t(state.iterations()) : 0);
}

#if defined(__x86_64__) && defined(__GNUC__)

// Two divisions and a square root per pair, on every lane, in eight
// independent chains, and nothing else: no loads, no sums that the divider
// would wait for. Returns a lane so that nothing is left out.
#define PLAVO_TEILEN(V, alle, durch, wurzel)                                                                   \
    V a[8];                                                                                                  \
    const V b = alle(1.0000001), c = alle(0.9999999);                                                        \
    for (int k = 0; k < 8; ++k)                                                                              \
        a[k] = alle(1.0 + k);                                                                                \
    for (std::size_t r = 0; r < runden; ++r) {                                                               \
        for (int k = 0; k < 8; ++k)                                                                          \
            a[k] = durch(durch(wurzel(a[k]), b), c);                                                         \
    }                                                                                                        \
    double summe = 0;                                                                                        \
    for (int k = 0; k < 8; ++k) {                                                                            \
        double e[sizeof(V) / sizeof(double)];                                                                \
        std::memcpy(e, &a[k], sizeof e);                                                                     \
        summe += e[0];                                                                                       \
    }                                                                                                        \
    return summe;

__attribute__((target("avx2"))) double Teilen256(std::size_t runden)
{
    PLAVO_TEILEN(__m256d, _mm256_set1_pd, _mm256_div_pd, _mm256_sqrt_pd)
}

// GCC 12's _mm512_sqrt_pd passes an undefined vector along, and warns of it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
__attribute__((target("avx512f"))) double Teilen512(std::size_t runden)
{
    PLAVO_TEILEN(__m512d, _mm512_set1_pd, _mm512_div_pd, _mm512_sqrt_pd)
}
#pragma GCC diagnostic pop

#undef PLAVO_TEILEN

// items_per_second: pairs (lanes times rounds), both processors busy as in
// a shared pass.
void BM_Decke(benchmark::State& state)
{
    const int bits = int(state.range(0));
    constexpr std::size_t runden = 1 << 16;
    auto lauf = [bits] { return bits == 512 ? Teilen512(runden) : Teilen256(runden); };
    for (auto _ : state) {
        double zweiter = 0;
        std::thread t([&] { zweiter = lauf(); });
        const double erster = lauf();
        t.join();
        benchmark::DoNotOptimize(erster + zweiter);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(2 * runden * 8 * (bits / 64)));
}

#endif

// A run of n bodies after some steps, its strokes kept within a budget, and
// the scene redraw as the main window has it done after a resize: clear, the
// default section, the run's replay, then the caption once.
struct Gelaufen {
    ModPlavo mod;
    BildFlaeche flaeche;
    Arbeiter arbeiter;
    std::unique_ptr<Lauf> lauf;
    std::unique_ptr<LaufBild> zeichnen;
    QString titel;

    Gelaufen(int koerper, int32_t schritte, std::size_t budget)
        : mod(Planetensystem(koerper))
    {
        flaeche.GroesseSetzen(QSize(653, 532));
        flaeche.Scale(-1, -1, 1, 1);
        lauf = std::make_unique<Lauf>(mod, arbeiter, budget);
        zeichnen = std::make_unique<LaufBild>(*lauf, flaeche);
        if (lauf->Starten() != KeinFehler)
            std::abort();
        for (int32_t k = 0; k < schritte; ++k)
            if (lauf->Schritt() != KeinFehler)
                std::abort();
    }
    bool Neuzeichnen()
    {
        flaeche.Scale(-1, -1, 1, 1);
        lauf->NeuzeichnenBeginnen();
        lauf->NeuzeichnungAbschliessen();
        titel = TitelText(lauf->Schrittzahl(), mod.Intervall, mod.DateiName);
        return lauf->Neuzeichnung().Fehler() == KeinFehler;
    }
};

// Nothing kept: every step computed again.
void BM_Neuzeichnen(benchmark::State& state, int koerper, int32_t schritte)
{
    Gelaufen g(koerper, schritte, 0);
    const HelferAnteil anteil;
    for (auto _ : state) {
        if (!g.Neuzeichnen() || g.lauf->Schrittzahl() != schritte) {
            state.SkipWithError("the replay faulted");
            break;
        }
        benchmark::DoNotOptimize(g.flaeche.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(schritte) * koerper * koerper);
    anteil.Melden(state, koerper,
                  std::size_t(koerper) >= KernFuer(Befehlssatz::Automatisch).zweiFaedenAb
                      ? int64_t(state.iterations()) * schritte : 0);
}

// The redraw after a run whose strokes were kept: the kept strokes drawn,
// nothing left to compute. kept_MiB is the memory the run's strokes take.
void BM_NeuzeichnenBehalten(benchmark::State& state, int koerper, int32_t schritte)
{
    Gelaufen g(koerper, schritte, Strichspeicher::StandardBudget());
    for (auto _ : state) {
        if (!g.Neuzeichnen() || g.lauf->Neuzeichnung().Behalten() != schritte) {
            state.SkipWithError("the run was not kept");
            break;
        }
        benchmark::DoNotOptimize(g.flaeche.Image().constBits());
    }
    state.counters["kept_MiB"] = double(g.lauf->Speicher().Bytes()) / (1 << 20);
}

// The drawing alone: the strokes of one step of Planetensystem(n) on the
// default section, drawn again and again; items_per_second counts strokes.
void BM_Striche(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::vector<Strich> striche;
    for (const Koerper& k : Arbeitsstand(n).KoerperSim)
        striche.push_back({float(k.X / MeterProAE), float(k.Y / MeterProAE), float(k.Vx() / MeterProAE),
                           float(k.Vy() / MeterProAE), k.Farbe});
    BildFlaeche flaeche;
    flaeche.GroesseSetzen(QSize(653, 532));
    flaeche.Scale(-1, -1, 1, 1);
    for (auto _ : state)
        flaeche.Striche(striche);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_Berechnung)->Arg(16)->Arg(64)->Arg(512)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BerechnungReferenz)->Arg(16)->Arg(64)->Arg(512)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond)->UseRealTime();

#if defined(__x86_64__) && defined(__GNUC__)
BENCHMARK(BM_Decke)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

BENCHMARK(BM_Striche)->Arg(512)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_Neuzeichnen, 10_bodies_100000_steps, 10, 100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Neuzeichnen, 100_bodies_10000_steps, 100, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Neuzeichnen, 2000_bodies_1000_steps, 2000, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Neuzeichnen, 10_bodies_10000_steps, 10, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Neuzeichnen, 500_bodies_1000_steps, 500, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NeuzeichnenBehalten, 10_bodies_100000_steps, 10, 100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NeuzeichnenBehalten, 100_bodies_10000_steps, 100, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NeuzeichnenBehalten, 2000_bodies_1000_steps, 2000, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NeuzeichnenBehalten, 10_bodies_10000_steps, 10, 10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NeuzeichnenBehalten, 500_bodies_1000_steps, 500, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {
// What the orbit data export computes and formats, every step a row per body.
void BM_Bahndaten(benchmark::State& state, int koerper, int32_t schritte)
{
    const ModPlavo mod = Planetensystem(koerper);
    size_t bytes = 0;
    for (auto _ : state) {
        Bahnwiedergabe wiedergabe(mod, schritte, 1, BahndatenFormat{});
        std::string text;
        wiedergabe.Beginnen(text);
        while (!wiedergabe.Fertig()) {
            wiedergabe.Weiter(text, 1000);
            bytes += text.size();
            text.clear();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(int64_t(bytes));
    state.counters["rows_per_second"] =
        benchmark::Counter(double(state.iterations()) * koerper * (schritte + 1), benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK_CAPTURE(BM_Bahndaten, 10_bodies_100000_steps, 10, 100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Bahndaten, 100_bodies_1000_steps, 100, 1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The kernels this processor can run, and the choice the program made.
int main(int argc, char** argv)
{
    const struct {
        Befehlssatz satz;
        const char* name;
    } saetze[] = {{Befehlssatz::Skalar, "scalar"}, {Befehlssatz::Avx2, "avx2"}, {Befehlssatz::Avx512, "avx512"}};
    for (const auto& s : saetze) {
        if (!BefehlssatzVerfuegbar(s.satz))
            continue;
        if (s.satz == GewaehlterBefehlssatz())
            benchmark::AddCustomContext("kernel", s.name);
        benchmark::RegisterBenchmark((std::string("BM_Berechnung/") + s.name).c_str(), Schritte, s.satz)
            ->Arg(16)
            ->Arg(64)
            ->Arg(512)
            ->Arg(2048)
            ->Arg(8192)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("BM_Geschwindigkeiten/") + s.name).c_str(), BM_Geschwindigkeiten,
                                     s.satz)
            ->ArgsProduct({{10, 16, 40, 64, 100, 512, 2048}, {1, 2}})
            ->ArgNames({"n", "threads"})
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
    }
    return BenchmarksLaufen(argc, argv);
}
