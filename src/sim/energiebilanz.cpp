// SPDX-License-Identifier: GPL-3.0-or-later
#include "energiebilanz.h"

#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "sim/paarsumme.h"

#include <cmath>
#include <vector>

bool Energiebilanz::Endlich() const
{
    return std::isfinite(Kinetisch) && std::isfinite(Potentiell) && std::isfinite(Gesamt)
        && std::isfinite(ImpulsX) && std::isfinite(ImpulsY) && std::isfinite(Drehimpuls);
}

Energiebilanz EnergiebilanzBerechnen(const KoerperSatz& sim, double intervall, Befehlssatz satz,
                                     const std::atomic<bool>* abbrechen)
{
    Energiebilanz b;
    const double sekunden = intervall * 86400.0;
    const size_t n = sim.size();
    if (sekunden == 0) {
        b.Kinetisch = b.ImpulsX = b.ImpulsY = b.Drehimpuls = std::nan("");
    } else {
        for (const Koerper& k : sim) {
            const double m = k.Masse * KilogrammProMasse;
            const double vx = k.Vx() / sekunden, vy = k.Vy() / sekunden;
            b.Kinetisch += 0.5 * m * (vx * vx + vy * vy);
            b.ImpulsX += m * vx;
            b.ImpulsY += m * vy;
            b.Drehimpuls += m * (k.X * vy - k.Y * vx);
        }
    }
    // Each pair once; a row's sum is m_j / r in Earth masses per metre, so
    // the large factors are applied once per body, in the order of the rows.
    std::vector<double> x(n), y(n), m(n), summe(n);
    for (size_t i = 0; i < n; ++i) {
        x[i] = sim[i].X;
        y[i] = sim[i].Y;
        m[i] = sim[i].Masse;
    }
    const Paarauftrag paare{n, x.data(), y.data(), m.data(), summe.data()};
    if (!PaarsummenBerechnen(paare, satz, abbrechen)) {
        b.Potentiell = b.Gesamt = std::nan("");
        return b;
    }
    for (size_t i = 0; i + 1 < n; ++i)
        b.Potentiell -= GravitationsParameter * KilogrammProMasse * m[i] * summe[i];
    b.Gesamt = b.Kinetisch + b.Potentiell;
    return b;
}

Energiebilanz StartbilanzBerechnen(const KoerperSatz& start, double intervall, const std::atomic<bool>* abbrechen)
{
    Laufstand aufbau;
    if (KoerperSimAufbauen(start, intervall, aufbau) != KeinFehler) {
        Energiebilanz b;
        b.Gesamt = std::nan("");
        return b;
    }
    return EnergiebilanzBerechnen(aufbau.KoerperSim, intervall, Befehlssatz::Automatisch, abbrechen);
}

double RelativeAenderung(double e, double e0)
{
    if (!std::isfinite(e) || !std::isfinite(e0) || e0 == 0)
        return std::nan("");
    return (e - e0) / std::abs(e0);
}
