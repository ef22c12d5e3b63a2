// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogplatz.h"

#include "mainwindow/fensterplatz.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>

bool Dialogplatz::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() != QEvent::Show || ereignis->spontaneous())
        return false;
    auto* dialog = qobject_cast<QDialog*>(objekt);
    if (!dialog || !dialog->isWindow() || !dialog->parentWidget())
        return false;
    const QWidget* besitzer = dialog->parentWidget()->window();
    const QScreen* schirm = besitzer->screen();
    if (!schirm)
        return false;
    // Moved now, the dialog keeps the place: Qt centres it over the owner
    // only when it was not moved.
    const QSize rand = besitzer->frameGeometry().size() - besitzer->geometry().size();
    if (const auto ort = DialogPlatz(besitzer->frameGeometry(), dialog->size() + rand, schirm->availableGeometry()))
        dialog->move(*ort);
    return false;
}
