// SPDX-License-Identifier: GPL-3.0-or-later
#include "aufbau.h"

#include <cmath>

namespace {
constexpr double SekundenProTag = 86400.0;

double Winkel(double richtung)
{
    // arctan(1) at run time, then degrees to radians in this order.
    return (std::atan(1.0) * richtung) / 45.0;
}
}  // namespace

double VerschiebungX(double intervall, double geschwindigkeit, double richtung)
{
    return ((intervall * SekundenProTag) * geschwindigkeit) * std::cos(Winkel(richtung));
}

double VerschiebungY(double intervall, double geschwindigkeit, double richtung)
{
    return ((intervall * SekundenProTag) * geschwindigkeit) * std::sin(Winkel(richtung));
}

unsigned KoerperSimAufbauen(const KoerperSatz& start, double intervall, Laufstand& stand)
{
    KoerperSatz neu(start.size());
    FlagsLoeschen();
    bool endlich = true;
    for (size_t i = 0; i < neu.size(); ++i) {
        const Koerper& s = start[i];
        Koerper& k = neu[i];
        k.Name = s.Name;
        k.Masse = s.Masse;
        k.X = s.X;
        k.Y = s.Y;
        k.Farbe = s.Farbe;
        k.Vx() = VerschiebungX(intervall, s.Geschwindigkeit, s.Richtung);
        k.Vy() = VerschiebungY(intervall, s.Geschwindigkeit, s.Richtung);
        endlich = endlich && std::isfinite(k.Vx()) && std::isfinite(k.Vy());
    }
    unsigned fehler = FlagsAlsFehler();
    if (!endlich)
        fehler |= FehlerNichtEndlich;
    if (fehler == KeinFehler) {
        stand.KoerperSim = std::move(neu);
        stand.Intervall = intervall;
    }
    return fehler;
}
