#include "filmaufnahme.h"

#include <algorithm>

Filmaufnahme::Filmaufnahme(std::unique_ptr<Filmschreiber> schreiber, const Ausschnitt& ausschnitt,
                           int schritteProBild, const Filmueberlagen& ueberlagen)
    : schreiber_(std::move(schreiber))
    , bild_(schreiber_->Groesse(), FilmAusschnitt(ausschnitt, schreiber_->Groesse()))
    , ueberlagen_(ueberlagen)
    , k_(std::max(1, schritteProBild))
{
}

bool Filmaufnahme::Aufnehmen(const KoerperSatz& jetzt, int32_t schrittzahl, double intervall)
{
    if (!schreiber_ || !fehler_.isEmpty())
        return false;
    if (schreiber_->Bild(bild_.Bild(jetzt, double(schrittzahl) * intervall, ueberlagen_)))
        return true;
    fehler_ = schreiber_->Fehler();
    return false;
}

bool Filmaufnahme::Beginnen(const KoerperSatz& jetzt, int32_t schrittzahl, double intervall)
{
    beginn_ = schrittzahl;
    return Aufnehmen(jetzt, schrittzahl, intervall);
}

bool Filmaufnahme::Schritt(const Strich* striche, std::size_t anzahl, const KoerperSatz& jetzt, int32_t schrittzahl,
                           double intervall)
{
    if (!fehler_.isEmpty())
        return false;
    bild_.Striche(striche, anzahl);
    if ((int64_t(schrittzahl) - beginn_) % k_ != 0)
        return true;
    return Aufnehmen(jetzt, schrittzahl, intervall);
}

std::optional<QString> Filmaufnahme::Beenden()
{
    if (!schreiber_)
        return fehler_.isEmpty() ? std::nullopt : std::optional<QString>(fehler_);
    auto ergebnis = schreiber_->Abschliessen();
    bilder_ = schreiber_->Bilder();
    schreiber_.reset();
    if (ergebnis)
        fehler_ = *ergebnis;
    return ergebnis;
}

void Filmaufnahme::Verwerfen()
{
    if (schreiber_)
        schreiber_->Verwerfen();
    schreiber_.reset();
    bilder_ = 0;
}
