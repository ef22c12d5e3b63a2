// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmaufnahme.h"

Filmaufnahme::Filmaufnahme(std::unique_ptr<Filmschreiber> schreiber, const Ausschnitt& ausschnitt,
                           const Filmueberlagen& ueberlagen)
    : schreiber_(std::move(schreiber))
    , bild_(schreiber_->Groesse(), FilmAusschnitt(ausschnitt, schreiber_->Groesse()))
    , ueberlagen_(ueberlagen)
{
}

void Filmaufnahme::MitteSetzen()
{
    Ausschnitt a = bild_.Bereich();
    a.XOffset = a.YOffset = 0;
    bild_.BereichSetzen(a);
}

bool Filmaufnahme::Bild(const KoerperSatz& jetzt, double tage, const Bezugslage* lage)
{
    if (!schreiber_ || !fehler_.isEmpty())
        return false;
    if (schreiber_->Bild(bild_.Bild(jetzt, tage, ueberlagen_, lage)))
        return true;
    fehler_ = schreiber_->Fehler();
    return false;
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
