// SPDX-License-Identifier: GPL-3.0-or-later
#include "zeilenkern.h"

#include <cmath>

void ZeilenSkalar(const Zeilenauftrag& a, std::size_t von, std::size_t bis)
{
    const double* x = a.x;
    const double* y = a.y;
    const double* m = a.m;
    for (std::size_t i = von; i < bis; ++i) {
        double vx = a.vx[i];
        double vy = a.vy[i];
        for (std::size_t j = 0; j < a.n; ++j) {
            const double dy = y[i] - y[j];
            const double dx = x[i] - x[j];
            const double r = std::sqrt(dy * dy + dx * dx);
            if (r > 0) {
                const double r3 = r * r * r;
                vx = (x[j] - x[i]) * (a.K * m[j]) / r3 + vx;
                vy = (y[j] - y[i]) * (a.K * m[j]) / r3 + vy;
            }
        }
        a.vxNeu[i] = vx;
        a.vyNeu[i] = vy;
    }
}
