#pragma once
// The scene redraw without freezing the window: the run's replay goes on in
// slices of a few milliseconds on the user-interface thread, between which
// the window repaints and takes input. What the replay leaves behind is the
// run's business; the window hears how far it is and how it ended, and sets
// its caption and reports a fault itself.

#include "sim/lauf.h"

#include <QObject>
#include <QTimer>
#include <chrono>

class PicPlavo;

class Neuzeichnung : public QObject {
    Q_OBJECT
public:
    Neuzeichnung(Lauf& lauf, PicPlavo& pic);

    // Replays the run's steps on the cleared, scaled surface; a replay
    // already running starts again. The first slice runs at once, so a
    // short replay is done on return.
    void Beginnen();
    // Finishes a running replay now (waiting for the worker where it computes).
    void Abschliessen();
    // The worker has finished a step the replay waits for: it goes on.
    void Weiter();
    // Drops a running replay (abgebrochen is emitted).
    void Abbrechen();
    bool Laeuft() const { return lauf_.NeuzeichnungLaeuft(); }

    // The longest slice (30 ms); 0 computes one step per slice.
    void ScheibeSetzen(std::chrono::milliseconds dauer) { scheibe_ = dauer; }

signals:
    void fortschritt(int prozent);   // after each slice that did not finish it
    void beendet(unsigned fehler);   // the replay is done (fault bits, if a step failed)
    void abgebrochen();

private:
    void Scheibe();
    Lauf::Neuzeichnungsstand Arbeiten(Lauf::Uhr::time_point bis);

    Lauf& lauf_;
    PicPlavo& pic_;
    QTimer zeitgeber_;
    std::chrono::milliseconds scheibe_{30};
};
