// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of reference: what seeing the run in a frame costs.
//
//   BM_Bezugswechsel/<frame>      a change of frame after 1,000 steps of 2,000
//                                 bodies: the redraw of every kept step,
//                                 projected (aim: at most 50 ms)
//   BM_SchrittImBezug/<frame>     one step of 2,048 bodies as the run takes it,
//                                 computed and drawn in the frame (aim: at
//                                 most 10 % above fest)
//   BM_StricheImBezug/<frame>     the drawing of one step's 2,048 strokes
//                                 alone, projected
//
// <frame>: fest, schwerpunkt, koerper (the star), mitrotierend (the star
// and the first planet).
//   build/bench/plavo_bench --benchmark_filter=Bezug --benchmark_repetitions=5

#include "planetensystem.h"
#include "sim/aufbau.h"
#include "sim/lauf.h"
#include "view/bezugsprojektion.h"
#include "view/bildflaeche.h"
#include "view/laufbild.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

Bezugssystem Bezug(int art)
{
    switch (art) {
    case 1:
        return Bezugssystem::Schwerpunkt();
    case 2:
        return Bezugssystem::EinKoerper(0);
    case 3:
        return Bezugssystem::Mitrotierend(0, 1);
    default:
        return {};
    }
}

void Benennen(benchmark::State& state)
{
    static const char* const namen[] = {"fest", "schwerpunkt", "koerper", "mitrotierend"};
    state.SetLabel(namen[state.range(0)]);
}

struct BezugsLauf {
    ModPlavo mod;
    BildFlaeche flaeche;
    Arbeiter arbeiter;
    std::unique_ptr<Lauf> lauf;
    std::unique_ptr<LaufBild> bild;

    BezugsLauf(int koerper, int32_t schritte, const Bezugssystem& bezug)
        : mod(Planetensystem(koerper))
    {
        flaeche.GroesseSetzen(QSize(653, 532));
        flaeche.Scale(-1, -1, 1, 1);
        lauf = std::make_unique<Lauf>(mod, arbeiter);
        // Every step here, as a system below 3,000 bodies runs.
        lauf->NebenlaeufigAbSetzen(1u << 30);
        bild = std::make_unique<LaufBild>(*lauf, flaeche);
        bild->BezugSetzen(bezug);
        if (lauf->Starten() != KeinFehler)
            std::abort();
        for (int32_t k = 0; k < schritte; ++k)
            if (lauf->Schritt() != KeinFehler)
                std::abort();
    }
};

void BM_Bezugswechsel(benchmark::State& state)
{
    BezugsLauf l(2000, 1000, {});
    const Bezugssystem bezug = Bezug(int(state.range(0)));
    for (auto _ : state) {
        // As the window does it: the frame, then the redraw.
        l.bild->BezugSetzen(bezug);
        l.lauf->NeuzeichnenBeginnen();
        l.lauf->NeuzeichnungAbschliessen();
        if (l.lauf->Neuzeichnung().Behalten() != 1000) {
            state.SkipWithError("the run was not kept");
            break;
        }
        benchmark::DoNotOptimize(l.flaeche.Image().constBits());
    }
    Benennen(state);
}

void BM_SchrittImBezug(benchmark::State& state)
{
    BezugsLauf l(2048, 0, Bezug(int(state.range(0))));
    // Nothing kept: the record's growth is no part of a step's cost.
    l.lauf->Speicher().BudgetSetzen(0);
    l.lauf->Zuruecksetzen();
    if (l.lauf->Starten() != KeinFehler)
        std::abort();
    for (auto _ : state)
        if (l.lauf->Schritt() != KeinFehler) {
            state.SkipWithError("step faulted");
            break;
        }
    Benennen(state);
}

void BM_StricheImBezug(benchmark::State& state)
{
    Laufstand stand;
    if (KoerperSimAufbauen(Planetensystem(2048), stand) != KeinFehler)
        std::abort();
    std::vector<Strich> striche;
    for (const Koerper& k : stand.KoerperSim)
        striche.push_back({float(k.X / MeterProAE), float(k.Y / MeterProAE), float(k.Vx() / MeterProAE),
                           float(k.Vy() / MeterProAE), k.Farbe});
    BildFlaeche flaeche;
    flaeche.GroesseSetzen(QSize(653, 532));
    flaeche.Scale(-1, -1, 1, 1);
    Bezugsprojektion projektion;
    projektion.Setzen(Bezug(int(state.range(0))));
    const Bezugsprojektion::Ziel zeichnen = [&flaeche](std::span<const Strich> s) { flaeche.Striche(s); };
    for (auto _ : state)
        projektion.Schritt(striche, stand.KoerperSim, zeichnen);
    state.SetItemsProcessed(state.iterations() * int64_t(striche.size()));
    Benennen(state);
}

}  // namespace

BENCHMARK(BM_Bezugswechsel)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SchrittImBezug)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_StricheImBezug)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
