#include "bahnwiedergabe.h"

#include "sim/aufbau.h"

#include <algorithm>

Bahnwiedergabe::Bahnwiedergabe(const ModPlavo& mod, int32_t schrittzahl, int32_t abstand, BahndatenFormat format)
    : mod_(mod)
    , schrittzahl_(std::max(schrittzahl, 0))
    , abstand_(std::max(abstand, 1))
    , format_(format)
{
}

unsigned Bahnwiedergabe::Beginnen(std::string& ziel)
{
    schritt_ = 0;
    const unsigned fehler = KoerperSimAufbauen(mod_);
    if (fehler != KeinFehler) {
        schrittzahl_ = 0;
        return fehler;
    }
    ziel += BahndatenKopf(format_);
    BahndatenZeilen(ziel, mod_.KoerperSim, 0, mod_.Intervall, format_);
    return KeinFehler;
}

unsigned Bahnwiedergabe::Weiter(std::string& ziel, int32_t schritte)
{
    for (int32_t i = 0; i < schritte && !Fertig(); ++i) {
        const unsigned fehler = werk_.Schritt(mod_.KoerperSim, mod_.Intervall, schritt_, flaeche_);
        if (fehler != KeinFehler) {
            schrittzahl_ = schritt_;
            return fehler;
        }
        if (schritt_ % abstand_ == 0 || schritt_ == schrittzahl_)
            BahndatenZeilen(ziel, mod_.KoerperSim, schritt_, mod_.Intervall, format_);
    }
    return KeinFehler;
}
