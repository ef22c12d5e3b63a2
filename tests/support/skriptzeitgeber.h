#pragma once
// A timer stand-in: it never fires by itself; a test calls Ticken() where the
// platform would deliver a tick.

#include "mainwindow/zeitgeber.h"

class SkriptZeitgeber : public Zeitgeber {
public:
    bool Enabled() const override { return an_; }
    void SetEnabled(bool an) override { an_ = an; }
    int32_t Interval() const override { return ms_; }
    void SetInterval(int32_t ms) override { ms_ = ms; }

    // One tick, delivered only as a real timer would: enabled, interval above 0.
    void Ticken()
    {
        if (an_ && ms_ > 0 && Timer)
            Timer();
    }

private:
    bool an_ = false;
    int32_t ms_ = 100;
};
