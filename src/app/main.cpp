#include "view/picplavo.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow fenster;
    fenster.setWindowTitle(QStringLiteral("Plavo"));
    auto* pic = new PicPlavo(&fenster);
    fenster.setCentralWidget(pic);
    fenster.resize(653, 532);
    fenster.show();
    pic->BildAnpassen();
    return app.exec();
}
