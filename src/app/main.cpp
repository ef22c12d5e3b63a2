#include "mainwindow/frmplavo.h"
#include "mainwindow/qtdeutsch.h"
#include "mainwindow/qtstandarddialog.h"
#include "table/tabellenanzeige.h"

#include <QApplication>
#include <QTranslator>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plavo"));

    QTranslator qtDeutsch;
    QtDeutschLaden(qtDeutsch);

    ModPlavo mod;
    // The table window needs the main window as its owner, and the main
    // window shows it: hand over a call that is bound once both exist.
    std::unique_ptr<Tabellenanzeige> tabelle;
    FrmPlavoDienste dienste;
    dienste.tabelleZeigen = [&tabelle] {
        if (tabelle)
            tabelle->Zeigen();
    };
    FrmPlavo fenster(mod, std::move(dienste));
    QtStandarddialog cdgTabelle(&fenster);
    tabelle = std::make_unique<Tabellenanzeige>(mod, fenster.rueckfragen(), cdgTabelle, &fenster);

    fenster.show();
    const int ergebnis = app.exec();
    tabelle.reset();
    return ergebnis;
}
