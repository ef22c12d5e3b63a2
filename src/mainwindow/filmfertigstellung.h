// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A live recording has stopped while frames still wait for the worker: they
// are drawn and encoded behind, under a progress dialog with the frames
// done and the time left. The window stays usable meanwhile, unless the
// program waits to end. Abbrechen drops the frames not written yet and
// keeps the film as far as it got.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class Filmaufzeichnung;
class QProgressDialog;
class QWidget;

class Filmfertigstellung : public QObject {
    Q_OBJECT
public:
    // `film` has stopped (Anhalten) and is not closed yet.
    Filmfertigstellung(Filmaufzeichnung& film, QWidget* fenster);
    ~Filmfertigstellung() override;

    QProgressDialog* Fortschritt() const { return fortschritt_; }
    // The program ends once the film is closed: nothing else takes input meanwhile.
    void Vorn();

private:
    void Zeigen();

    Filmaufzeichnung& film_;
    int anfang_;   // frames written when the finishing began
    int bilder_;   // frames the film will have
    QElapsedTimer uhr_;
    QPointer<QProgressDialog> fortschritt_;
    bool inZeigen_ = false;
};
