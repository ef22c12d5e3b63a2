// SPDX-License-Identifier: GPL-3.0-or-later
#include "paarsumme.h"

#include "sim/kernwahl.h"

#include <algorithm>
#include <cmath>

void PaarzeilenSkalar(const Paarauftrag& a, std::size_t von, std::size_t bis)
{
    for (std::size_t i = von; i < bis; ++i) {
        const double xi = a.x[i], yi = a.y[i];
        double summe = 0;
        for (std::size_t j = i + 1; j < a.n; ++j) {
            const double dx = a.x[j] - xi, dy = a.y[j] - yi;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 0)
                summe += a.m[j] / r;
        }
        a.summe[i] = summe;
    }
}

bool PaarsummenBerechnen(const Paarauftrag& a, Befehlssatz satz, const std::atomic<bool>* abbrechen)
{
    void (*zeilen)(const Paarauftrag&, std::size_t, std::size_t) = &PaarzeilenSkalar;
    switch (KernFuer(satz).satz) {
    case Befehlssatz::Avx512:
        zeilen = &PaarzeilenAvx512;
        break;
    case Befehlssatz::Avx2:
        zeilen = &PaarzeilenAvx2;
        break;
    default:
        break;
    }
    // Blocks of about four million pairs (a few milliseconds), a multiple of
    // sixteen rows so that no vector group is cut short; the rows get shorter
    // towards the end, the blocks longer.
    std::size_t von = 0;
    while (von < a.n) {
        if (abbrechen && abbrechen->load(std::memory_order_relaxed))
            return false;
        const std::size_t laenge = a.n - von;
        const std::size_t zeilen16 = std::max<std::size_t>(1, (std::size_t(1) << 22) / laenge / 16);
        const std::size_t bis = std::min(a.n, von + 16 * zeilen16);
        zeilen(a, von, bis);
        von = bis;
    }
    VektorOberhaelftenLeeren();
    return true;
}
