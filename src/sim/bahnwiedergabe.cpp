#include "bahnwiedergabe.h"

#include "sim/aufbau.h"

#include <algorithm>

Bahnwiedergabe::Bahnwiedergabe(const ModPlavo& mod, int32_t schrittzahl, int32_t abstand, BahndatenFormat format)
    : start_(mod.KoerperStart)
    , intervall_(mod.Intervall)
    , schrittzahl_(std::max(schrittzahl, 0))
    , abstand_(std::max(abstand, 1))
    , format_(format)
{
}

unsigned Bahnwiedergabe::Beginnen(std::string& ziel)
{
    stand_.Schrittzahl = 0;
    const unsigned fehler = KoerperSimAufbauen(start_, intervall_, stand_);
    if (fehler != KeinFehler) {
        schrittzahl_ = 0;
        return fehler;
    }
    ziel += BahndatenKopf(format_);
    BahndatenZeilen(ziel, stand_.KoerperSim, 0, stand_.Intervall, format_);
    return KeinFehler;
}

unsigned Bahnwiedergabe::Weiter(std::string& ziel, int32_t schritte)
{
    for (int32_t i = 0; i < schritte && !Fertig(); ++i) {
        // The strokes are not wanted: nothing is drawn.
        const unsigned fehler = werk_.Schritt(stand_).fehler;
        if (fehler != KeinFehler) {
            schrittzahl_ = stand_.Schrittzahl;
            return fehler;
        }
        const int32_t schritt = stand_.Schrittzahl;
        if (schritt % abstand_ == 0 || schritt == schrittzahl_)
            BahndatenZeilen(ziel, stand_.KoerperSim, schritt, stand_.Intervall, format_);
    }
    return KeinFehler;
}
