// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's step of 2048 bodies with the Energiebilanz window open
// and closed: the window reads the bodies on its own timer between steps and
// may cost the run at most a tenth of its speed.
//
//   BM_EnergiebilanzSchlicht/<N>           one update's computation, the plain loop over pairs
//   BM_Energiebilanz/<N>                   the same with the program's pair sum
//   BM_Energiefenster/32767                one update of the window, from the tick that
//                                          reads the bodies to the result shown
//   BM_SchrittMitEnergiebilanz/fenster:0   window closed
//   BM_SchrittMitEnergiebilanz/fenster:1   window open (offscreen unless a display is chosen)
//
// BM_Energiefenster's longest_block_ms is the longest the user-interface
// thread was busy at a stretch in any update: the tick that compares and
// copies the bodies, or an event-loop pass that shows the result and paints.
// Its time per iteration is how long the user waits for a new balance.
//
// Every iteration of BM_SchrittMitEnergiebilanz is one timer tick's step
// followed by the events that are due, as the program's event loop runs them.
// updates counts what the energy window computed over the whole benchmark.
//   build/bench/plavo_energie_bench --benchmark_repetitions=3

#include "benchlauf.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/frmplavo.h"
#include "planetensystem.h"
#include "sim/aufbau.h"
#include "sim/energiebilanz.h"
#include "sim/lauf.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace {

void BM_SchrittMitEnergiebilanz(benchmark::State& state)
{
    const bool offen = state.range(0) != 0;
    Dokument dok;
    FrmPlavo frm(dok);   // starts from one empty body
    const ModPlavo system = Planetensystem(2048);
    dok.KoerperUebernehmen(system.KoerperStart);
    dok.IntervallSetzen(system.Intervall);
    frm.show();
    frm.menStart_Click();   // builds the working set
    frm.menStop_Click();    // the benchmark is the timer
    if (offen)
        frm.menEnergie_Click();
    QCoreApplication::processEvents();
    const int32_t vorher = frm.Schrittzahl();
    for (auto _ : state) {
        if (!frm.Berechnung()) {
            state.SkipWithError("step faulted");
            break;
        }
        QCoreApplication::processEvents();
    }
    if (frm.Schrittzahl() - vorher != int32_t(state.iterations()) || frm.lauf().Stand().KoerperSim.size() != 2048)
        state.SkipWithError("steps lost");
    if (offen)
        state.counters["updates"] = double(frm.Energiefenster()->Verlauf().size());
    state.SetItemsProcessed(state.iterations() * 2048 * 2048);
}

// The balance as the window computed it before the pair sum had vector
// versions: the plain loop over the bodies, kept here as the yardstick.
Energiebilanz Schlicht(const KoerperSatz& sim, double intervall)
{
    Energiebilanz b;
    const double sekunden = intervall * 86400.0;
    const size_t n = sim.size();
    for (const Koerper& k : sim) {
        const double m = k.Masse * KilogrammProMasse;
        const double vx = k.Vx() / sekunden, vy = k.Vy() / sekunden;
        b.Kinetisch += 0.5 * m * (vx * vx + vy * vy);
        b.ImpulsX += m * vx;
        b.ImpulsY += m * vy;
        b.Drehimpuls += m * (k.X * vy - k.Y * vx);
    }
    for (size_t i = 0; i + 1 < n; ++i) {
        const double xi = sim[i].X, yi = sim[i].Y;
        double summe = 0;
        for (size_t j = i + 1; j < n; ++j) {
            const double dx = sim[j].X - xi, dy = sim[j].Y - yi;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 0)
                summe += sim[j].Masse / r;
        }
        b.Potentiell -= GravitationsParameter * KilogrammProMasse * sim[i].Masse * summe;
    }
    b.Gesamt = b.Kinetisch + b.Potentiell;
    return b;
}

void BM_EnergiebilanzSchlicht(benchmark::State& state)
{
    Laufstand mod;
    KoerperSimAufbauen(Planetensystem(int(state.range(0))), mod);
    for (auto _ : state)
        benchmark::DoNotOptimize(Schlicht(mod.KoerperSim, mod.Intervall));
    state.SetItemsProcessed(state.iterations() * state.range(0) * (state.range(0) - 1) / 2);
}

// What one update of the window computes for n bodies, alone.
void BM_Energiebilanz(benchmark::State& state)
{
    Laufstand mod;
    KoerperSimAufbauen(Planetensystem(int(state.range(0))), mod);
    const Energiebilanz schlicht = Schlicht(mod.KoerperSim, mod.Intervall);
    for (auto _ : state)
        benchmark::DoNotOptimize(EnergiebilanzBerechnen(mod.KoerperSim, mod.Intervall));
    const double gesamt = EnergiebilanzBerechnen(mod.KoerperSim, mod.Intervall).Gesamt;
    state.counters["rel_to_plain"] = std::abs(gesamt - schlicht.Gesamt) / std::abs(schlicht.Gesamt);
    state.SetItemsProcessed(state.iterations() * state.range(0) * (state.range(0) - 1) / 2);
}

// The window on its own, following a run of n bodies that takes a step
// (not timed) before every update.
void BM_Energiefenster(benchmark::State& state)
{
    using Uhr = std::chrono::steady_clock;
    const ModPlavo mod = Planetensystem(int(state.range(0)));
    Arbeiter arbeiter;
    Lauf lauf(mod, arbeiter);
    lauf.Starten();
    lauf.Schritt();
    FrmEnergie fenster(lauf, arbeiter, nullptr);
    fenster.show();   // computes the start balance and the first one
    fenster.AufErgebnisWarten();
    QCoreApplication::processEvents();
    Uhr::duration laengste{};
    const auto messen = [&laengste](auto&& arbeit) {
        const Uhr::time_point beginn = Uhr::now();
        arbeit();
        laengste = std::max(laengste, Uhr::now() - beginn);
    };
    for (auto _ : state) {
        state.PauseTiming();
        lauf.Schritt();
        state.ResumeTiming();
        messen([&] { fenster.Aktualisieren(); });
        while (fenster.Verlauf().back().schritt != lauf.Schrittzahl()) {
            // A moment's wait between looks, as an idle event loop would sleep.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            messen([] { QCoreApplication::processEvents(); });
        }
    }
    state.counters["longest_block_ms"] = std::chrono::duration<double, std::milli>(laengste).count();
}

}  // namespace

BENCHMARK(BM_EnergiebilanzSchlicht)->Arg(2048)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Energiebilanz)->Arg(2048)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Energiefenster)->Arg(32767)->MinTime(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SchrittMitEnergiebilanz)
    ->ArgName("fenster")->Arg(0)->Arg(1)
    ->MinTime(10)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchmarksLaufen(argc, argv);
}
