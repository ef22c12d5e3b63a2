#include "wiedergabe.h"

namespace {
// Kept strokes drawn between two looks at the clock.
constexpr std::size_t StricheJeBlick = std::size_t(1) << 14;
}  // namespace

void Wiedergabe::Beginnen(const ModPlavo& mod, int32_t n, Strichspeicher& speicher)
{
    mod_.KoerperStart = mod.KoerperStart;
    mod_.Intervall = mod.Intervall;
    mod_.DateiName = mod.DateiName;
    ziel_ = n;
    fehler_ = KeinFehler;
    if (speicher.Passt(mod) && speicher.Schritte() <= n) {
        behalten_ = schrittzahl_ = speicher.Schritte();
        zuZeichnen_ = speicher.Striche();
        gezeichnet_ = 0;
        generation_ = speicher.Generation();
        mod_.KoerperSim = speicher.Ende();
    } else {
        Neu(speicher, mod.KoerperSim);
    }
}

void Wiedergabe::Neu(Strichspeicher& speicher, const KoerperSatz& bisher)
{
    behalten_ = schrittzahl_ = 0;
    zuZeichnen_ = gezeichnet_ = 0;
    fehler_ = speicher.Beginnen(mod_);
    // A set that cannot be built leaves the working set as it was.
    mod_.KoerperSim = fehler_ == KeinFehler ? speicher.Ende() : bisher;
}

double Wiedergabe::Anteil() const
{
    if (ziel_ <= 0)
        return 1;
    const double gezeichnet = zuZeichnen_ > 0 ? double(behalten_) * double(gezeichnet_) / double(zuZeichnen_) : 0;
    return (gezeichnet + double(schrittzahl_ - behalten_)) / double(ziel_);
}

bool Wiedergabe::Arbeiten(Rechenwerk& werk, Strichspeicher& speicher, Zeichenflaeche& flaeche, Uhr::time_point bis,
                          bool rechnen)
{
    while (gezeichnet_ < zuZeichnen_) {
        if (speicher.Generation() != generation_) {
            // The record went while it was being drawn: everything anew.
            flaeche.Cls();
            Neu(speicher, mod_.KoerperSim);
            break;
        }
        gezeichnet_ += speicher.Zeichnen(flaeche, gezeichnet_, StricheJeBlick);
        if (Uhr::now() >= bis)
            return Fertig();
    }
    while (rechnen && !Fertig()) {
        fehler_ = speicher.Schritt(werk, mod_, mod_.KoerperSim, mod_.Intervall, schrittzahl_, flaeche);
        if (Uhr::now() >= bis)
            break;
    }
    return Fertig();
}

void Wiedergabe::SchrittUebernehmen(Strichspeicher& speicher, Zeichenflaeche& flaeche, unsigned fehler,
                                    const std::vector<Strich>& striche, KoerperSatz nachher)
{
    if (fehler != KeinFehler) {
        // As a step computed here: the record is forgotten, the replay ends.
        speicher.Verwerfen();
        fehler_ = fehler;
        return;
    }
    speicher.Aufnehmen(mod_, mod_.KoerperSim, schrittzahl_, mod_.Intervall, striche.data(), striche.size(), nachher);
    flaeche.Striche(striche.data(), striche.size());
    mod_.KoerperSim = std::move(nachher);
    ++schrittzahl_;
}
