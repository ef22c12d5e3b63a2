// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtzeitgeber.h"

QtZeitgeber::QtZeitgeber(QObject* parent)
    : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (Timer)
            Timer();
    });
}

void QtZeitgeber::SetEnabled(bool an)
{
    enabled_ = an;
    Anpassen();
}

void QtZeitgeber::SetInterval(int32_t ms)
{
    interval_ = ms < 0 ? 0 : ms;
    Anpassen();
}

void QtZeitgeber::Anpassen()
{
    if (enabled_ && interval_ > 0) {
        // Restarting would delay the next tick on every change; only set what differs.
        if (timer_.interval() != interval_)
            timer_.setInterval(interval_);
        if (!timer_.isActive())
            timer_.start();
    } else {
        timer_.stop();
    }
}
