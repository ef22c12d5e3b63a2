// SPDX-License-Identifier: GPL-3.0-or-later
#include "wiedergabe.h"

namespace {
// Kept strokes handed out at a time, so that the caller looks at the clock
// often enough.
constexpr std::size_t StricheJeStueck = std::size_t(1) << 14;
}  // namespace

void Wiedergabe::Beginnen(const ModPlavo& mod, const Eingriffe& eingriffe, int32_t n, Strichspeicher& speicher,
                          const Laufstand& bisher)
{
    // Copies: the document and the interventions may change while the replay goes on in slices.
    dokument_ = mod;
    eingriffe_ = eingriffe;
    ziel_ = n;
    fehler_ = KeinFehler;
    if (speicher.Passt(mod, eingriffe) && speicher.Schritte() <= n) {
        stand_ = speicher.Ende();
        naechster_ = speicher.AnzahlEingriffe();
        behalten_ = stand_.Schrittzahl;
        zuZeichnen_ = speicher.AnzahlStriche();
        gezeichnet_ = 0;
        generation_ = speicher.Generation();
        Eingreifen(speicher);
    } else {
        Neu(speicher, bisher);
    }
}

void Wiedergabe::Eingreifen(Strichspeicher& speicher)
{
    if (fehler_ != KeinFehler)
        return;
    while (naechster_ < eingriffe_.size() && eingriffe_[naechster_]->Schritt <= stand_.Schrittzahl) {
        const EingriffPtr& e = eingriffe_[naechster_++];
        // One the replay has passed (it cannot happen in a run's own history) is left out.
        if (e->Schritt != stand_.Schrittzahl)
            continue;
        speicher.Eingreifen(e, stand_);
        stand_.KoerperSim = e->Koerper;
    }
}

void Wiedergabe::Neu(Strichspeicher& speicher, const Laufstand& bisher)
{
    behalten_ = 0;
    zuZeichnen_ = gezeichnet_ = 0;
    naechster_ = 0;
    fehler_ = speicher.Beginnen(dokument_);
    // A set that cannot be built leaves the bodies where they stood before.
    stand_ = fehler_ == KeinFehler ? speicher.Ende() : bisher;
    stand_.Schrittzahl = 0;
    Eingreifen(speicher);
}

double Wiedergabe::Anteil() const
{
    if (ziel_ <= 0)
        return 1;
    const double gezeichnet = zuZeichnen_ > 0 ? double(behalten_) * double(gezeichnet_) / double(zuZeichnen_) : 0;
    return (gezeichnet + double(stand_.Schrittzahl - behalten_)) / double(ziel_);
}

Wiedergabe::Stueck Wiedergabe::Weiter(Rechenwerk& werk, Strichspeicher& speicher)
{
    if (gezeichnet_ < zuZeichnen_) {
        if (speicher.Generation() == generation_) {
            const std::span<const Strich> s = speicher.Striche(gezeichnet_, StricheJeStueck);
            gezeichnet_ += s.size();
            return {s};
        }
        // The record went while it was being drawn: everything anew.
        const Laufstand bisher = stand_;
        Neu(speicher, bisher);
        Stueck s = Fertig() ? Stueck{} : Weiter(werk, speicher);
        s.vonVorn = true;
        return s;
    }
    if (Fertig())
        return {};
    const bool behalten = speicher.Fortsetzen(dokument_, stand_);
    const Schrittergebnis e = werk.Schritt(stand_);
    if (e.fehler != KeinFehler) {
        speicher.Verwerfen();
        fehler_ = e.fehler;
        return {};
    }
    if (behalten)
        speicher.Anhaengen(e.striche, stand_);
    Eingreifen(speicher);
    return {e.striche};
}

std::span<const Strich> Wiedergabe::SchrittUebernehmen(Strichspeicher& speicher, unsigned fehler,
                                                       std::span<const Strich> striche, Laufstand nachher)
{
    if (fehler != KeinFehler) {
        // As a step computed here: the record is forgotten, the replay ends.
        speicher.Verwerfen();
        fehler_ = fehler;
        return {};
    }
    speicher.Aufnehmen(dokument_, stand_, striche, nachher);
    stand_ = std::move(nachher);
    Eingreifen(speicher);
    return striche;
}
