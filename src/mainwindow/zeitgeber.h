// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulation timer: while Enabled and Interval > 0 it calls Timer every
// Interval milliseconds on the user-interface thread. Interval 0 keeps it
// enabled but silent.

#include <cstdint>
#include <functional>

class Zeitgeber {
public:
    virtual ~Zeitgeber() = default;

    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool an) = 0;
    virtual int32_t Interval() const = 0;      // milliseconds
    virtual void SetInterval(int32_t ms) = 0;  // 0 or more

    std::function<void()> Timer;
};
