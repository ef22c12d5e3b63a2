// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common dialog on Qt's file, colour and print dialogs.

#include "mainwindow/standarddialog.h"

#include <QPointer>
#include <memory>

class QWidget;

class QtStandarddialog : public Standarddialog {
public:
    explicit QtStandarddialog(QWidget* besitzer);
    ~QtStandarddialog() override;

    bool ShowOpen() override;
    bool ShowSave() override;
    bool ShowColor() override;
    bool ShowPrinter() override;
    QPrinter* Printer() override;

private:
    bool DateiDialog(bool speichern);

    QPointer<QWidget> besitzer_;
    std::unique_ptr<QPrinter> drucker_;
};
