// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmaufzeichnung.h"

#include "sim/lauf.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <mutex>

// The film and what the worker tells of it. A task holds `sperre` while it
// works on the film; this thread takes it to end the film early, so that
// it never waits for tasks the worker has not begun.
struct Filmaufzeichnung::Geteilt {
    explicit Geteilt(Filmaufnahme&& a)
        : aufnahme(std::move(a))
    {
    }
    Filmaufnahme aufnahme;
    std::mutex sperre;
    bool aus = false;   // the film is ended: tasks still to come do nothing
    std::atomic<int> bilder{0};
    // Set after `grund`, which stays as it is from then on.
    std::atomic<bool> gescheitert{false};
    QString grund;
};

// What one task does, in this order.
struct Filmaufzeichnung::Stueck {
    std::optional<QString> bezugText;   // the frame's label from now on
    bool mitte = false;                 // the frame's origin to the centre
    bool leeren = false;
    std::vector<Strich> striche;
    bool bild = false;
    KoerperSatz jetzt;
    std::optional<Bezugslage> lage;   // the frame's, for the dots; none in Fest
    double tage = 0;

    std::size_t Bytes() const
    {
        return sizeof(Stueck) + striche.capacity() * sizeof(Strich) + jetzt.capacity() * sizeof(::Koerper);
    }
};

struct Filmaufzeichnung::Unterwegs {
    Arbeiter::Marke marke;
    std::size_t bytes;
};

Filmaufzeichnung::Filmaufzeichnung(Lauf& lauf, Arbeiter& arbeiter, std::unique_ptr<Filmschreiber> schreiber,
                                   const Ausschnitt& ausschnitt, const Filmueberlagen& ueberlagen,
                                   int schritteProBild, const Bezugssystem& bezug, std::size_t speicher)
    : lauf_(lauf)
    , arbeiter_(arbeiter)
    , geteilt_(std::make_shared<Geteilt>(Filmaufnahme(std::move(schreiber), ausschnitt, ueberlagen)))
    , offen_(std::make_shared<Stueck>())
    , speicher_(speicher)
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

void Filmaufzeichnung::BezugSetzen(const Bezugssystem& bezug, const QString& text, bool mitte)
{
    if (!laeuft_)
        return;
    // Strokes gathered so far belong to the old frame and the old section.
    if (!offen_->striche.empty())
        Abgeben();
    projektion_.Setzen(bezug);
    offen_->bezugText = text;
    offen_->mitte = offen_->mitte || mitte;
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

void Filmaufzeichnung::Abgeben()
{
    std::shared_ptr<Stueck> s = std::exchange(offen_, std::make_shared<Stueck>());
    if (Gescheitert())
        return;
    bytes_ += s->Bytes();
    wartend_.push_back(std::move(s));
    Austragen();
    Nachschieben();
    // Only a full pending memory holds the run back.
    Abwarten(speicher_);
}

void Filmaufzeichnung::Nachschieben()
{
    while (unterwegs_.size() < ImFlug && !wartend_.empty())
        Anvertrauen();
}

void Filmaufzeichnung::Anvertrauen()
{
    std::shared_ptr<Stueck> s = std::move(wartend_.front());
    wartend_.pop_front();
    const std::size_t bytes = s->Bytes();
    std::shared_ptr<Geteilt> g = geteilt_;
    // The report goes through the application, which outlives any
    // recording, so a recording ended early need not wait for its tasks.
    QPointer<Filmaufzeichnung> selbst(this);
    Arbeiter::Marke m = arbeiter_.Abgeben(
        {[g, s = std::move(s)](const std::atomic<bool>&) {
             const std::lock_guard<std::mutex> l(g->sperre);
             if (g->aus || g->gescheitert.load(std::memory_order_relaxed))
                 return;
             Filmaufnahme& a = g->aufnahme;
             if (s->bezugText)
                 a.BezugTextSetzen(*s->bezugText);
             if (s->mitte)
                 a.MitteSetzen();
             if (s->leeren)
                 a.Leeren();
             a.Striche(s->striche);
             if (!s->bild)
                 return;
             if (a.Bild(s->jetzt, s->tage, s->lage ? &*s->lage : nullptr)) {
                 g->bilder.fetch_add(1, std::memory_order_release);
             } else {
                 g->grund = a.Fehler();
                 g->gescheitert.store(true, std::memory_order_release);
             }
         },
         QCoreApplication::instance(), [selbst] {
             if (selbst)
                 selbst->Erledigt();
         }});
    unterwegs_.push_back({std::move(m), bytes});
}

void Filmaufzeichnung::Austragen()
{
    while (!unterwegs_.empty() && unterwegs_.front().marke.Fertig()) {
        bytes_ -= unterwegs_.front().bytes;
        unterwegs_.pop_front();
    }
}

void Filmaufzeichnung::Abwarten(std::size_t hoechstens)
{
    for (;;) {
        Austragen();
        Nachschieben();
        if (bytes_ <= hoechstens || unterwegs_.empty())
            return;
        unterwegs_.front().marke.Abwarten();
    }
}

bool Filmaufzeichnung::Frei()
{
    // Whoever asks keeps the worker fed between the queued reports of its tasks.
    Austragen();
    Nachschieben();
    return bytes_ < speicher_;
}

void Filmaufzeichnung::Erledigt()
{
    Austragen();
    if (Gescheitert()) {
        // Nothing more is written: what waits is dropped.
        for (const std::shared_ptr<Stueck>& s : wartend_)
            bytes_ -= s->Bytes();
        wartend_.clear();
        if (!gemeldet_ && laeuft_) {
            gemeldet_ = true;
            emit fehlgeschlagen();
        }
    }
    Nachschieben();
    emit erledigt();
    if (angehalten_ && !abgeschlossen_ && unterwegs_.empty() && wartend_.empty())
        Schliessen();
}

void Filmaufzeichnung::Anhalten()
{
    if (!laeuft_)
        return;
    laeuft_ = false;
    angehalten_ = true;
    Trennen();
    // Strokes after the last frame are in no frame.
    offen_ = std::make_shared<Stueck>();
    Austragen();
    if (unterwegs_.empty() && wartend_.empty())
        Schliessen();
}

void Filmaufzeichnung::Kuerzen()
{
    if (abgeschlossen_)
        return;
    laeuft_ = false;
    angehalten_ = true;
    Trennen();
    offen_ = std::make_shared<Stueck>();
    Abschneiden();
    Schliessen();
}

void Filmaufzeichnung::Abschneiden()
{
    wartend_.clear();
    for (const Unterwegs& u : unterwegs_)
        u.marke.Abbrechen();
    unterwegs_.clear();
    bytes_ = 0;
    // Waits for the frame in progress only; a task not begun does nothing.
    const std::lock_guard<std::mutex> l(geteilt_->sperre);
    geteilt_->aus = true;
}

void Filmaufzeichnung::Schliessen()
{
    abgeschlossen_ = true;
    ergebnis_ = geteilt_->aufnahme.Beenden();
    emit abgeschlossen();
}

std::optional<QString> Filmaufzeichnung::Beenden()
{
    if (abgeschlossen_)
        return ergebnis_;
    laeuft_ = false;
    Trennen();
    // Strokes after the last frame are in no frame.
    offen_ = std::make_shared<Stueck>();
    Abwarten(0);
    abgeschlossen_ = true;
    ergebnis_ = geteilt_->aufnahme.Beenden();
    return ergebnis_;
}

void Filmaufzeichnung::Verwerfen()
{
    if (abgeschlossen_)
        return;
    laeuft_ = false;
    abgeschlossen_ = true;
    Trennen();
    Abschneiden();
    geteilt_->aufnahme.Verwerfen();
}
