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

void Lauf::Abgeben(const KoerperSatz& vorher, double intervall, int32_t schrittzahl)
{
    Schrittarbeiter::Auftrag a;
    a.vorher = vorher;
    a.intervall = intervall;
    a.schrittzahl = schrittzahl;
    a.stand = stand_;
    arbeiter_.Abgeben(std::move(a), [this] {
        if (meldung_)
            meldung_();
    });
}

bool Lauf::SchrittAbgeben()
{
    if (arbeiter_.Belegt())
        return false;
    Abgeben(mod_.KoerperSim, mod_.Intervall, schrittzahl_);
    auftragFuerNeuzeichnung_ = false;
    abgegebenStand_ = stand_;
    abgegebenBei_ = schrittzahl_;
    return true;
}

Lauf::Uebernahme Lauf::SchrittUebernehmen(Zeichenflaeche& flaeche)
{
    // A redraw takes the worker's step itself, or ends first.
    if (!arbeiter_.Belegt() || neuzeichnung_)
        return {arbeiter_.Belegt() ? Uebernahme::Unterwegs : Uebernahme::Keine};
    if (!arbeiter_.Fertig())
        return {Uebernahme::Unterwegs};
    Schrittarbeiter::Auftrag a = arbeiter_.Abholen();
    const bool passt = !auftragFuerNeuzeichnung_ && a.stand == stand_ && a.schrittzahl == schrittzahl_
                    && GleicheBits(a.intervall, mod_.Intervall) && BitGleich(a.vorher, mod_.KoerperSim);
    auftragFuerNeuzeichnung_ = false;
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
    if (!neuzeichnung_) {
        vorNeuzeichnung_ = mod_.KoerperSim;
        // The step in flight came before this redraw: it is replayed too.
        if (SchrittZaehlt()) {
            ++schrittzahl_;
            auftragFuerNeuzeichnung_ = true;
        }
    }
    wiedergabe_.Beginnen(mod_, schrittzahl_, speicher_);
    neuzeichnung_ = true;
}

Lauf::Neuzeichnungsstand Lauf::NeuzeichnenArbeiten(Zeichenflaeche& flaeche, Uhr::time_point bis)
{
    if (!neuzeichnung_)
        return Neuzeichnungsstand::Fertig;
    for (;;) {
        if (arbeiter_.Belegt()) {
            if (!arbeiter_.Fertig())
                return Neuzeichnungsstand::Warten;
            // The redraw's own step, or the one that was in flight when it began.
            vorgemerkt_ = arbeiter_.Abholen();
            auftragFuerNeuzeichnung_ = false;
        }
        if (vorgemerkt_ && wiedergabe_.SchrittFaellig() && wiedergabe_.Schrittzahl() == vorgemerkt_->schrittzahl) {
            Schrittarbeiter::Auftrag a = std::move(*vorgemerkt_);
            vorgemerkt_.reset();
            if (GleicheBits(a.intervall, wiedergabe_.Intervall()) && BitGleich(a.vorher, wiedergabe_.Sim()))
                wiedergabe_.SchrittUebernehmen(speicher_, flaeche, a.fehler, a.striche, std::move(a.nachher));
            continue;
        }
        if (wiedergabe_.Fertig()) {
            NeuzeichnungBeenden();
            return Neuzeichnungsstand::Fertig;
        }
        const bool hier = !Nebenlaeufig(wiedergabe_.Sim());
        if (!wiedergabe_.SchrittFaellig() || hier) {
            if (!wiedergabe_.Arbeiten(werk_, speicher_, flaeche, bis, hier) && Uhr::now() >= bis)
                return Neuzeichnungsstand::Weiter;
            continue;
        }
        Abgeben(wiedergabe_.Sim(), wiedergabe_.Intervall(), wiedergabe_.Schrittzahl());
        auftragFuerNeuzeichnung_ = true;
        return Neuzeichnungsstand::Warten;
    }
}

void Lauf::NeuzeichnungBeenden()
{
    neuzeichnung_ = false;
    vorgemerkt_.reset();
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
    vorgemerkt_.reset();
    vorNeuzeichnung_ = {};
}
