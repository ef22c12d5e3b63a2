// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's guide in a window of the program: the German guide, compiled
// into the program with its pictures, so it shows without a network and
// wherever the program lies, installed or in the build tree.

#include <QWidget>

class QTextBrowser;

class FrmAnleitung : public QWidget {
    Q_OBJECT
public:
    explicit FrmAnleitung(QWidget* besitzer);

    QTextBrowser& Browser() { return *browser_; }

private:
    QTextBrowser* browser_;
};
