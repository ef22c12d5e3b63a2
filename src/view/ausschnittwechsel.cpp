// SPDX-License-Identifier: GPL-3.0-or-later
#include "ausschnittwechsel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A new offset within the limit, or no farther out than the old one; a
// move beyond stops at the limit. Nothing for a number that is not finite.
bool OffsetBegrenzen(double alt, double& neu)
{
    if (!std::isfinite(neu))
        return false;
    if (std::abs(neu) > GroessterOffset && std::abs(neu) > std::abs(alt))
        neu = std::copysign(std::max(GroessterOffset, std::abs(alt)), neu);
    return true;
}

// The picture maps in single precision: its edges must stay two numbers.
bool KantenGetrennt(double groesse, double offset)
{
    return float(offset - groesse / 2) != float(offset + groesse / 2);
}

bool GroesseErlaubt(double alt, double neu, double offset)
{
    const double b = std::abs(neu);
    if (!std::isfinite(neu) || b == 0)
        return false;
    if (b < std::abs(alt) && (b < KleinsterAusschnitt || !KantenGetrennt(neu, offset)))
        return false;
    return !(b > GroessterAusschnitt && b > std::abs(alt));
}

bool OffsetsBegrenzen(const Ausschnitt& alt, Ausschnitt& neu)
{
    // A section typed with edges already together may still move.
    return OffsetBegrenzen(alt.XOffset, neu.XOffset) && OffsetBegrenzen(alt.YOffset, neu.YOffset)
        && (KantenGetrennt(neu.Breite, neu.XOffset) || !KantenGetrennt(alt.Breite, alt.XOffset))
        && (KantenGetrennt(neu.Hoehe, neu.YOffset) || !KantenGetrennt(alt.Hoehe, alt.YOffset));
}

double Anteil(double a)
{
    return std::isfinite(a) ? std::clamp(a, 0.0, 1.0) : 0.5;
}

}  // namespace

Ausschnitt Gezoomt(const Ausschnitt& a, int rasten, double anteilX, double anteilY)
{
    // From the centre to the fixed point, in parts of the size.
    const double ux = Anteil(anteilX) - 0.5, uy = Anteil(anteilY) - 0.5;
    Ausschnitt jetzt = a;
    for (int i = 0; i != rasten; i += rasten > 0 ? 1 : -1) {
        Ausschnitt neu = jetzt;
        neu.Breite = rasten > 0 ? jetzt.Breite / RastFaktor : jetzt.Breite * RastFaktor;
        neu.Hoehe = rasten > 0 ? jetzt.Hoehe / RastFaktor : jetzt.Hoehe * RastFaktor;
        // The fixed point o + u·b stays: o' = o + u·(b - b').
        neu.XOffset = jetzt.XOffset + ux * (jetzt.Breite - neu.Breite);
        neu.YOffset = jetzt.YOffset + uy * (jetzt.Hoehe - neu.Hoehe);
        if (!GroesseErlaubt(jetzt.Breite, neu.Breite, neu.XOffset) || !GroesseErlaubt(jetzt.Hoehe, neu.Hoehe, neu.YOffset)
            || !OffsetsBegrenzen(jetzt, neu))
            break;
        jetzt = neu;
    }
    return jetzt;
}

Ausschnitt Gezogen(const Ausschnitt& a, double dx, double dy, double breite, double hoehe)
{
    const double w = std::isfinite(breite) ? std::max(breite, 1.0) : 1.0;
    const double h = std::isfinite(hoehe) ? std::max(hoehe, 1.0) : 1.0;
    Ausschnitt neu = a;
    neu.XOffset = a.XOffset - dx * a.Breite / w;
    neu.YOffset = a.YOffset - dy * a.Hoehe / h;
    return OffsetsBegrenzen(a, neu) ? neu : a;
}

Ausschnitt Verschoben(const Ausschnitt& a, double teilX, double teilY)
{
    Ausschnitt neu = a;
    neu.XOffset = a.XOffset + teilX * a.Breite;
    neu.YOffset = a.YOffset + teilY * a.Hoehe;
    return OffsetsBegrenzen(a, neu) ? neu : a;
}

namespace {
double Angepasst(double alt, double andere, double faktor)
{
    const double neu = std::copysign(std::abs(andere) * faktor, alt);
    return std::isfinite(neu) && neu != 0 ? neu : alt;
}
}  // namespace

Ausschnitt HoeheNachBreite(const Ausschnitt& a, double seitenverhaeltnis)
{
    Ausschnitt neu = a;
    if (std::isfinite(seitenverhaeltnis) && seitenverhaeltnis > 0)
        neu.Hoehe = Angepasst(a.Hoehe, a.Breite, 1.0 / seitenverhaeltnis);
    return neu;
}

Ausschnitt BreiteNachHoehe(const Ausschnitt& a, double seitenverhaeltnis)
{
    Ausschnitt neu = a;
    if (std::isfinite(seitenverhaeltnis) && seitenverhaeltnis > 0)
        neu.Breite = Angepasst(a.Breite, a.Hoehe, seitenverhaeltnis);
    return neu;
}

int RastenNehmen(int& rest, int winkel)
{
    // Wide enough for any sum of two ints.
    const long long summe = (long long)rest + winkel;
    const long long rasten = summe / WinkelProRaste;
    rest = int(summe - rasten * WinkelProRaste);
    return int(rasten);
}
