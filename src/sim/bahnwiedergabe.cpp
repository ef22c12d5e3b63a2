// SPDX-License-Identifier: GPL-3.0-or-later
#include "bahnwiedergabe.h"

#include "sim/aufbau.h"

#include <algorithm>
#include <utility>

Bahnwiedergabe::Bahnwiedergabe(const ModPlavo& mod, int32_t schrittzahl, int32_t abstand, BahndatenFormat format,
                               Eingriffe eingriffe)
    : start_(mod.KoerperStart)
    , eingriffe_(std::move(eingriffe))
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
    naechster_ = 0;
    Eingreifen();
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
        Eingreifen();
        const int32_t schritt = stand_.Schrittzahl;
        if (schritt % abstand_ == 0 || schritt == schrittzahl_)
            BahndatenZeilen(ziel, stand_.KoerperSim, schritt, stand_.Intervall, format_);
    }
    return KeinFehler;
}

void Bahnwiedergabe::Eingreifen()
{
    for (; naechster_ < eingriffe_.size() && eingriffe_[naechster_]->Schritt <= stand_.Schrittzahl; ++naechster_)
        if (eingriffe_[naechster_]->Schritt == stand_.Schrittzahl)
            stand_.KoerperSim = eingriffe_[naechster_]->Koerper;
}
