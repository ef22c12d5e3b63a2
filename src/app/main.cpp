// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/befehlszeile.h"
#include "mainwindow/dialogplatz.h"
#include "mainwindow/frmplavo.h"
#include "mainwindow/qtdeutsch.h"
#include "mainwindow/qtstandarddialog.h"
#include "table/tabellenanzeige.h"

#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <memory>

namespace {
void NamenSetzen()
{
    QCoreApplication::setApplicationName(QStringLiteral("Plavo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLAVO_VERSION));
}

// Help, version and a wrong call are answered on the console, without a
// display: only a core application exists while the command line is read.
Befehlszeile BefehlszeileAuswerten(int& argc, char** argv)
{
    QCoreApplication kern(argc, argv);
    NamenSetzen();
    QTranslator qtDeutsch;
    QtDeutschLaden(qtDeutsch);
    return BefehlszeileLesen(QCoreApplication::arguments());
}
}  // namespace

int main(int argc, char** argv)
{
    const Befehlszeile befehl = BefehlszeileAuswerten(argc, argv);
    if (!befehl.weiter) {
        std::fputs(befehl.ausgabe.toLocal8Bit().constData(), stdout);
        std::fputs(befehl.fehler.toLocal8Bit().constData(), stderr);
        return befehl.status;
    }

    QApplication app(argc, argv);
    NamenSetzen();

    QTranslator qtDeutsch;
    QtDeutschLaden(qtDeutsch);
    Dialogplatz dialogplatz;
    app.installEventFilter(&dialogplatz);

    Dokument dokument;
    // The table window needs the main window as its owner, and the main
    // window shows it: hand over a call that is bound once both exist.
    std::unique_ptr<Tabellenanzeige> tabelle;
    FrmPlavoDienste dienste;
    dienste.tabelleZeigen = [&tabelle] {
        if (tabelle)
            tabelle->Zeigen();
    };
    dienste.tabelleZeigenBei = [&tabelle](int zeile) {
        if (tabelle)
            tabelle->Zeigen(zeile);
    };
    FrmPlavo fenster(dokument, std::move(dienste));
    QtStandarddialog cdgTabelle(&fenster);
    tabelle = std::make_unique<Tabellenanzeige>(dokument, fenster.rueckfragen(), cdgTabelle, &fenster);

    fenster.show();
    // Once the window is up, so that a message about the file stands over it.
    if (!befehl.datei.isEmpty())
        QMetaObject::invokeMethod(&fenster, [&fenster, &befehl] { fenster.DateiOeffnen(befehl.datei); },
                                  Qt::QueuedConnection);
    const int ergebnis = app.exec();
    tabelle.reset();
    return ergebnis;
}
