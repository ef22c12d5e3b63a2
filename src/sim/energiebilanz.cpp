#include "energiebilanz.h"

#include "sim/aufbau.h"
#include "sim/berechnung.h"

#include <cmath>

bool Energiebilanz::Endlich() const
{
    return std::isfinite(Kinetisch) && std::isfinite(Potentiell) && std::isfinite(Gesamt)
        && std::isfinite(ImpulsX) && std::isfinite(ImpulsY) && std::isfinite(Drehimpuls);
}

Energiebilanz EnergiebilanzBerechnen(const KoerperSatz& sim, double intervall)
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
    // Each pair once; the inner sum is m_j / r in Earth masses per metre, so
    // the large factors are applied once per body.
    for (size_t i = 0; i + 1 < n; ++i) {
        const double xi = sim[i].X, yi = sim[i].Y;
        double summe = 0;
        for (size_t j = i + 1; j < n; ++j) {
            const double dx = sim[j].X - xi, dy = sim[j].Y - yi;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 0)
                summe += sim[j].Masse / r;
        }
        b.Potentiell -= GravitationsParameter * KilogrammProMasse * sim[i].Masse * summe;
    }
    b.Gesamt = b.Kinetisch + b.Potentiell;
    return b;
}

Energiebilanz StartbilanzBerechnen(const KoerperSatz& start, double intervall)
{
    ModPlavo aufbau;
    aufbau.KoerperStart = start;
    aufbau.Intervall = intervall;
    if (KoerperSimAufbauen(aufbau) != KeinFehler) {
        Energiebilanz b;
        b.Gesamt = std::nan("");
        return b;
    }
    return EnergiebilanzBerechnen(aufbau.KoerperSim, intervall);
}

double RelativeAenderung(double e, double e0)
{
    if (!std::isfinite(e) || !std::isfinite(e0) || e0 == 0)
        return std::nan("");
    return (e - e0) / std::abs(e0);
}
