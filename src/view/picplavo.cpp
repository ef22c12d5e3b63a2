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
    QPainter p(this);
    QImage bild = flaeche_.Image();
    bild.setDevicePixelRatio(devicePixelRatioF());
    p.fillRect(ereignis->rect(), Qt::white);
    p.drawImage(QPointF(0, 0), bild);
}
