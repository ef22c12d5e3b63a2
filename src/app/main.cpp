#include "mainwindow/frmplavo.h"
#include "mainwindow/qtdeutsch.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plavo"));

    QTranslator qtDeutsch;
    QtDeutschLaden(qtDeutsch);

    ModPlavo mod;
    FrmPlavo fenster(mod);
    fenster.show();
    return app.exec();
}
