// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing on a QPrinter. The job begins with the first drawing, so a printer
// that cannot be opened is noticed there; a page end is only carried out when
// something is drawn after it, which keeps a trailing NewPage from adding an
// empty sheet.

#include "view/drucker.h"

#include <QPainter>

class QPrinter;

class QtDrucker : public Drucker {
public:
    explicit QtDrucker(QPrinter& drucker);
    ~QtDrucker() override;

    void PaintPicture(const QImage& bild, double x, double y) override;
    void NewPage() override;
    void EndDoc() override;
    bool Fehler() const override { return fehler_; }

private:
    bool Beginnen();
    bool OffeneSeiteBeenden();

    QPrinter& drucker_;
    QPainter maler_;
    bool begonnen_ = false;
    bool seiteBeendet_ = false;   // NewPage came, no drawing since
    bool fehler_ = false;
};
