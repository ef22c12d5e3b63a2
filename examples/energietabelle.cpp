// SPDX-License-Identifier: GPL-3.0-or-later
// Runs each example for one orbit at half a day per step and prints, as a
// Markdown table, the energies at the start and at the end and how far the
// total energy moved, from which the user's guide (docs/anleitung.md) takes its table.
//   build/examples/plavo_energietabelle

#include "beispielsysteme.h"
#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "sim/energiebilanz.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

double Umlaufzeit(double r, double masse)
{
    return 2 * std::numbers::pi * std::sqrt(r * r * r / (GravitationsParameter * masse));
}

double Abstand(const Koerper& a, const Koerper& b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

const Koerper& Namens(const KoerperSatz& satz, const char* name)
{
    for (const Koerper& k : satz)
        if (k.NameText().trimmed() == QString::fromUtf8(name))
            return k;
    std::fprintf(stderr, "no body named %s\n", name);
    std::exit(1);
}

// One orbit of each example, in seconds, and what it is.
std::pair<double, const char*> EinUmlauf(const Beispiel& b)
{
    const KoerperSatz& k = b.Koerper;
    if (b.Datei == QStringLiteral("doppelstern.plv")) {
        const Koerper& planet = Namens(k, "Planet");
        double sterne = 0;
        for (const Koerper& s : k)
            if (&s != &planet)
                sterne += s.Masse;
        return {Umlaufzeit(std::hypot(planet.X, planet.Y), sterne), "the planet round both stars"};
    }
    if (b.Datei == QStringLiteral("achterbahn.plv")) {
        const double laenge = Abstand(k[0], k[2]) / std::hypot(Acht::X, Acht::Y);
        return {Acht::Periode * std::sqrt(laenge * laenge * laenge / (GravitationsParameter * k[0].Masse)),
                "the figure-eight's period"};
    }
    const Koerper& sonne = Namens(k, "Sonne");
    const Koerper& erde = Namens(k, "Erde");
    return {Umlaufzeit(Abstand(sonne, erde), sonne.Masse + erde.Masse), "the Earth's year"};
}

QString Zahl(double v, int stellen = 4)
{
    return QString::number(v, 'e', stellen - 1);
}

struct Ergebnis {
    int schritte = 0;
    Energiebilanz anfang, ende;
    double groesste = 0;   // largest relative change of the total energy after any step
    bool ok = true;
};

Ergebnis Laufen(const Beispiel& b, double sekunden, double intervall)
{
    Ergebnis e;
    Laufstand stand;
    if (KoerperSimAufbauen(b.Koerper, intervall, stand) != KeinFehler) {
        e.ok = false;
        return e;
    }
    e.schritte = int(std::lround(sekunden / (intervall * 86400.0)));
    e.anfang = EnergiebilanzBerechnen(stand.KoerperSim, intervall);
    Rechenwerk werk;
    while (stand.Schrittzahl < e.schritte) {
        if (werk.Schritt(stand).fehler != KeinFehler) {
            e.ok = false;
            return e;
        }
        const double a = RelativeAenderung(EnergiebilanzBerechnen(stand.KoerperSim, intervall).Gesamt, e.anfang.Gesamt);
        if (std::abs(a) > std::abs(e.groesste))
            e.groesste = a;
    }
    e.ende = EnergiebilanzBerechnen(stand.KoerperSim, intervall);
    return e;
}

}  // namespace

int main()
{
    std::printf("| File | one orbit | steps | E kin start (J) | E pot start (J) | E start (J) | E kin end (J) | "
                "E pot end (J) | E end (J) | change at the end | largest change | largest change at 2 days |\n");
    std::printf("|---|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    for (const Beispiel& b : Beispiele()) {
        const auto [sekunden, was] = EinUmlauf(b);
        const Ergebnis e = Laufen(b, sekunden, BeispielIntervall);
        const Ergebnis grob = Laufen(b, sekunden, 2);
        if (!e.ok || !grob.ok)
            return 1;
        std::printf("| `%s` | %s, %.1f days | %d | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", qPrintable(b.Datei),
                    was, sekunden / 86400.0, e.schritte, qPrintable(Zahl(e.anfang.Kinetisch)),
                    qPrintable(Zahl(e.anfang.Potentiell)), qPrintable(Zahl(e.anfang.Gesamt)),
                    qPrintable(Zahl(e.ende.Kinetisch)), qPrintable(Zahl(e.ende.Potentiell)),
                    qPrintable(Zahl(e.ende.Gesamt)), qPrintable(Zahl(RelativeAenderung(e.ende.Gesamt, e.anfang.Gesamt), 2)),
                    qPrintable(Zahl(e.groesste, 2)), qPrintable(Zahl(grob.groesste, 2)));
    }
    return 0;
}
