// SPDX-License-Identifier: GPL-3.0-or-later
#include "ueberschreibschutz.h"

#include "mainwindow/rueckfragen.h"
#include "mainwindow/titel.h"
#include "view/bildausgabe.h"

#include <QDir>

bool UeberschreibtKoerperdatei(const QString& pfad, const QString& dokument, const QString& ergebnis,
                               Rueckfragen& rueckfragen)
{
    if (!GleicheDatei(pfad, dokument))
        return false;
    rueckfragen.MsgBox(ergebnis
                           + QStringLiteral(": „%1“ ist die Körperdatei des geöffneten Dokuments und würde "
                                            "überschrieben.\n\nBitte wählen Sie einen anderen Dateinamen.")
                                 .arg(QDir::toNativeSeparators(pfad)),
                       Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Warnung);
    return true;
}
