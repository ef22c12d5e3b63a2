// SPDX-License-Identifier: GPL-3.0-or-later
#include "schrittkern.h"

#include "helferfaden.h"
#include "kernwahl.h"
#include "zeilenkern.h"

#include <cfenv>
#include <cmath>

void GeschwindigkeitenReferenz(std::size_t n, const double* x, const double* y, const double* m,
                               double* vx, double* vy, double K)
{
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            const double dy = y[i] - y[j];
            const double dx = x[i] - x[j];
            const double r = std::sqrt(dy * dy + dx * dx);
            if (r > 0) {
                const double r3 = r * r * r;
                vx[i] = (x[j] - x[i]) * (K * m[j]) / r3 + vx[i];
                vy[i] = (y[j] - y[i]) * (K * m[j]) / r3 + vy[i];
            }
        }
    }
}

unsigned GeschwindigkeitenMit(Befehlssatz satz, Aufteilung aufteilung, std::size_t n, const double* x,
                              const double* y, const double* m, double* vx, double* vy, double K)
{
    const Zeilenauftrag a{n, x, y, m, vx, vy, vx, vy, K};
    const Zeilenkern kern = KernFuer(satz);

    if (aufteilung == Aufteilung::Automatisch)
        aufteilung = n >= kern.zweiFaedenAb ? Aufteilung::Geteilt : Aufteilung::Allein;
    if (aufteilung != Aufteilung::Allein && n > 0) {
        if (HelferFaden* helfer = HelferFaden::Instanz()) {
            unsigned helferFehler = KeinFehler;
            if (helfer->Rechnen(kern.lauf, kern.gruppe, a, aufteilung != Aufteilung::NurHelfer, helferFehler,
                                aufteilung == Aufteilung::Bremse))
                return FlagsAlsFehler() | helferFehler;
        }
    }
    if (kern.klein && n > 0 && n <= KleinBis && std::fegetround() == FE_TONEAREST)
        kern.klein(a);
    else if (n > 0)
        kern.lauf(a, 0, n);
    return FlagsAlsFehler();
}

unsigned Geschwindigkeiten(std::size_t n, const double* x, const double* y, const double* m,
                           double* vx, double* vy, double K)
{
    return GeschwindigkeitenMit(Befehlssatz::Automatisch, Aufteilung::Automatisch, n, x, y, m, vx, vy, K);
}
