// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Centres every dialog on the screen whose owner is larger than the screen.
// Qt centres a dialog over its owner and then pushes it onto the screen, so
// over a giant window every dialog ended up in the screen's lower right
// corner. Installed once on the application, it sees each dialog as it is
// shown, before it is mapped.

#include <QObject>

class Dialogplatz : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
