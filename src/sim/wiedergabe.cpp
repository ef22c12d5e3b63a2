#include "wiedergabe.h"

namespace {
// Kept strokes handed out at a time, so that the caller looks at the clock
// often enough.
constexpr std::size_t StricheJeStueck = std::size_t(1) << 14;
}  // namespace

void Wiedergabe::Beginnen(const ModPlavo& mod, int32_t n, Strichspeicher& speicher, const Laufstand& bisher)
{
    // A copy: the document may change while the replay goes on in slices.
    dokument_ = mod;
    ziel_ = n;
    fehler_ = KeinFehler;
    if (speicher.Passt(mod) && speicher.Schritte() <= n) {
        stand_ = speicher.Ende();
        behalten_ = stand_.Schrittzahl;
        zuZeichnen_ = speicher.AnzahlStriche();
        gezeichnet_ = 0;
        generation_ = speicher.Generation();
    } else {
        Neu(speicher, bisher);
    }
}

void Wiedergabe::Neu(Strichspeicher& speicher, const Laufstand& bisher)
{
    behalten_ = 0;
    zuZeichnen_ = gezeichnet_ = 0;
    fehler_ = speicher.Beginnen(dokument_);
    // A set that cannot be built leaves the bodies where they stood before.
    stand_ = fehler_ == KeinFehler ? speicher.Ende() : bisher;
    stand_.Schrittzahl = 0;
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
    return striche;
}
