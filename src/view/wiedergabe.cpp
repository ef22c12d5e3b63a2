#include "wiedergabe.h"

#include <limits>

void Wiedergabe::Beginnen(const ModPlavo& mod, int32_t n, Strichspeicher& speicher, Zeichenflaeche& flaeche)
{
    mod_.KoerperStart = mod.KoerperStart;
    mod_.Intervall = mod.Intervall;
    mod_.DateiName = mod.DateiName;
    ziel_ = n;
    fehler_ = KeinFehler;
    if (speicher.Passt(mod) && speicher.Schritte() <= n) {
        speicher.Zeichnen(flaeche, 0, std::numeric_limits<std::size_t>::max());
        schrittzahl_ = speicher.Schritte();
    } else {
        fehler_ = speicher.Beginnen(mod);
        schrittzahl_ = 0;
    }
    gezeichnet_ = schrittzahl_;
    // A set that cannot be built leaves the working set as it was.
    mod_.KoerperSim = fehler_ == KeinFehler ? speicher.Ende() : mod.KoerperSim;
}

bool Wiedergabe::Arbeiten(Rechenwerk& werk, Strichspeicher& speicher, Zeichenflaeche& flaeche, Uhr::time_point bis)
{
    while (!Fertig()) {
        fehler_ = speicher.Schritt(werk, mod_, mod_.KoerperSim, mod_.Intervall, schrittzahl_, flaeche);
        if (Uhr::now() >= bis)
            break;
    }
    return Fertig();
}
