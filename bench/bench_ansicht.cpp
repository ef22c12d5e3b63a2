// SPDX-License-Identifier: GPL-3.0-or-later
// Exploring the picture with many bodies, through the main window
// (offscreen unless a display is chosen):
//
//   BM_Koerperpunkte/<N>/punkte:<0,1>   repainting the whole picture after a step, without and with the dots
//   BM_Mausrad/2000_bodies_1000_steps   one wheel notch until the new section is drawn from the kept strokes
//   BM_Ziehen/<N>                       one frame of a drag: the mouse move and the repaint of the shifted picture
//   BM_Treffer/<N>                      finding the body under the mouse (one mouse move)
//   BM_Pfeile/<N>/art:<0,1,2>           repainting after a step with no arrows, velocity arrows, both kinds
//   BM_KoerperZiehen/<N>                one frame of moving a body: the mouse move and the repaint
//
//   build/bench/plavo_ansicht_bench --benchmark_repetitions=3

#include "benchlauf.h"
#include "mainwindow/frmplavo.h"
#include "planetensystem.h"
#include "view/koerperpunkte.h"
#include "view/picplavo.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

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
    // The section, never a body under the mouse.
    frm->Menue(QStringLiteral("menSperren"))->trigger();
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

void BM_Treffer(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, int(state.range(0)), 0);
    PicPlavo& pic = frm->picPlavo();
    Koerperpunkte punkte;
    punkte.Berechnen(frm->lauf().Jetzt(), pic.Flaeche(), pic.devicePixelRatioF(), false);
    std::mt19937 zufall(1);
    std::size_t gefunden = 0;
    for (auto _ : state) {
        const QPointF stelle(double(zufall() % unsigned(pic.width())), double(zufall() % unsigned(pic.height())));
        gefunden += punkte.AnzahlBei(stelle) > 0;
        benchmark::DoNotOptimize(punkte.Bei(stelle));
    }
    state.counters["hits"] = benchmark::Counter(double(gefunden), benchmark::Counter::kAvgIterations);
}

void BM_Pfeile(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, int(state.range(0)), 1);
    PicPlavo& pic = frm->picPlavo();
    if (state.range(1) >= 1)
        frm->Menue(QStringLiteral("menGeschwindigkeiten"))->trigger();
    if (state.range(1) >= 2)
        frm->Menue(QStringLiteral("menBeschleunigungen"))->trigger();
    for (auto _ : state) {
        pic.KoerperGeaendert();
        pic.repaint();
    }
}

void BM_KoerperZiehen(benchmark::State& state)
{
    Dokument dok;
    auto frm = Fenster(dok, int(state.range(0)), 0);
    PicPlavo& pic = frm->picPlavo();
    // The first body whose dot is in the picture.
    const Bildabbildung abb = frm->Abbildung();
    QPointF start;
    for (const Koerper& k : frm->lauf().Jetzt()) {
        start = abb.Pixel({k.X, k.Y});
        if (QRectF(pic.rect()).adjusted(50, 50, -50, -50).contains(start))
            break;
    }
    QMouseEvent druck(QEvent::MouseButtonPress, start, pic.mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&pic, &druck);
    int dx = 20;
    for (auto _ : state) {
        dx = 20 + (dx + 7) % 100;
        const QPointF ort = start + QPointF(dx, dx / 3);
        QMouseEvent zug(QEvent::MouseMove, ort, pic.mapToGlobal(ort), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&pic, &zug);
        pic.repaint();
    }
    if (!pic.Greift())
        state.SkipWithError("no body grabbed");
}

}  // namespace

BENCHMARK(BM_Treffer)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Pfeile)
    ->ArgsProduct({{32767}, {0, 1, 2}})
    ->ArgNames({"", "art"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_KoerperZiehen)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();
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
