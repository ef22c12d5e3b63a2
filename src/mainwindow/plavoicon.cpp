// SPDX-License-Identifier: GPL-3.0-or-later
#include "plavoicon.h"

#include <QPainter>

QImage PlavoIconBild(int groesse)
{
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing, groesse > 32);
    // Design on a 32-unit grid.
    p.scale(groesse / 32.0, groesse / 32.0);

    QPen linie(Qt::black, 1.0);
    p.setPen(linie);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));     // outer orbit
    p.drawEllipse(QRectF(4.5, 10.5, 23, 11));    // flatter orbit inside it

    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QRectF(12.5, 12.5, 7, 7));     // the sun, ringed in black

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QRectF(22, 3.5, 5, 5));        // green, upper right
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QRectF(2.5, 13.5, 5, 5));      // yellow, left
    p.setBrush(QColor(0, 60, 255));
    p.drawEllipse(QRectF(21, 18, 5, 5));         // blue, lower right
    return bild;
}

QIcon PlavoIcon()
{
    QIcon icon;
    for (int g : {16, 32, 48, 256})
        icon.addPixmap(QPixmap::fromImage(PlavoIconBild(g)));
    return icon;
}
