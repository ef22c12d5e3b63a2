// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabellenanzeige.h"

#include "table/gitter.h"

Tabellenanzeige::Tabellenanzeige(Dokument& dokument, Rueckfragen& rueckfragen, Standarddialog& cdgTabelle,
                                 QWidget* besitzer)
    : dokument_(dokument)
    , rueckfragen_(rueckfragen)
    , cdgTabelle_(cdgTabelle)
    , besitzer_(besitzer)
{
}

Tabellenanzeige::~Tabellenanzeige()
{
    delete fenster_.data();
}

void Tabellenanzeige::Zeigen(int zeile)
{
    // Already on screen (and modal): showing it again would nest a second loop.
    if (fenster_ && fenster_->isVisible())
        return;
    if (!fenster_) {
        fenster_ = new FrmTabelle(dokument_, rueckfragen_, cdgTabelle_, besitzer_.data());
        fenster_->Form_Load();
    }
    fenster_->Form_Activate();
    if (zeile > 0 && zeile < fenster_->fgrKoerper().Rows())
        fenster_->fgrKoerper().RowSetzen(zeile);
    fenster_->exec();
    // The owner may have gone during the loop, taking the window with it.
    if (fenster_ && fenster_->Geschlossen())
        delete fenster_.data();
}
