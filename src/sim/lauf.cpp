#include "lauf.h"

#include "sim/aufbau.h"

#include <bit>

namespace {
bool GleicheBits(double a, double b)
{
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}
}  // namespace

Lauf::Lauf(ModPlavo& mod, std::size_t budgetBytes)
    : mod_(mod)
    , speicher_(budgetBytes)
{
}

unsigned Lauf::Starten()
{
    if (schrittzahl_ != 0)
        return KeinFehler;
    return KoerperSimAufbauen(mod_);
}

unsigned Lauf::Schritt(Zeichenflaeche& flaeche)
{
    if (SchrittUnterwegs()) {
        const Uebernahme u = SchrittAbwarten(flaeche);
        if (u.art == Uebernahme::Uebernommen && u.fehler != KeinFehler)
            return u.fehler;
    }
    // Each step is also kept for the next redraw, as far as the budget allows.
    return speicher_.Schritt(werk_, mod_, mod_.KoerperSim, mod_.Intervall, schrittzahl_, flaeche);
}

void Lauf::Zuruecksetzen()
{
    NeuzeichnenAbbrechen();
    speicher_.Verwerfen();
    schrittzahl_ = 0;
    ++stand_;
}

unsigned Lauf::DokumentGeladen()
{
    Zuruecksetzen();
    return KoerperSimAufbauen(mod_);
}

void Lauf::DokumentGeaendert()
{
    // A running redraw may still be drawing them; it lets them go when it ends.
    if (!neuzeichnung_ && !speicher_.Passt(mod_))
        speicher_.Verwerfen();
}

bool Lauf::SchrittAbgeben(std::function<void()> fertig)
{
    if (arbeiter_.Belegt())
        return false;
    Schrittarbeiter::Auftrag a;
    a.vorher = mod_.KoerperSim;
    a.intervall = mod_.Intervall;
    a.schrittzahl = schrittzahl_;
    a.stand = stand_;
    return arbeiter_.Abgeben(std::move(a), std::move(fertig));
}

Lauf::Uebernahme Lauf::SchrittUebernehmen(Zeichenflaeche& flaeche)
{
    if (!arbeiter_.Belegt())
        return {};
    if (!arbeiter_.Fertig() || neuzeichnung_)
        return {Uebernahme::Unterwegs};
    Schrittarbeiter::Auftrag a = arbeiter_.Abholen();
    const bool passt = a.stand == stand_ && a.schrittzahl == schrittzahl_ && GleicheBits(a.intervall, mod_.Intervall)
                    && BitGleich(a.vorher, mod_.KoerperSim);
    if (!passt)
        return {Uebernahme::Verworfen};
    if (a.fehler != KeinFehler) {
        speicher_.Verwerfen();
        return {Uebernahme::Uebernommen, a.fehler};
    }
    speicher_.Aufnehmen(mod_, a.vorher, schrittzahl_, a.intervall, a.striche.data(), a.striche.size(), a.nachher);
    flaeche.Striche(a.striche.data(), a.striche.size());
    mod_.KoerperSim = std::move(a.nachher);
    ++schrittzahl_;
    return {Uebernahme::Uebernommen};
}

Lauf::Uebernahme Lauf::SchrittAbwarten(Zeichenflaeche& flaeche)
{
    arbeiter_.Abwarten();
    return SchrittUebernehmen(flaeche);
}

void Lauf::NeuzeichnenBeginnen()
{
    if (!neuzeichnung_)
        vorNeuzeichnung_ = mod_.KoerperSim;
    wiedergabe_.Beginnen(mod_, schrittzahl_, speicher_);
    neuzeichnung_ = true;
}

bool Lauf::NeuzeichnenArbeiten(Zeichenflaeche& flaeche, Uhr::time_point bis)
{
    if (!neuzeichnung_)
        return true;
    if (!wiedergabe_.Arbeiten(werk_, speicher_, flaeche, bis))
        return false;
    NeuzeichnungBeenden();
    return true;
}

void Lauf::NeuzeichnungBeenden()
{
    neuzeichnung_ = false;
    if (BitGleich(mod_.KoerperSim, vorNeuzeichnung_))
        mod_.KoerperSim = wiedergabe_.Sim();
    vorNeuzeichnung_ = {};
    // Kept strokes of a document changed meanwhile were left for the replay to draw.
    if (!speicher_.Passt(mod_))
        speicher_.Verwerfen();
    schrittzahl_ = wiedergabe_.Schrittzahl();
}

void Lauf::NeuzeichnenAbbrechen()
{
    neuzeichnung_ = false;
    vorNeuzeichnung_ = {};
}
