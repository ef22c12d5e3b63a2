// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Film rechnen": the run computes n steps ahead as fast as the machine
// allows, without waiting for the timer, while a recording takes its frames,
// under a cancellable progress dialog with the frames done and the time
// left. The steps go through the run as a tick's do (a large system's on
// the worker), in slices on the event loop, so the window keeps painting;
// while the recording's queue is full, a step in flight or a redraw runs,
// nothing is sliced and the thread is free. Afterwards the run stands at
// the last step computed, and the picture shows it.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <cstdint>

class Filmaufzeichnung;
class Lauf;
class QWidget;

class Filmrechnung : public QObject {
    Q_OBJECT
public:
    // `bilder`: the frames the film will have when all steps are done.
    Filmrechnung(Lauf& lauf, Filmaufzeichnung& film, int32_t schritte, int bilder, QWidget* fenster);
    ~Filmrechnung() override;

    // The first slice comes from the event loop.
    void Starten();
    // Stops computing; `beendet` follows at once. The frames so far stay.
    void Abbrechen();
    bool Fertig() const { return fertig_; }
    int32_t Gerechnet() const { return gerechnet_; }
    QProgressDialog* Fortschritt() const { return fortschritt_; }
    // "noch etwa ..." for a progress dialog.
    static QString Restzeit(double sekunden);

signals:
    // All steps done, cancelled, a step failed or the film could not be written.
    void beendet();

private:
    void Scheibe();
    // Something the slices waited for has happened.
    void Wecken();
    void Zeigen();
    void Beenden();

    Lauf& lauf_;
    Filmaufzeichnung& film_;
    int32_t ziel_;
    int bilder_;
    int32_t gerechnet_ = 0;
    QTimer scheiben_;
    QElapsedTimer uhr_;
    QPointer<QProgressDialog> fortschritt_;
    bool fertig_ = false;
    bool inScheibe_ = false;
};
