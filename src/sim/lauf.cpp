// SPDX-License-Identifier: GPL-3.0-or-later
#include "lauf.h"

#include "sim/aufbau.h"

#include <utility>
#include <vector>

// A step on the worker: what it starts from, and what it gives back. The
// worker writes the result; this thread reads it once the mark says done.
struct Lauf::Schrittauftrag {
    Laufstand vorher;
    uint64_t laufnummer = 0;
    Laufstand nachher;
    std::vector<Strich> striche;
    unsigned fehler = KeinFehler;
};

Lauf::Lauf(const ModPlavo& mod, Arbeiter& arbeiter, std::size_t budgetBytes)
    : mod_(mod)
    , arbeiter_(arbeiter)
    , speicher_(budgetBytes)
{
    stand_.Intervall = mod_.Intervall;
    // Interval 0: the next slice as soon as the window has handled its events.
    scheiben_.setInterval(0);
    connect(&scheiben_, &QTimer::timeout, this, &Lauf::Scheibe);
}

Lauf::~Lauf()
{
    marke_.Abbrechen();
    marke_.Abwarten();
}

unsigned Lauf::Starten()
{
    if (Schrittzahl() != 0 || SchrittZaehlt())
        return KeinFehler;
    const unsigned fehler = KoerperSimAufbauen(mod_, stand_);
    if (fehler == KeinFehler)
        emit standGeaendert();
    return fehler;
}

unsigned Lauf::VorigesAbschliessen()
{
    NeuzeichnungAbschliessen();
    // A tick's step still in flight comes first, as if this came after it.
    const Uebernahme u = SchrittAbwarten();
    return u.art == Uebernahme::Uebernommen ? u.fehler : KeinFehler;
}

unsigned Lauf::Takt()
{
    if (const unsigned fehler = VorigesAbschliessen(); fehler != KeinFehler)
        return fehler;
    // The window goes on while the worker computes.
    if (Nebenlaeufig()) {
        SchrittAbgeben();
        return KeinFehler;
    }
    return SchrittRechnen();
}

unsigned Lauf::Schritt()
{
    if (const unsigned fehler = VorigesAbschliessen(); fehler != KeinFehler)
        return fehler;
    return SchrittRechnen();
}

unsigned Lauf::SchrittRechnen()
{
    // Each step is also kept for the next redraw, as far as the budget allows.
    const bool behalten = speicher_.Fortsetzen(mod_, stand_);
    const Schrittergebnis e = werk_.Schritt(stand_);
    if (e.fehler != KeinFehler) {
        speicher_.Verwerfen();
        emit schrittFehlgeschlagen(e.fehler);
        return e.fehler;
    }
    if (behalten)
        speicher_.Anhaengen(e.striche, stand_);
    emit schrittGemacht(e.striche);
    emit standGeaendert();
    return KeinFehler;
}

void Lauf::Zuruecksetzen()
{
    NeuzeichnenAbbrechen();
    speicher_.Verwerfen();
    eingriffe_.clear();
    stand_.Schrittzahl = 0;
    ++laufnummer_;
    emit zurueckgesetzt();
    emit standGeaendert();
}

unsigned Lauf::DokumentGeladen()
{
    NeuzeichnenAbbrechen();
    speicher_.Verwerfen();
    eingriffe_.clear();
    stand_.Schrittzahl = 0;
    ++laufnummer_;
    ++dokumentNummer_;
    const unsigned fehler = DokumentAufbauen();
    emit zurueckgesetzt();
    emit standGeaendert();
    return fehler;
}

void Lauf::KoerperGeaendert()
{
    ++dokumentNummer_;
    if (Schrittzahl() > 0 || SchrittZaehlt()) {
        // The run replayed from the new bodies; the record of the old ones
        // no longer fits and is begun anew.
        emit standGeaendert();
        Neuzeichnen();
        return;
    }
    if (!speicher_.Passt(mod_, eingriffe_))
        speicher_.Verwerfen();
    // A fault is reported by the start, which builds it again.
    DokumentAufbauen();
    emit standGeaendert();
}

unsigned Lauf::DokumentAufbauen()
{
    const unsigned fehler = KoerperSimAufbauen(mod_, stand_);
    if (fehler != KeinFehler) {
        // Never the old document's bodies: empty ones, until the start
        // builds them again (and reports the fault).
        stand_.KoerperSim.assign(mod_.KoerperStart.size(), Koerper{});
        stand_.Intervall = mod_.Intervall;
    }
    return fehler;
}

void Lauf::IntervallGeaendert()
{
    stand_.Intervall = mod_.Intervall;
    // A running redraw may still be drawing them; it lets them go when it ends.
    if (!neuzeichnung_ && !speicher_.Passt(mod_, eingriffe_))
        speicher_.Verwerfen();
    emit standGeaendert();
}

bool Lauf::SchrittZaehlt() const
{
    return auftrag_ && !auftragFuerNeuzeichnung_ && auftrag_->laufnummer == laufnummer_
        && auftrag_->vorher.Schrittzahl == stand_.Schrittzahl;
}

void Lauf::Abgeben(const Laufstand& vorher)
{
    auto a = std::make_shared<Schrittauftrag>();
    a->vorher = vorher;
    a->laufnummer = laufnummer_;
    Rechenwerk* werk = &werkNebenher_;
    marke_ = arbeiter_.Abgeben({[a, werk](const std::atomic<bool>&) {
                                    a->nachher = a->vorher;
                                    const Schrittergebnis e = werk->Schritt(a->nachher);
                                    a->fehler = e.fehler;
                                    a->striche.assign(e.striche.begin(), e.striche.end());
                                },
                                this, [this] { SchrittFertig(); }});
    auftrag_ = std::move(a);
}

bool Lauf::SchrittAbgeben()
{
    if (auftrag_)
        return false;
    Abgeben(stand_);
    auftragFuerNeuzeichnung_ = false;
    return true;
}

Lauf::Uebernahme Lauf::SchrittUebernehmen()
{
    // A redraw takes the worker's step itself, or ends first.
    if (!auftrag_ || neuzeichnung_)
        return {auftrag_ ? Uebernahme::Unterwegs : Uebernahme::Keine};
    if (!marke_.Fertig())
        return {Uebernahme::Unterwegs};
    const std::shared_ptr<Schrittauftrag> a = std::move(auftrag_);
    marke_ = {};
    const bool passt = !auftragFuerNeuzeichnung_ && a->laufnummer == laufnummer_ && BitGleich(a->vorher, stand_);
    auftragFuerNeuzeichnung_ = false;
    if (!passt)
        return {Uebernahme::Verworfen};
    if (a->fehler != KeinFehler) {
        speicher_.Verwerfen();
        emit schrittFehlgeschlagen(a->fehler);
        return {Uebernahme::Uebernommen, a->fehler};
    }
    speicher_.Aufnehmen(mod_, a->vorher, a->striche, a->nachher);
    stand_ = std::move(a->nachher);
    emit schrittGemacht(a->striche);
    emit standGeaendert();
    return {Uebernahme::Uebernommen};
}

Lauf::Uebernahme Lauf::SchrittAbwarten()
{
    marke_.Abwarten();
    return SchrittUebernehmen();
}

void Lauf::SchrittAbschliessen()
{
    if (!SchrittUnterwegs())
        return;
    // The step comes after the replayed ones: a redraw ends first.
    NeuzeichnungAbschliessen();
    SchrittAbwarten();
}

void Lauf::SchrittFertig()
{
    if (neuzeichnung_) {
        if (!scheiben_.isActive())
            Scheibe();
    } else {
        SchrittUebernehmen();
    }
}

void Lauf::NeuzeichnenBeginnen()
{
    int32_t ziel = Schrittzahl();
    if (!neuzeichnung_ && SchrittZaehlt()) {
        // The step in flight came before this redraw: it is replayed too.
        ++ziel;
        auftragFuerNeuzeichnung_ = true;
    }
    if (ziel == 0) {
        // Nothing computed yet: a white picture, and the run as it stands.
        emit neuzeichnungBegonnen();
        emit neuzeichnungBeendet(KeinFehler);
        return;
    }
    wiedergabe_.Beginnen(mod_, eingriffe_, ziel, speicher_, stand_);
    neuzeichnung_ = true;
    emit neuzeichnungBegonnen();
}

void Lauf::Neuzeichnen()
{
    NeuzeichnenBeginnen();
    scheiben_.stop();
    Scheibe();
}

void Lauf::Scheibe()
{
    if (!neuzeichnung_) {
        scheiben_.stop();
        return;
    }
    const Neuzeichnungsstand stand = NeuzeichnenArbeiten(Uhr::now() + scheibe_);
    if (stand == Neuzeichnungsstand::Fertig)
        return;
    // While the worker computes, no slice is due until it reports back.
    if (stand == Neuzeichnungsstand::Warten)
        scheiben_.stop();
    else if (!scheiben_.isActive())
        scheiben_.start();
    emit neuzeichnungFortschritt(int(wiedergabe_.Anteil() * 100));
}

Lauf::Neuzeichnungsstand Lauf::NeuzeichnenArbeiten(Uhr::time_point bis)
{
    if (!neuzeichnung_)
        return Neuzeichnungsstand::Fertig;
    for (;;) {
        if (auftrag_) {
            if (!marke_.Fertig())
                return Neuzeichnungsstand::Warten;
            // The redraw's own step, or the one that was in flight when it began.
            vorgemerkt_ = std::move(auftrag_);
            marke_ = {};
            auftragFuerNeuzeichnung_ = false;
        }
        if (vorgemerkt_ && wiedergabe_.SchrittFaellig()
            && wiedergabe_.Stand().Schrittzahl == vorgemerkt_->vorher.Schrittzahl) {
            const std::shared_ptr<Schrittauftrag> a = std::move(vorgemerkt_);
            if (BitGleich(a->vorher, wiedergabe_.Stand())) {
                const std::span<const Strich> s =
                    wiedergabe_.SchrittUebernehmen(speicher_, a->fehler, a->striche, std::move(a->nachher));
                if (!s.empty())
                    emit wiedergegeben(s);
            }
            continue;
        }
        if (wiedergabe_.Fertig()) {
            NeuzeichnungBeenden();
            return Neuzeichnungsstand::Fertig;
        }
        const bool hier = !Nebenlaeufig(wiedergabe_.Stand().KoerperSim);
        if (!wiedergabe_.SchrittFaellig() || hier) {
            const Wiedergabe::Stueck stueck = wiedergabe_.Weiter(werk_, speicher_);
            if (stueck.vonVorn)
                emit neuzeichnungBegonnen();
            if (!stueck.striche.empty())
                emit wiedergegeben(stueck.striche);
            if (!wiedergabe_.Fertig() && Uhr::now() >= bis)
                return Neuzeichnungsstand::Weiter;
            continue;
        }
        Abgeben(wiedergabe_.Stand());
        auftragFuerNeuzeichnung_ = true;
        return Neuzeichnungsstand::Warten;
    }
}

void Lauf::NeuzeichnungAbschliessen()
{
    while (neuzeichnung_) {
        if (NeuzeichnenArbeiten(Uhr::time_point::max()) == Neuzeichnungsstand::Warten)
            marke_.Abwarten();
    }
}

void Lauf::NeuzeichnungBeenden()
{
    neuzeichnung_ = false;
    scheiben_.stop();
    vorgemerkt_.reset();
    // The interval in use stays: a new one may have come during the replay.
    const Laufstand& ende = wiedergabe_.Stand();
    const bool anders = ende.Schrittzahl != stand_.Schrittzahl || !BitGleich(ende.KoerperSim, stand_.KoerperSim);
    stand_.KoerperSim = ende.KoerperSim;
    stand_.Schrittzahl = ende.Schrittzahl;
    // Kept strokes of a document changed meanwhile were left for the replay to draw.
    if (!speicher_.Passt(mod_, eingriffe_))
        speicher_.Verwerfen();
    emit neuzeichnungBeendet(wiedergabe_.Fehler());
    if (anders)
        emit standGeaendert();
    // A step the worker finished meanwhile follows the replayed ones.
    SchrittUebernehmen();
}

void Lauf::NeuzeichnenAbbrechen()
{
    if (!neuzeichnung_)
        return;
    neuzeichnung_ = false;
    scheiben_.stop();
    vorgemerkt_.reset();
    emit neuzeichnungAbgebrochen();
    // A step that came back during the replay waited for it; it must not wait for ever.
    SchrittUebernehmen();
}

std::vector<int32_t> Lauf::Zeilen() const
{
    if (!eingriffe_.empty() && stand_.Schrittzahl > 0)
        return eingriffe_.back()->Zeilen;
    std::vector<int32_t> zeilen(Jetzt().size());
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        zeilen[i] = int32_t(i);
    return zeilen;
}

Lauf::Zustand Lauf::ZustandNehmen()
{
    VorigesAbschliessen();
    return {eingriffe_, stand_};
}

EingriffPtr Lauf::Eingreifen(KoerperSatz koerper, std::vector<int32_t> zeilen)
{
    const Zustand vorher = ZustandNehmen();
    if (vorher.stand.Schrittzahl == 0)
        return nullptr;
    auto e = std::make_shared<const Eingriff>(Eingriff{vorher.stand.Schrittzahl, std::move(koerper), std::move(zeilen)});
    ZustandHerstellen(vorher, e);
    return e;
}

void Lauf::Anwenden(const EingriffPtr& eingriff)
{
    speicher_.Eingreifen(eingriff, stand_);
    stand_.KoerperSim = eingriff->Koerper;
    eingriffe_.push_back(eingriff);
}

void Lauf::ZustandHerstellen(const Zustand& zustand, const EingriffPtr& danach)
{
    // A redraw or a step of what is being left behind must not come back.
    NeuzeichnenAbbrechen();
    const bool dort = !SchrittZaehlt() && eingriffe_ == zustand.eingriffe && BitGleich(stand_, zustand.stand);
    if (!dort) {
        ++laufnummer_;
        eingriffe_ = zustand.eingriffe;
        stand_ = zustand.stand;
        if (!speicher_.Ansetzen(eingriffe_, stand_) && !speicher_.Passt(mod_, eingriffe_))
            speicher_.Verwerfen();
    }
    if (danach && danach->Schritt == stand_.Schrittzahl)
        Anwenden(danach);
    emit standGeaendert();
    if (!dort)
        Neuzeichnen();
}

Eingriffe Lauf::EingriffeNehmen()
{
    return std::exchange(eingriffe_, {});
}

void Lauf::EingriffeSetzen(Eingriffe eingriffe)
{
    eingriffe_ = std::move(eingriffe);
}
