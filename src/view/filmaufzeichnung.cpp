// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmaufzeichnung.h"

#include "sim/lauf.h"

#include <algorithm>

// The film and what the worker tells of it. While tasks are outstanding only
// the worker touches the film; this thread does once it has waited for them.
struct Filmaufzeichnung::Geteilt {
    explicit Geteilt(Filmaufnahme&& a)
        : aufnahme(std::move(a))
    {
    }
    Filmaufnahme aufnahme;
    std::atomic<int> bilder{0};
    // Set after `grund`, which stays as it is from then on.
    std::atomic<bool> gescheitert{false};
    QString grund;
};

// What one task does, in this order.
struct Filmaufzeichnung::Stueck {
    bool leeren = false;
    std::vector<Strich> striche;
    bool bild = false;
    KoerperSatz jetzt;
    std::optional<Bezugslage> lage;   // the frame's, for the dots; none in Fest
    double tage = 0;
};

Filmaufzeichnung::Filmaufzeichnung(Lauf& lauf, Arbeiter& arbeiter, std::unique_ptr<Filmschreiber> schreiber,
                                   const Ausschnitt& ausschnitt, const Filmueberlagen& ueberlagen,
                                   int schritteProBild, const Bezugssystem& bezug)
    : lauf_(lauf)
    , arbeiter_(arbeiter)
    , geteilt_(std::make_shared<Geteilt>(Filmaufnahme(std::move(schreiber), ausschnitt, ueberlagen)))
    , offen_(std::make_shared<Stueck>())
    , koerperNoetig_(ueberlagen.Punkte || ueberlagen.Namen)
    , k_(std::max(1, schritteProBild))
{
    projektion_.Setzen(bezug);
    sammeln_ = [this](std::span<const Strich> s) { Sammeln(s); };
    // What the picture draws, the film draws (LaufBild's subscriptions), so a
    // frame's trails are the picture export's at the film's size.
    verbindungen_[0] = connect(&lauf_, &Lauf::schrittGemacht, this, &Filmaufzeichnung::SchrittGemacht);
    verbindungen_[1] = connect(&lauf_, &Lauf::wiedergegeben, this, &Filmaufzeichnung::Gezeichnet);
    verbindungen_[2] = connect(&lauf_, &Lauf::zurueckgesetzt, this, &Filmaufzeichnung::Zurueckgesetzt);
    verbindungen_[3] = connect(&lauf_, &Lauf::neuzeichnungBegonnen, this, &Filmaufzeichnung::Geleert);
    verbindungen_[4] = connect(&lauf_, &Lauf::neuzeichnungBeendet, this, &Filmaufzeichnung::NeuzeichnungBeendet);
    // A redraw dropped halfway leaves no half step behind for the next one.
    verbindungen_[5] = connect(&lauf_, &Lauf::neuzeichnungAbgebrochen, this, [this] { projektion_.Beginnen(); });
}

const KoerperSatz& Filmaufzeichnung::Koerper() const
{
    return lauf_.NeuzeichnungLaeuft() ? lauf_.Neuzeichnung().Stand().KoerperSim : lauf_.Stand().KoerperSim;
}

Filmaufzeichnung::~Filmaufzeichnung()
{
    Verwerfen();
}

void Filmaufzeichnung::Trennen()
{
    for (const QMetaObject::Connection& v : verbindungen_)
        disconnect(v);
}

void Filmaufzeichnung::Beginnen()
{
    // At step 0 the redraw ends at once, with nothing drawn.
    lauf_.Neuzeichnen();
}

int Filmaufzeichnung::Bilder() const
{
    return geteilt_->bilder.load(std::memory_order_acquire);
}

bool Filmaufzeichnung::Gescheitert() const
{
    return geteilt_->gescheitert.load(std::memory_order_acquire);
}

void Filmaufzeichnung::Gezeichnet(std::span<const Strich> striche)
{
    projektion_.Striche(striche, Koerper(), sammeln_);
}

void Filmaufzeichnung::Sammeln(std::span<const Strich> striche)
{
    offen_->striche.insert(offen_->striche.end(), striche.begin(), striche.end());
    if (offen_->striche.size() >= Buendel)
        Abgeben();
}

void Filmaufzeichnung::Geleert()
{
    // What was gathered would be wiped anyway.
    offen_->striche.clear();
    offen_->leeren = true;
    projektion_.Beginnen();
}

void Filmaufzeichnung::Zurueckgesetzt()
{
    Geleert();
    // The redraw the first frame waited for was dropped: the film begins white.
    NeuzeichnungBeendet();
}

void Filmaufzeichnung::NeuzeichnungBeendet()
{
    if (!ersterOffen_)
        return;
    ersterOffen_ = false;
    BildAbgeben();
}

void Filmaufzeichnung::SchrittGemacht(std::span<const Strich> striche)
{
    projektion_.Schritt(striche, Koerper(), sammeln_);
    if (ersterOffen_)
        return;
    if (++schritte_ % k_ == 0)
        BildAbgeben();
}

void Filmaufzeichnung::BildAbgeben()
{
    offen_->bild = true;
    if (koerperNoetig_) {
        offen_->jetzt = lauf_.Jetzt();
        const Bezugssystem& bezug = projektion_.System();
        if (!bezug.Fest()) {
            // As the picture places its dots: a pair that coincides now keeps
            // the direction its trails last had.
            Bezugssystem::Richtung richtung = projektion_.Richtung();
            offen_->lage = bezug.LageJetzt(offen_->jetzt, lauf_.Stand().Schrittzahl > 0, lauf_.Mod().Intervall,
                                           richtung);
        }
    }
    // The days as the caption counts them.
    offen_->tage = double(lauf_.Schrittzahl()) * lauf_.Stand().Intervall;
    ++abgegeben_;
    Abgeben();
}

void Filmaufzeichnung::Aufraeumen(std::size_t hoechstens)
{
    while (!marken_.empty() && marken_.front().Fertig())
        marken_.pop_front();
    while (marken_.size() >= hoechstens && !marken_.empty()) {
        marken_.front().Abwarten();
        marken_.pop_front();
    }
}

bool Filmaufzeichnung::Frei()
{
    Aufraeumen(std::size_t(-1));
    return marken_.size() < Warteschlange;
}

void Filmaufzeichnung::Abgeben()
{
    std::shared_ptr<Stueck> s = std::exchange(offen_, std::make_shared<Stueck>());
    if (Gescheitert())
        return;
    Aufraeumen(Warteschlange);
    std::shared_ptr<Geteilt> g = geteilt_;
    marken_.push_back(arbeiter_.Abgeben({[g, s](const std::atomic<bool>&) {
                                             if (g->gescheitert.load(std::memory_order_relaxed))
                                                 return;
                                             if (s->leeren)
                                                 g->aufnahme.Leeren();
                                             g->aufnahme.Striche(s->striche);
                                             if (!s->bild)
                                                 return;
                                             if (g->aufnahme.Bild(s->jetzt, s->tage, s->lage ? &*s->lage : nullptr)) {
                                                 g->bilder.fetch_add(1, std::memory_order_release);
                                             } else {
                                                 g->grund = g->aufnahme.Fehler();
                                                 g->gescheitert.store(true, std::memory_order_release);
                                             }
                                         },
                                         this, [this] { Erledigt(); }}));
}

void Filmaufzeichnung::Erledigt()
{
    if (Gescheitert() && !gemeldet_ && laeuft_) {
        gemeldet_ = true;
        emit fehlgeschlagen();
    }
    emit erledigt();
}

std::optional<QString> Filmaufzeichnung::Beenden()
{
    if (!laeuft_)
        return std::nullopt;
    laeuft_ = false;
    Trennen();
    // Strokes after the last frame are in no frame.
    offen_ = std::make_shared<Stueck>();
    Aufraeumen(1);
    return geteilt_->aufnahme.Beenden();
}

void Filmaufzeichnung::Verwerfen()
{
    if (!laeuft_)
        return;
    laeuft_ = false;
    Trennen();
    for (const Arbeiter::Marke& m : marken_)
        m.Abbrechen();
    Aufraeumen(1);
    geteilt_->aufnahme.Verwerfen();
}
