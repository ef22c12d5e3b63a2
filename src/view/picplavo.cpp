#include "picplavo.h"

#include <QPainter>
#include <QPaintEvent>
#include <cmath>

PicPlavo::PicPlavo(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setFocusPolicy(Qt::StrongFocus);
}

QSize PicPlavo::GeraetePixel() const
{
    const qreal r = devicePixelRatioF();
    return QSize(int(std::lround(width() * r)), int(std::lround(height() * r))).expandedTo(QSize(1, 1));
}

void PicPlavo::BildAnpassen()
{
    flaeche_.GroesseSetzen(GeraetePixel());
    update();
}

void PicPlavo::GeaendertesZeigen()
{
    const QRect r = flaeche_.GeaendertNehmen();
    if (r.isEmpty())
        return;
    const qreal q = devicePixelRatioF();
    // Device pixels to logical, rounded outwards.
    update(QRect(QPoint(int(std::floor(r.left() / q)), int(std::floor(r.top() / q))),
                 QPoint(int(std::ceil((r.right() + 1) / q)), int(std::ceil((r.bottom() + 1) / q)))));
}

void PicPlavo::paintEvent(QPaintEvent* ereignis)
{
    // Only the pixels asked for, and without a copy of the image: a giant
    // window's picture is gigabytes, and one with another device pixel
    // ratio than its own would be copied whole at every step.
    QPainter p(this);
    const QImage& bild = flaeche_.Image();
    const qreal q = devicePixelRatioF();
    // White where the picture does not reach yet (it follows a resize).
    const QRect bedeckt(0, 0, int(std::floor(bild.width() / q)), int(std::floor(bild.height() / q)));
    for (const QRect& stueck : ereignis->region().subtracted(bedeckt))
        p.fillRect(stueck, Qt::white);
    const QRect r = ereignis->rect();
    const QRectF quelle =
        QRectF(r.x() * q, r.y() * q, r.width() * q, r.height() * q).intersected(QRectF(bild.rect()));
    if (!quelle.isEmpty())
        p.drawImage(QRectF(quelle.topLeft() / q, quelle.size() / q), bild, quelle);
}
