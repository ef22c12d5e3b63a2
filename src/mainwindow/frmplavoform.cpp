// SPDX-License-Identifier: GPL-3.0-or-later
// Shaping the system on the picture: moving, inserting and removing bodies,
// circular orbits, the context menu and the Bearbeiten items that take the
// run's state. Each edit is one command on the document's undo stack: at
// step 0 the document's (the document becomes unsaved), at a later step an
// intervention of the run where it stands (sim/laufbefehl.h says what undo
// and redo then do). The table's OK replaces the run: it lets go of the
// interventions, and its undo gives them back.
#include "frmplavo.h"

#include "mainwindow/zeitgeber.h"
#include "sim/bearbeitung.h"
#include "sim/laufbefehl.h"
#include "view/bezugssystem.h"
#include "view/koerperpunkte.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QToolTip>

#include <cmath>

namespace {

QString Bezeichnung(const KoerperSatz& satz, std::size_t k)
{
    const QString name = KoerperNameKurz(satz[k]);
    return name.isEmpty() ? QStringLiteral("Körper %1").arg(k + 1) : name;
}

// Another body at exactly the same point: their pull is infinite, and every step would fail.
bool Deckungsgleich(const KoerperSatz& satz, std::size_t k)
{
    for (std::size_t i = 0; i < satz.size(); ++i)
        if (i != k && satz[i].X == satz[k].X && satz[i].Y == satz[k].Y)
            return true;
    return false;
}

}  // namespace

void FrmPlavo::FormAnlegen()
{
    dokument_.BegleitungSetzen([this](QUndoCommand* eltern) { EingriffeLoslassenBeifuegen(eltern, lauf_); });
    connect(pic_, &PicPlavo::griffBegonnen, this, &FrmPlavo::GriffBegonnen);
    connect(pic_, &PicPlavo::griffAbgebrochen, this, &FrmPlavo::GriffBeendet);
    connect(pic_, &PicPlavo::koerperGezogen, this, [this](qulonglong k, QPointF d) {
        KoerperVerschieben(std::size_t(k), d);
        GriffBeendet();
    });
    connect(pic_, &PicPlavo::geschwindigkeitGezogen, this, [this](qulonglong k, QPointF v) {
        GeschwindigkeitSetzenAuf(std::size_t(k), {v.x(), v.y()});
        GriffBeendet();
    });
    // Opened or reset: the arrows' scales fit the bodies as they start.
    connect(&lauf_, &Lauf::zurueckgesetzt, pic_, &PicPlavo::MassstaebeWaehlen);
    connect(pic_, &PicPlavo::auswahlVerschieben, this,
            [this](qulonglong k, QPointF d) { KoerperVerschieben(std::size_t(k), d); });
    connect(pic_, &PicPlavo::auswahlEntfernen, this, [this](qulonglong k) {
        if (KoerperEntfernen(std::size_t(k)))
            pic_->AuswahlSetzen(std::nullopt);
    });
    connect(pic_, &PicPlavo::kontextmenueGewuenscht, this, [this](QPointF stelle, qlonglong k, QPoint global) {
        QMenu menue(this);
        KontextmenueFuellen(menue, stelle, k >= 0 ? std::optional<std::size_t>(std::size_t(k)) : std::nullopt);
        menue.exec(global);
    });
}

Bildabbildung FrmPlavo::Abbildung() const
{
    Bildabbildung abbildung(ansicht_.Aktuell(), QSizeF(pic_->size()));
    abbildung.LageSetzen(pic_->LageJetzt());
    return abbildung;
}

void FrmPlavo::GriffBegonnen()
{
    // The body stands still under the mouse; the run goes on after the release.
    laufVorGriff_ = tim_->Enabled();
    if (laufVorGriff_)
        Laufen(false);
}

void FrmPlavo::GriffBeendet()
{
    if (std::exchange(laufVorGriff_, false))
        Laufen(true);
}

void FrmPlavo::Abgelehnt(const QString& grund)
{
    QToolTip::showText(QCursor::pos(), grund, pic_);
}

bool FrmPlavo::Bearbeiten(const QString& text,
                          const std::function<bool(KoerperSatz&, std::vector<int32_t>&, Bewegungsart)>& aenderung)
{
    // As between two ticks: a redraw finished, a step in flight taken over.
    lauf_.ZustandNehmen();
    const bool amStart = lauf_.Schrittzahl() == 0;
    KoerperSatz satz = lauf_.Jetzt();
    std::vector<int32_t> zeilen = lauf_.Zeilen();
    const Bewegungsart art{!amStart, amStart ? mod_.Intervall : lauf_.Stand().Intervall};
    if (!aenderung(satz, zeilen, art))
        return false;
    if (amStart) {
        dokument_.KoerperAendern(std::move(satz), text);
    } else {
        dokument_.Ausserhalb(text, [&](QUndoCommand* eltern) {
            EingriffBeifuegen(eltern, lauf_, std::move(satz), std::move(zeilen));
        });
    }
    return true;
}

bool FrmPlavo::KoerperVerschieben(std::size_t koerper, QPointF pixel)
{
    if (koerper >= lauf_.Jetzt().size() || pixel.isNull())
        return false;
    const Vektor d = Abbildung().Versatz(pixel);
    bool deckung = false;
    const bool getan = Bearbeiten(QStringLiteral("Körper verschieben: ") + Bezeichnung(lauf_.Jetzt(), koerper),
                                  [&](KoerperSatz& satz, std::vector<int32_t>&, Bewegungsart) {
                                      satz[koerper].X += d.x;
                                      satz[koerper].Y += d.y;
                                      deckung = Deckungsgleich(satz, koerper);
                                      return !deckung;
                                  });
    if (deckung)
        Abgelehnt(QStringLiteral("Dort liegt schon ein Körper."));
    return getan;
}

bool FrmPlavo::KoerperEinfuegen(QPointF stelle)
{
    if (lauf_.Jetzt().size() >= std::size_t(MaxKoerper))
        return false;
    const Vektor ort = Abbildung().Ort(stelle);
    bool deckung = false;
    const bool getan = Bearbeiten(QStringLiteral("Körper einfügen: ") + NeuerKoerpername(lauf_.Jetzt()),
                                  [&](KoerperSatz& satz, std::vector<int32_t>& zeilen, Bewegungsart art) {
                                      satz.push_back(EinzufuegenderKoerper(satz, ort, art));
                                      zeilen.push_back(-1);
                                      deckung = Deckungsgleich(satz, satz.size() - 1);
                                      return !deckung;
                                  });
    if (deckung)
        Abgelehnt(QStringLiteral("Dort liegt schon ein Körper."));
    return getan;
}

bool FrmPlavo::KoerperEntfernen(std::size_t koerper)
{
    const KoerperSatz& jetzt = lauf_.Jetzt();
    // The set is never empty.
    if (koerper >= jetzt.size() || jetzt.size() < 2)
        return false;
    return Bearbeiten(QStringLiteral("Körper entfernen: ") + Bezeichnung(jetzt, koerper),
                      [&](KoerperSatz& satz, std::vector<int32_t>& zeilen, Bewegungsart) {
                          satz.erase(satz.begin() + std::ptrdiff_t(koerper));
                          if (koerper < zeilen.size())
                              zeilen.erase(zeilen.begin() + std::ptrdiff_t(koerper));
                          return true;
                      });
}

bool FrmPlavo::KreisbahnUm(std::size_t koerper, std::size_t um)
{
    const KoerperSatz& jetzt = lauf_.Jetzt();
    if (koerper >= jetzt.size() || um >= jetzt.size() || koerper == um)
        return false;
    return Bearbeiten(QStringLiteral("Kreisbahn um ") + Bezeichnung(jetzt, um) + QStringLiteral(": ")
                          + Bezeichnung(jetzt, koerper),
                      [&](KoerperSatz& satz, std::vector<int32_t>&, Bewegungsart art) {
                          Koerper& k = satz[koerper];
                          const Koerper& z = satz[um];
                          const Vektor vz = Geschwindigkeit(z, art), vk = Geschwindigkeit(k, art);
                          const Vektor rel{k.X - z.X, k.Y - z.Y};
                          int sinn = Umlaufsinn(rel, {vk.x - vz.x, vk.y - vz.y});
                          const std::optional<Vektor> v = Kreisbahn(rel, z.Masse, k.Masse, sinn != 0 ? sinn : 1);
                          return v && GeschwindigkeitSetzen(k, {vz.x + v->x, vz.y + v->y}, art);
                      });
}

bool FrmPlavo::GeschwindigkeitSetzenAuf(std::size_t koerper, Vektor v)
{
    if (koerper >= lauf_.Jetzt().size() || !std::isfinite(v.x) || !std::isfinite(v.y))
        return false;
    return Bearbeiten(QStringLiteral("Geschwindigkeit setzen: ") + Bezeichnung(lauf_.Jetzt(), koerper),
                      [&](KoerperSatz& satz, std::vector<int32_t>&, Bewegungsart art) {
                          return GeschwindigkeitSetzen(satz[koerper], v, art);
                      });
}

void FrmPlavo::KontextmenueFuellen(QMenu& menue, QPointF stelle, std::optional<std::size_t> koerper)
{
    const KoerperSatz& jetzt = lauf_.Jetzt();
    if (!koerper || *koerper >= jetzt.size()) {
        QAction* a = menue.addAction(QStringLiteral("Körper hier einfügen"));
        a->setObjectName(QStringLiteral("menEinfuegen"));
        a->setEnabled(jetzt.size() < std::size_t(MaxKoerper));
        connect(a, &QAction::triggered, this, [this, stelle] { KoerperEinfuegen(stelle); });
        return;
    }
    const std::size_t k = *koerper;
    QAction* entfernen = menue.addAction(QStringLiteral("Körper entfernen"));
    entfernen->setObjectName(QStringLiteral("menEntfernen"));
    entfernen->setEnabled(jetzt.size() > 1);
    connect(entfernen, &QAction::triggered, this, [this, k] {
        if (KoerperEntfernen(k))
            pic_->AuswahlSetzen(std::nullopt);
    });
    const std::optional<std::size_t> um = StaerksterZug(jetzt, {jetzt[k].X, jetzt[k].Y}, k);
    QAction* kreis = menue.addAction(um ? QStringLiteral("Kreisbahn um ") + Bezeichnung(jetzt, *um)
                                        : QStringLiteral("Kreisbahn um ..."));
    kreis->setObjectName(QStringLiteral("menKreisbahn"));
    kreis->setEnabled(um.has_value());
    if (um)
        connect(kreis, &QAction::triggered, this, [this, k, u = *um] { KreisbahnUm(k, u); });
    QAction* folgen = menue.addAction(QStringLiteral("Diesem Körper folgen"));
    folgen->setObjectName(QStringLiteral("menFolgen"));
    connect(folgen, &QAction::triggered, this, [this, k] { KoerperFolgen(k); });
    // A lone body has nothing to turn with.
    if (const std::optional<std::size_t> zieher = StaerksteAnziehung(jetzt, k)) {
        QAction* drehen = menue.addAction(QStringLiteral("Mit ") + Bezeichnung(jetzt, *zieher)
                                          + QStringLiteral(" mitdrehen"));
        drehen->setObjectName(QStringLiteral("menMitdrehen"));
        connect(drehen, &QAction::triggered, this, [this, k] { MitdrehenMit(k); });
    }
    // A body an intervention added has no row in the document's table.
    const std::vector<int32_t> zeilen = lauf_.Zeilen();
    const int zeile = k < zeilen.size() ? zeilen[k] + 1 : 0;
    QAction* tabelle = menue.addAction(QStringLiteral("In der Tabelle bearbeiten..."));
    tabelle->setObjectName(QStringLiteral("menInTabelle"));
    tabelle->setEnabled(zeile > 0 && (tabelleZeigenBei_ || tabelleZeigen_));
    connect(tabelle, &QAction::triggered, this, [this, zeile] {
        if (tabelleZeigenBei_)
            tabelleZeigenBei_(zeile);
        else if (tabelleZeigen_)
            tabelleZeigen_();
    });
}

void FrmPlavo::menStartzustand_Click()
{
    lauf_.ZustandNehmen();
    if (lauf_.Schrittzahl() == 0)
        return;
    std::optional<KoerperSatz> start = AlsStartzustand(lauf_.Stand().KoerperSim, lauf_.Stand().Intervall);
    if (!start)
        return;
    // The picture is cleared: the run begins again, at step 0, from where it stood.
    dokument_.KoerperAendern(std::move(*start), QStringLiteral("Als Startzustand übernehmen"),
                             [this](QUndoCommand* eltern) { NeubeginnBeifuegen(eltern, lauf_); });
}

void FrmPlavo::menImpulsNull_Click()
{
    Bearbeiten(QStringLiteral("Gesamtimpuls null setzen"),
               [](KoerperSatz& satz, std::vector<int32_t>&, Bewegungsart art) { return ImpulsNullSetzen(satz, art); });
}

void FrmPlavo::menGeschwindigkeiten_Click()
{
    pic_->GeschwindigkeitenZeigen(Menue(QStringLiteral("menGeschwindigkeiten"))->isChecked());
}

void FrmPlavo::menBeschleunigungen_Click()
{
    pic_->BeschleunigungenZeigen(Menue(QStringLiteral("menBeschleunigungen"))->isChecked());
}

void FrmPlavo::menSperren_Click()
{
    pic_->BearbeitungErlauben(!Menue(QStringLiteral("menSperren"))->isChecked());
}
