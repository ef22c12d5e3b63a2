// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The energy balance window: kinetic, potential and total energy, momentum
// and angular momentum of the bodies at the current step, and how far the
// total energy has moved since step 0, with a plot over the steps.
//
// Modeless and owned by the main window. While it is shown it follows what
// the run announces, at most ten times a second: a change that comes sooner
// waits for its turn, and many changes make one update. The sum over pairs
// takes n^2 / 2 roots and quotients (a third of a second at 32,767 bodies):
// beyond a few milliseconds' worth the window copies the bodies and hands
// the computation to the worker, one at a time, and shows the result when it
// comes back; until then it shows the previous one.

#include "model/modplavo.h"
#include "sim/arbeiter.h"
#include "sim/energiebilanz.h"
#include "sim/laufstand.h"
#include "sim/lauf.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QValueAxis;

class FrmEnergie : public QWidget {
    Q_OBJECT
public:
    // Large systems' balances are computed on `arbeiter`.
    FrmEnergie(const Lauf& lauf, Arbeiter& arbeiter, QWidget* owner);
    // Calls off a computation in flight and waits for it: it stops within a
    // few milliseconds.
    ~FrmEnergie() override;

    // Reads the run and shows its balance now; does nothing when the run
    // announced no change since the last shown balance, or while a
    // computation is in flight. A small system's balance is shown before
    // this returns, a large one's later, from the event loop.
    void Aktualisieren();

    // Whether a computation runs on the worker.
    bool Rechnet() const { return auftrag_ != nullptr; }
    // Waits for the computation in flight, if any, and shows its result
    // (tests and benchmarks).
    void AufErgebnisWarten();

    // Whether it follows the run (while shown).
    bool AktualisierungAktiv() const { return folgt_; }
    struct Punkt {
        int32_t schritt;
        double aenderung;   // relative change of the total energy since step 0
    };
    const std::vector<Punkt>& Verlauf() const { return verlauf_; }

protected:
    void showEvent(QShowEvent* ereignis) override;
    void hideEvent(QHideEvent* ereignis) override;
    bool event(QEvent* ereignis) override;   // times the window's painting

private:
    struct Auftrag;
    // The run announced a change: an update when its turn comes.
    void LaufGeaendert();
    void Planen();
    void Zeigen(Auftrag& a);
    void Aufgeben();
    void VerlaufFortschreiben(int32_t schritt, double aenderung);
    void Zeichnen();

    const Lauf& lauf_;
    const ModPlavo& mod_;
    Arbeiter& arbeiter_;
    bool folgt_ = false;      // shown: the run's changes are followed
    bool offen_ = true;       // a change of the run not looked at yet
    QTimer naechste_;         // one shot: the next update, when its turn comes
    QElapsedTimer seitLetzter_;   // since the last update began
    int abstandMs_ = 0;       // the least time from one update to the next
    qint64 zeichnenNs_ = 0;   // how long the window's last painting took
    qint64 leseNs_ = 0;       // how long the last update took to compare and copy the bodies

    // The computation in flight, null when none, and the mark of the last
    // one handed to the worker (waited for before the window goes).
    std::shared_ptr<Auftrag> auftrag_;
    Arbeiter::Marke marke_;

    // What the last shown balance was computed from; the start balance is kept until the document changes.
    bool gesehen_ = false;
    uint64_t dokumentNummer_ = 0;
    double startIntervall_ = 0;
    Laufstand gezeigt_;
    KoerperSatz frei_;   // a buffer the next update copies the working set into
    Energiebilanz startbilanz_;

    std::vector<Punkt> verlauf_;
    double groesste_ = 0;
    int32_t groessteBei_ = 0;

    QLabel* schrittText_;
    QLabel* kinetisch_;
    QLabel* potentiell_;
    QLabel* gesamt_;
    QLabel* impuls_;
    QLabel* drehimpuls_;
    QLabel* aenderung_;
    QLabel* groessteText_;
    QChart* diagramm_;
    QChartView* ansicht_;
    QLineSeries* kurve_;
    QValueAxis* achseX_;
    QValueAxis* achseY_;
};
