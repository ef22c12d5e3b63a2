// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A timer that ticks only when the test says so, and only as a real one would:
// while enabled and with a non-zero interval.

#include "mainwindow/zeitgeber.h"

class SkriptZeitgeber : public Zeitgeber {
public:
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool an) override { enabled_ = an; }
    int32_t Interval() const override { return interval_; }
    void SetInterval(int32_t ms) override { interval_ = ms; }

    // Delivers up to n ticks; returns how many were delivered.
    int Ticken(int n = 1)
    {
        int geliefert = 0;
        for (int i = 0; i < n && enabled_ && interval_ != 0; ++i, ++geliefert)
            if (Timer)
                Timer();
        return geliefert;
    }

private:
    bool enabled_ = false;
    int32_t interval_ = 100;
};
