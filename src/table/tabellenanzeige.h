// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows the one table window modally over the main window. The window is
// created on first use and stays loaded when hidden by OK or Abbrechen; the
// close box unloads it, so the next showing loads it afresh.
//
// The showing runs a nested event loop: timers, the simulation's included,
// keep ticking behind it.

#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "model/dokument.h"
#include "table/frmtabelle.h"

#include <QPointer>

class QWidget;

class Tabellenanzeige {
public:
    Tabellenanzeige(Dokument& dokument, Rueckfragen& rueckfragen, Standarddialog& cdgTabelle, QWidget* besitzer);
    ~Tabellenanzeige();
    Tabellenanzeige(const Tabellenanzeige&) = delete;
    Tabellenanzeige& operator=(const Tabellenanzeige&) = delete;

    // Loads the window if needed, fills it and returns when it is hidden or
    // closed; with `zeile` (1-based) that body's row is current.
    void Zeigen(int zeile = 0);

    // The loaded window, or nullptr while it is not loaded.
    FrmTabelle* Fenster() const { return fenster_.data(); }

private:
    Dokument& dokument_;
    Rueckfragen& rueckfragen_;
    Standarddialog& cdgTabelle_;
    QPointer<QWidget> besitzer_;
    QPointer<FrmTabelle> fenster_;
};
