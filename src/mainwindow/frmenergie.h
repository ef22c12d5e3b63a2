#pragma once
// The energy balance window: kinetic, potential and total energy, momentum
// and angular momentum of the bodies at the current step, and how far the
// total energy has moved since step 0, with a plot over the steps.
//
// Modeless and owned by the main window. It reads the body sets and the step
// count on a timer of its own, at most ten times a second and only while it
// is shown; the step itself never calls it. The sum over pairs takes n^2 / 2
// roots and quotients (a third of a second at 32,767 bodies): beyond a few
// milliseconds' worth the window copies the bodies and computes on a thread
// of its own, one computation at a time, and shows the result when it comes
// back; until then it shows the previous one.

#include "model/modplavo.h"
#include "sim/lauf.h"
#include "sim/energiebilanz.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QValueAxis;

class FrmEnergie : public QWidget {
    Q_OBJECT
public:
    FrmEnergie(const Lauf& lauf, QWidget* owner);
    // Calls off a computation in flight and waits for its thread, which stops
    // within a few milliseconds.
    ~FrmEnergie() override;

    // Reads the bodies and shows their balance; does nothing when neither the
    // bodies, the step count nor the interval changed since the last shown
    // balance, or while a computation is in flight. A small system's balance
    // is shown before this returns, a large one's later, from the event loop.
    void Aktualisieren();

    // Whether a computation runs on the window's thread.
    bool Rechnet() const { return auftrag_ != nullptr; }
    // Waits for the computation in flight, if any, and shows its result
    // (tests and benchmarks).
    void AufErgebnisWarten();

    bool AktualisierungAktiv() const { return uhr_.isActive(); }
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
    void Zeigen(Auftrag& a);
    void Aufgeben();
    void VerlaufFortschreiben(int32_t schritt, double aenderung);
    void Zeichnen();

    const Lauf& lauf_;
    const ModPlavo& mod_;
    QTimer uhr_;
    qint64 zeichnenNs_ = 0;   // how long the window's last painting took
    qint64 leseNs_ = 0;       // how long the last update took to compare and copy the bodies

    // The computation in flight, null when none; the thread that runs it
    // stays joinable until the next computation or the end of the window.
    std::shared_ptr<Auftrag> auftrag_;
    std::thread faden_;

    // What the last shown balance was computed from; the start balance is kept until the document changes.
    bool gesehen_ = false;
    int32_t schritt_ = 0;
    double intervall_ = 0;
    KoerperSatz sim_;
    KoerperSatz frei_;   // a buffer the next update copies the working set into
    KoerperSatz start_;
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
