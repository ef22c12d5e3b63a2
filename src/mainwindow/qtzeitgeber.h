// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulation timer on a QTimer. A QTimer with interval 0 would fire
// continuously, so Interval 0 stops the QTimer while Enabled stays true.

#include "mainwindow/zeitgeber.h"

#include <QObject>
#include <QTimer>

class QtZeitgeber : public QObject, public Zeitgeber {
    Q_OBJECT
public:
    explicit QtZeitgeber(QObject* parent = nullptr);

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool an) override;
    int32_t Interval() const override { return interval_; }
    void SetInterval(int32_t ms) override;

private:
    void Anpassen();

    QTimer timer_;
    bool enabled_ = false;
    int32_t interval_ = 100;
};
