// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input and message boxes on Qt's dialogs, with German buttons.

#include "mainwindow/rueckfragen.h"

#include <QPointer>

class QWidget;

class QtRueckfragen : public Rueckfragen {
public:
    explicit QtRueckfragen(QWidget* besitzer);

    std::optional<QString> InputBox(const QString& prompt, const QString& titel, const QString& vorgabe) override;
    MsgAntwort MsgBox(const QString& text, const QString& titel, MsgKnoepfe knoepfe, MsgSymbol symbol) override;

private:
    QPointer<QWidget> besitzer_;
};
