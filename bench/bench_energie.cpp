// The main window's step of 2048 bodies with the Energiebilanz window open
// and closed: the window reads the bodies on its own timer between steps and
// may cost the run at most a tenth of its speed.
//
//   BM_Energiebilanz/2048                  one update's computation alone
//   BM_SchrittMitEnergiebilanz/fenster:0   window closed
//   BM_SchrittMitEnergiebilanz/fenster:1   window open (offscreen unless a display is chosen)
//
// Every iteration is one timer tick's step followed by the events that are
// due, as the program's event loop runs them. updates counts what the energy
// window computed over the whole benchmark.
//   build/bench/plavo_energie_bench --benchmark_repetitions=3

#include "benchlauf.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/frmplavo.h"
#include "planetensystem.h"
#include "sim/aufbau.h"
#include "sim/energiebilanz.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_SchrittMitEnergiebilanz(benchmark::State& state)
{
    const bool offen = state.range(0) != 0;
    ModPlavo mod;
    FrmPlavo frm(mod);   // starts from one empty body
    const ModPlavo system = Planetensystem(2048);
    mod.KoerperStart = system.KoerperStart;
    mod.Intervall = system.Intervall;
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
    if (frm.Schrittzahl() - vorher != int32_t(state.iterations()) || mod.KoerperSim.size() != 2048)
        state.SkipWithError("steps lost");
    if (offen)
        state.counters["updates"] = double(frm.Energiefenster()->Verlauf().size());
    state.SetItemsProcessed(state.iterations() * 2048 * 2048);
}

// What one update of the window computes for n bodies, alone.
void BM_Energiebilanz(benchmark::State& state)
{
    ModPlavo mod = Planetensystem(int(state.range(0)));
    KoerperSimAufbauen(mod);
    for (auto _ : state)
        benchmark::DoNotOptimize(EnergiebilanzBerechnen(mod.KoerperSim, mod.Intervall));
}

}  // namespace

BENCHMARK(BM_Energiebilanz)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();
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
