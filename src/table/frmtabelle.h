// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table window: the bodies of the document set in a grid, one row per
// body, edited cell by cell and committed only by OK, as one command of the
// document. While the window is shown its grid is the editing buffer; it
// keeps no copy of the bodies.
//
// The handlers are public so that they can be driven without showing the
// window. Tabellenanzeige loads, shows and unloads it.

#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "model/dokument.h"

#include <QDialog>
#include <vector>

class Gitter;
class QtGitter;
class QPushButton;

class FrmTabelle : public QDialog {
    Q_OBJECT
public:
    // `cdgTabelle` is used for its colour dialog only.
    FrmTabelle(Dokument& dokument, Rueckfragen& rueckfragen, Standarddialog& cdgTabelle, QWidget* besitzer);

    Gitter& fgrKoerper();
    QtGitter& GitterWidget() { return *fgrKoerper_; }

    // Column widths and headings; once per loading.
    void Form_Load();
    // Fills the grid from the document set; every time the window is shown.
    void Form_Activate();
    // Edits the double-clicked cell: input box for texts, colour dialog for the colour.
    void fgrKoerper_DblClick();
    // F2 edits the current cell as a double-click on it would.
    void fgrKoerper_KeyDown(int taste);
    // Appends an empty row.
    void cmdNeu_Click();
    // Removes the current row; the only row is emptied instead.
    void cmdEntfernen_Click();
    // Checks every number cell, then commits all rows as the document set and hides.
    void cmdOK_Click();
    // Hides without changing anything.
    void cmdAbbrechen_Click();

    // The close box was used: the window is to be unloaded, not just hidden.
    bool Geschlossen() const { return geschlossen_; }

    // Esc and the close box cancel, exactly as "Abbrechen".
    void reject() override;

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;

private:
    // The numbers of all rows in row order, five per row; on the first cell
    // that is no number, says so, makes that cell current and gives nothing.
    bool ZahlenLesen(std::vector<double>& werte);
    // Input box for a text cell, colour dialog for the colour cell.
    void ZelleBearbeiten(int r, int c);

    Dokument& dokument_;
    Rueckfragen& rueckfragen_;
    Standarddialog& cdgTabelle_;
    QtGitter* fgrKoerper_;
    QPushButton* cmdNeu_;
    QPushButton* cmdEntfernen_;
    QPushButton* cmdOK_;
    QPushButton* cmdAbbrechen_;
    bool geschlossen_ = false;
};
