// Exploring the picture with many bodies, through the main window
// (offscreen unless a display is chosen):
//
//   BM_Koerperpunkte/<N>/punkte:<0,1>   repainting the whole picture after a step, without and with the dots
//   BM_Mausrad/2000_bodies_1000_steps   one wheel notch until the new section is drawn from the kept strokes
//   BM_Ziehen/<N>                       one frame of a drag: the mouse move and the repaint of the shifted picture
//
//   build/bench/plavo_ansicht_bench --benchmark_repetitions=3

#include "benchlauf.h"
#include "mainwindow/frmplavo.h"
#include "planetensystem.h"
#include "view/picplavo.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A window of the program's size with the system's bodies; `schritte` steps computed.
std::unique_ptr<FrmPlavo> Fenster(Dokument& dok, int koerper, int schritte)
{
    auto frm = std::make_unique<FrmPlavo>(dok);
    const ModPlavo system = Planetensystem(koerper);
    dok.KoerperUebernehmen(system.KoerperStart);
    dok.IntervallSetzen(system.Intervall);
    frm->show();
    QCoreApplication::processEvents();
    frm->menStart_Click();
    frm->menStop_Click();
    for (int i = 0; i < schritte; ++i)
        frm->Berechnung();
    frm->NeuzeichnungAbschliessen();
    frm->SchrittAbschliessen();
    QCoreApplication::processEvents();
    return frm;
}

void BM_Koerperpunkte(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, int(state.range(0)), 0);
    PicPlavo& pic = frm->picPlavo();
    pic.PunkteZeigen(state.range(1) != 0);
    for (auto _ : state) {
        pic.KoerperGeaendert();
        pic.repaint();
    }
    state.counters["pixels"] = double(pic.width() * pic.height());
}

void BM_Mausrad(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, 2000, 1000);
    PicPlavo& pic = frm->picPlavo();
    const QPointF stelle(pic.width() * 0.3, pic.height() * 0.6);
    int richtung = 120;
    for (auto _ : state) {
        QWheelEvent e(stelle, pic.mapToGlobal(stelle), QPoint(), QPoint(0, richtung), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&pic, &e);
        frm->NeuzeichnungAbschliessen();
        pic.repaint();
        richtung = -richtung;
    }
    if (frm->Schrittzahl() != 1000)
        state.SkipWithError("steps lost");
    state.counters["kept_MiB"] = double(frm->lauf().Speicher().Bytes()) / (1 << 20);
}

void BM_Ziehen(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, int(state.range(0)), 0);
    PicPlavo& pic = frm->picPlavo();
    const QPointF start(200, 200);
    QMouseEvent druck(QEvent::MouseButtonPress, start, pic.mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&pic, &druck);
    int dx = 0;
    for (auto _ : state) {
        dx = (dx + 7) % 300;
        const QPointF ort = start + QPointF(dx, dx / 3);
        QMouseEvent zug(QEvent::MouseMove, ort, pic.mapToGlobal(ort), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&pic, &zug);
        pic.repaint();
    }
}

}  // namespace

BENCHMARK(BM_Koerperpunkte)
    ->ArgsProduct({{2000, 32767}, {0, 1}})
    ->ArgNames({"", "punkte"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Mausrad)->Name("BM_Mausrad/2000_bodies_1000_steps")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ziehen)->Arg(2)->Arg(2000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchmarksLaufen(argc, argv);
}
