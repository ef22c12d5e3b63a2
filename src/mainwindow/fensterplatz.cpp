// SPDX-License-Identifier: GPL-3.0-or-later
#include "fensterplatz.h"

#include <QMainWindow>
#include <QScreen>
#include <algorithm>

QRect PlatzDaneben(const QRect& haupt, int menueUnten, QSize groesse, QSize mindest, const QRect& schirm)
{
    groesse = groesse.boundedTo(schirm.size());
    const int rechts = schirm.right() - haupt.right();
    const int links = haupt.left() - schirm.left();
    const bool nachRechts = groesse.width() <= rechts || (groesse.width() > links && rechts >= links);
    const int platz = nachRechts ? rechts : links;
    QRect r(QPoint(), groesse);
    int oben = haupt.top();
    if (groesse.width() > platz && mindest.width() <= platz) {
        r.setWidth(platz);
    } else if (groesse.width() > platz) {
        // No room beside it: over the picture at the screen's edge, below
        // the menu bar, shorter where it can be to stay there.
        oben = std::max(oben, menueUnten + 1);
        const int darunter = schirm.bottom() - oben + 1;
        if (r.height() > darunter && mindest.height() <= darunter)
            r.setHeight(darunter);
    }
    if (nachRechts)
        r.moveLeft(r.width() <= platz ? haupt.right() + 1 : schirm.right() - r.width() + 1);
    else
        r.moveRight(r.width() <= platz ? haupt.left() - 1 : schirm.left() + r.width() - 1);
    r.moveTop(std::clamp(oben, schirm.top(), std::max(schirm.top(), schirm.bottom() - r.height() + 1)));
    return r;
}

std::optional<QPoint> DialogPlatz(const QRect& besitzer, QSize groesse, const QRect& schirm)
{
    if (besitzer.width() <= schirm.width() && besitzer.height() <= schirm.height())
        return std::nullopt;
    QRect r(QPoint(), groesse);
    r.moveCenter(schirm.center());
    return QPoint(std::max(r.left(), schirm.left()), std::max(r.top(), schirm.top()));
}

void DanebenLegen(QWidget& fenster, const QMainWindow& haupt, QSize mindest)
{
    const QScreen* schirm = haupt.screen();
    if (!schirm)
        return;
    // The new window's frame is not known before it is shown: the window
    // manager frames it as it frames the main window.
    const QRect hauptRahmen = haupt.frameGeometry();
    const QSize rand = hauptRahmen.size() - haupt.geometry().size();
    const QSize innen = fenster.testAttribute(Qt::WA_Resized) ? fenster.size() : fenster.sizeHint();
    if (!mindest.isValid())
        mindest = fenster.minimumSizeHint().expandedTo(fenster.minimumSize());
    const int menueUnten = haupt.geometry().top() + (haupt.menuWidget() ? haupt.menuWidget()->height() : 0);
    const QRect r = PlatzDaneben(hauptRahmen, menueUnten, innen + rand, mindest + rand, schirm->availableGeometry());
    if (r.size() - rand != innen)
        fenster.resize(r.size() - rand);
    // Until a window has been framed, Qt places its inside where the frame is meant to go.
    const QPoint innenAb = fenster.testAttribute(Qt::WA_WState_Created) && fenster.frameGeometry() != fenster.geometry()
                               ? QPoint()
                               : haupt.geometry().topLeft() - hauptRahmen.topLeft();
    fenster.move(r.topLeft() + innenAb);
}
