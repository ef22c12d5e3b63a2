// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmbefehle.h"

#include "mainwindow/filmdialog.h"
#include "mainwindow/filmrechnung.h"
#include "mainwindow/frmplavo.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/zeitgeber.h"
#include "view/filmaufzeichnung.h"
#include "view/picplavo.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>

namespace {
const QString Titel = QStringLiteral("Plavo");
}  // namespace

Filmbefehle::Filmbefehle(FrmPlavo& frm, Standarddialog& cdg, Rueckfragen& rueckfragen, Fragen fragen)
    : frm_(frm)
    , cdg_(cdg)
    , frage_(rueckfragen)
    , fragen_(fragen ? std::move(fragen) : Fragen([](Filmdialog& d) { return d.Fragen(); }))
{
}

Filmbefehle::~Filmbefehle()
{
    delete rechnung_;
    delete fertigstellung_;
    // Nobody is left to tell of a failure: the film ends as well as it can.
    if (aufzeichnung_)
        aufzeichnung_->Beenden();
}

bool Filmbefehle::Aufnahme() const
{
    return aufzeichnung_ != nullptr;
}

bool Filmbefehle::Rechnet() const
{
    return rechnung_ != nullptr;
}

std::array<QString, 4> Filmbefehle::Gruende()
{
    // The libraries do not change while the program runs.
    if (!gruende_) {
        gruende_.emplace();
        for (const Filmformat f : AlleFilmformate)
            (*gruende_)[std::size_t(f)] = Filmschreiber::NichtVerfuegbar(f).value_or(QString());
    }
    return *gruende_;
}

void Filmbefehle::menFilm_Click()
{
    if (aufzeichnung_)
        return;
    Filmdialog dialog(cdg_, frage_, Gruende(), frm_.picPlavo().GeraetePixel(), frm_.mod().DateiName, &frm_);
    dialog.Vorschlagen(letzte_);
    const std::optional<Filmwahl> wahl = fragen_(dialog);
    if (!wahl)
        return;
    letzte_ = *wahl;
    Starten(*wahl);
}

void Filmbefehle::Starten(const Filmwahl& wahl)
{
    Lauf& lauf = frm_.lauf();
    if (wahl.Ablauf == Filmwahl::Art::Aufnahme) {
        // A live film records the running simulation: it starts with it.
        frm_.menStart_Click();
        if (!frm_.timPlavo().Enabled())
            return;
    } else if (const unsigned fehler = lauf.Starten(); fehler != KeinFehler) {
        frm_.Fehlerstopp(fehler);
        return;
    }

    const PicPlavo& pic = frm_.picPlavo();
    Filmvorgabe vorgabe;
    vorgabe.Format = wahl.Format;
    vorgabe.Ziel = wahl.Ziel;
    vorgabe.Groesse = FilmPixel(wahl.Groesse, pic.GeraetePixel());
    vorgabe.Bildrate = wahl.Bildrate;
    vorgabe.Farben = Filmbild::Spurfarben(lauf.Jetzt());
    vorgabe.NebenLauf = wahl.Ablauf == Filmwahl::Art::Aufnahme;
    QString fehler;
    std::unique_ptr<Filmschreiber> schreiber = Filmschreiber::Oeffnen(vorgabe, fehler);
    if (!schreiber) {
        frage_.MsgBox(QStringLiteral("Der Film „%1“ kann nicht aufgenommen werden.\n\n%2")
                          .arg(QDir::toNativeSeparators(wahl.Ziel), fehler),
                      Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
        return;
    }

    Filmueberlagen ueberlagen;
    ueberlagen.Tage = wahl.TageZeigen;
    ueberlagen.Punkte = wahl.KoerperZeigen && pic.PunkteGezeigt();
    ueberlagen.Namen = wahl.KoerperZeigen && pic.NamenGezeigt();
    ueberlagen.Massstab = wahl.MassstabZeigen;
    // The film is seen in the picture's frame, and names it as the picture does.
    const Bezugssystem& bezug = pic.Bezug();
    if (wahl.KoerperZeigen)
        ueberlagen.Bezugssystem = bezug.Text(lauf.Jetzt());
    const Ausschnitt ausschnitt = frm_.ansicht().Aktuell();
    aufzeichnung_ = std::make_unique<Filmaufzeichnung>(lauf, frm_.arbeiter(), std::move(schreiber), ausschnitt,
                                                       ueberlagen, wahl.SchritteProBild, bezug);
    connect(aufzeichnung_.get(), &Filmaufzeichnung::fehlgeschlagen, this, &Filmbefehle::Gescheitert);
    connect(aufzeichnung_.get(), &Filmaufzeichnung::abgeschlossen, this, &Filmbefehle::Abgeschlossen);

    if (wahl.Ablauf == Filmwahl::Art::Rechnen) {
        // The steps come from the computation alone, not from the timer.
        frm_.timPlavo().SetEnabled(false);
        const int k = std::max(1, wahl.SchritteProBild);
        rechnung_ = new Filmrechnung(lauf, *aufzeichnung_, wahl.Schritte, 1 + wahl.Schritte / k, &frm_);
        connect(rechnung_, &Filmrechnung::beendet, this, &Filmbefehle::Abschliessen);
    }
    MenuesZeigen();
    aufzeichnung_->Beginnen();
    if (rechnung_)
        rechnung_->Starten();
}

void Filmbefehle::Beenden()
{
    if (rechnung_ && !rechnung_->Fertig())
        rechnung_->Abbrechen();   // its end closes the film
    else
        Abschliessen();
}

void Filmbefehle::Abschliessen()
{
    if (!aufzeichnung_ || fertigstellung_)
        return;
    if (rechnung_) {
        // Only a few frames are ever pending: the film closes at once.
        rechnung_->Abbrechen();
        rechnung_->deleteLater();
        rechnung_ = nullptr;
        aufzeichnung_->Beenden();
        Abgeschlossen();
        return;
    }
    // Closes the film at once when nothing is pending.
    aufzeichnung_->Anhalten();
    if (aufzeichnung_ && !aufzeichnung_->Abgeschlossen())
        fertigstellung_ = new Filmfertigstellung(*aufzeichnung_, &frm_);
    MenuesZeigen();
}

void Filmbefehle::Abgeschlossen()
{
    if (!aufzeichnung_)
        return;
    // Announced from inside the recording: it goes once that has returned.
    Filmaufzeichnung* a = aufzeichnung_.release();
    a->setParent(this);
    a->deleteLater();
    FertigstellungSchliessen();
    MenuesZeigen();
    if (const std::optional<QString>& grund = a->Ergebnis())
        frage_.MsgBox(QStringLiteral("Der Film „%1“ konnte nicht gespeichert werden.\n\n%2")
                          .arg(QDir::toNativeSeparators(letzte_.Ziel), *grund),
                      Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
    emit fertig();
}

void Filmbefehle::Verwerfen()
{
    if (!aufzeichnung_)
        return;
    const std::unique_ptr<Filmaufzeichnung> a = std::move(aufzeichnung_);
    if (rechnung_) {
        rechnung_->Abbrechen();
        rechnung_->deleteLater();
        rechnung_ = nullptr;
    }
    FertigstellungSchliessen();
    a->Verwerfen();
    MenuesZeigen();
    emit fertig();
}

void Filmbefehle::FertigstellungSchliessen()
{
    if (!fertigstellung_)
        return;
    // Its dialog may be showing a value, handling events: it goes afterwards.
    if (QProgressDialog* f = fertigstellung_->Fortschritt())
        f->hide();
    fertigstellung_->deleteLater();
    fertigstellung_ = nullptr;
}

void Filmbefehle::Gescheitert()
{
    // The run goes on; only the film ends, with its reason.
    Abschliessen();
}

std::optional<Filmbefehle::Schluss> Filmbefehle::SchliessenFragen()
{
    if (!aufzeichnung_)
        return Schluss::Keiner;
    const QString wie = fertigstellung_ ? QStringLiteral("fertiggestellt") : QStringLiteral("aufgenommen");
    switch (frage_.MsgBox(QStringLiteral("Der Film „%1“ wird noch %2.\n\nSoll er behalten werden?")
                              .arg(QDir::toNativeSeparators(letzte_.Ziel), wie),
                          Titel, MsgKnoepfe::JaNeinAbbrechen, MsgSymbol::Frage)) {
    case MsgAntwort::Ja:
        return Schluss::Behalten;
    case MsgAntwort::Nein:
        return Schluss::Verwerfen;
    default:
        return std::nullopt;
    }
}

void Filmbefehle::Schliessen(Schluss schluss)
{
    if (schluss == Schluss::Verwerfen) {
        Verwerfen();
        return;
    }
    Beenden();
    if (!aufzeichnung_)
        return;
    // The program ends after this: the frames still pending are written
    // first, under the progress dialog, whose Abbrechen keeps a shorter film.
    if (fertigstellung_)
        fertigstellung_->Vorn();
    QEventLoop schleife;
    connect(this, &Filmbefehle::fertig, &schleife, &QEventLoop::quit);
    schleife.exec();
}

void Filmbefehle::BezugFolgen(bool mitte)
{
    if (!aufzeichnung_ || !aufzeichnung_->Laeuft())
        return;
    const Bezugssystem& bezug = frm_.picPlavo().Bezug();
    // The label as the film began with it: only with the bodies shown.
    const QString text = letzte_.KoerperZeigen ? bezug.Text(frm_.lauf().Jetzt()) : QString();
    aufzeichnung_->BezugSetzen(bezug, text, mitte);
}

void Filmbefehle::MenuesZeigen()
{
    if (QAction* a = frm_.Menue(QStringLiteral("menFilm")))
        a->setEnabled(!aufzeichnung_);
    if (QAction* a = frm_.Menue(QStringLiteral("menFilmEnde")))
        a->setEnabled(aufzeichnung_ && !rechnung_ && aufzeichnung_->Laeuft());
}
