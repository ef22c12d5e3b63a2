// SPDX-License-Identifier: GPL-3.0-or-later
// The "Hilfe" menu: the user's guide, about Plavo, about Qt.
#include "frmplavo.h"

#include "mainwindow/fensterplatz.h"
#include "mainwindow/frmanleitung.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/ueberplavo.h"

#include <QMessageBox>

void FrmPlavo::menAnleitung_Click()
{
    // One guide window, made on first use and kept, so it opens where it was left.
    auto* anleitung = findChild<FrmAnleitung*>(QString(), Qt::FindDirectChildrenOnly);
    if (!anleitung) {
        anleitung = new FrmAnleitung(this);
        // Never so narrow that its pictures need scrolling sideways.
        DanebenLegen(*anleitung, *this, QSize(anleitung->width(), 0));
    }
    anleitung->show();
    anleitung->raise();
    anleitung->activateWindow();
}

void FrmPlavo::menUeber_Click()
{
    rueckfragen().MsgBox(UeberPlavoText(), QStringLiteral("Über Plavo"), MsgKnoepfe::OK, MsgSymbol::Information);
}

void FrmPlavo::menUeberQt_Click()
{
    QMessageBox::aboutQt(this, QStringLiteral("Über Qt"));
}
