// SPDX-License-Identifier: GPL-3.0-or-later
// The table window with the most bodies it holds: showing it (filling the
// grid, showing and painting the window) and committing it with OK.
//   QT_QPA_PLATFORM=offscreen build/bench/plavo_tabelle_bench

#include "benchlauf.h"
#include "model/modplavo.h"
#include "table/frmtabelle.h"
#include "table/gitter.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// Answers nothing: the benchmarks open no box.
class KeineRueckfragen : public Rueckfragen {
public:
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return {}; }
    MsgAntwort MsgBox(const QString&, const QString&, MsgKnoepfe, MsgSymbol) override { return MsgAntwort::OK; }
};

class KeinDialog : public Standarddialog {
public:
    bool ShowOpen() override { return false; }
    bool ShowSave() override { return false; }
    bool ShowColor() override { return false; }
    bool ShowPrinter() override { return false; }
    QPrinter* Printer() override { return nullptr; }
};

// n bodies whose numbers need all 15 digits.
KoerperSatz VieleKoerper(int n)
{
    KoerperSatz satz(size_t(n), Koerper{});
    for (int i = 0; i < n; ++i) {
        Koerper& k = satz[size_t(i)];
        k.NameSetzen(QStringLiteral("K%1").arg(i + 1));
        k.Masse = 1.0 / 3.0 * (i + 1);
        k.X = 1.5e11 * std::cos(i * 0.001);
        k.Y = 1.5e11 * std::sin(i * 0.001);
        k.Geschwindigkeit = 29780.123456789;
        k.Richtung = std::fmod(i * 0.7, 360.0);
        k.Farbe = int32_t(0x102030 + i);
    }
    return satz;
}

void Zeichnen(FrmTabelle& fenster)
{
    fenster.show();
    fenster.repaint();
    QApplication::processEvents();
}

// A saved document of n such bodies.
struct Umgebung {
    Dokument dok;
    KeineRueckfragen rueckfragen;
    KeinDialog dialog;
    explicit Umgebung(int n) { dok.Laden(QStringLiteral("/tmp/viele.plv"), VieleKoerper(n)); }
};

// First showing: the window is created and loaded, then filled and painted.
void BM_TabelleErstesZeigen(benchmark::State& state)
{
    Umgebung u(int(state.range(0)));
    for (auto _ : state) {
        auto fenster = std::make_unique<FrmTabelle>(u.dok, u.rueckfragen, u.dialog, nullptr);
        fenster->Form_Load();
        fenster->Form_Activate();
        Zeichnen(*fenster);
        state.PauseTiming();
        fenster.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// A later showing of the hidden window, which was left with one row.
void BM_TabelleWiederZeigen(benchmark::State& state)
{
    Umgebung u(int(state.range(0)));
    FrmTabelle fenster(u.dok, u.rueckfragen, u.dialog, nullptr);
    fenster.Form_Load();
    for (auto _ : state) {
        state.PauseTiming();
        fenster.hide();
        fenster.fgrKoerper().RowsSetzen(2);
        QApplication::processEvents();
        state.ResumeTiming();
        fenster.Form_Activate();
        Zeichnen(fenster);
    }
}

// OK on the shown, filled window: check, convert, write back, hide.
void BM_TabelleOK(benchmark::State& state)
{
    Umgebung u(int(state.range(0)));
    FrmTabelle fenster(u.dok, u.rueckfragen, u.dialog, nullptr);
    fenster.Form_Load();
    for (auto _ : state) {
        state.PauseTiming();
        fenster.fgrKoerper().RowsSetzen(2);
        fenster.Form_Activate();
        fenster.fgrKoerper().RowSetzen(1);
        Zeichnen(fenster);
        state.ResumeTiming();
        fenster.cmdOK_Click();
        QApplication::processEvents();
    }
    if (u.dok.Daten().KoerperStart.size() != size_t(state.range(0)) || fenster.isVisible())
        state.SkipWithError("OK did not commit");
}

}  // namespace

// With 2 bodies for comparison: what the largest table adds is what users wait for.
BENCHMARK(BM_TabelleErstesZeigen)->Arg(2)->Arg(MaxKoerper)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TabelleWiederZeigen)->Arg(MaxKoerper)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TabelleOK)->Arg(MaxKoerper)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchmarksLaufen(argc, argv);
}
