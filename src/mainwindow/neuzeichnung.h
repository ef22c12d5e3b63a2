#pragma once
// The scene redraw of the main window without freezing it: the replay runs
// in slices of a few milliseconds on the user-interface thread, between which
// the window repaints and takes input, and the caption shows how far it is.
//
// While it runs, the window's step count already holds the number of steps
// being replayed, and the working set is left alone; when it ends, the
// working set, step count and caption become what a replay in one go would
// have left. A command that replaced the working set or the caption
// meanwhile keeps its own, as it would have after a replay in one go.

#include "model/modplavo.h"
#include "view/wiedergabe.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

class FrmPlavo;
class Rechenwerk;
class Strichspeicher;

class Neuzeichnung : public QObject {
    Q_OBJECT
public:
    Neuzeichnung(FrmPlavo& frm, Rechenwerk& werk, Strichspeicher& speicher);

    // Replays the window's Schrittzahl steps on the cleared, scaled surface;
    // a replay already running starts again. The first slice runs at once,
    // so a short replay is done on return.
    void Beginnen();
    // Finishes a running replay now.
    void Abschliessen();
    // Drops a running replay, leaving the caption a finished one would have left.
    void Abbrechen();
    // Whether a replay runs. One whose run was reset meanwhile (Open) is dropped here.
    bool Laeuft();

    // The longest slice (30 ms); 0 computes one step per slice.
    void ScheibeSetzen(std::chrono::milliseconds dauer) { scheibe_ = dauer; }

private:
    void Scheibe();
    void Ende();
    // The caption still shows what this replay wrote last (nobody else wrote one).
    bool TitelUnser();
    void TitelSetzen(const QString& text);

    FrmPlavo& frm_;
    Rechenwerk& werk_;
    Strichspeicher& speicher_;
    Wiedergabe wiedergabe_;
    QTimer zeitgeber_;
    std::chrono::milliseconds scheibe_{30};
    bool aktiv_ = false;
    KoerperSatz vorher_;     // the working set when the replay began
    QString eigenerTitel_;   // the caption as this replay last left it
    bool titelFremd_ = false;
};
