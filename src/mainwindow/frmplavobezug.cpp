// SPDX-License-Identifier: GPL-3.0-or-later
// Optionen → Bezugssystem: the frame of reference the picture is seen in,
// and what becomes of it when the bodies change. The frame is a way of
// looking only: the run, the document and the files never change with it.
#include "frmplavo.h"

#include "mainwindow/filmbefehle.h"
#include "mainwindow/koerperwahl.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/titel.h"
#include "view/koerperpunkte.h"
#include "view/picplavo.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void FrmPlavo::BezugsmenueAnlegen()
{
    auto* gruppe = new QActionGroup(this);
    gruppe->setExclusive(true);
    for (const char* name : {"menBezugFest", "menBezugSchwerpunkt", "menBezugKoerper", "menBezugMitrotierend"})
        gruppe->addAction(Menue(QString::fromUtf8(name)));
    BezugsmenueZeigen();
    // The bodies may have changed since the menu was last open.
    const QAction* optionen = Menue(QStringLiteral("menOptionen"));
    connect(optionen->menu(), &QMenu::aboutToShow, this, &FrmPlavo::BezugsmenueZeigen);
}

void FrmPlavo::BezugsmenueZeigen()
{
    const Bezugssystem& bezug = pic_->Bezug();
    const char* an = "menBezugFest";
    switch (bezug.Typ()) {
    case Bezugssystem::Art::Fest: an = "menBezugFest"; break;
    case Bezugssystem::Art::Schwerpunkt: an = "menBezugSchwerpunkt"; break;
    case Bezugssystem::Art::Koerper: an = "menBezugKoerper"; break;
    case Bezugssystem::Art::Mitrotierend: an = "menBezugMitrotierend"; break;
    }
    Menue(QString::fromUtf8(an))->setChecked(true);
    Menue(QStringLiteral("menBezugMitrotierend"))->setEnabled(lauf_.Jetzt().size() >= 2 || bezug.Dreht());
    Menue(QStringLiteral("menLagrange"))->setEnabled(bezug.Dreht());
}

void FrmPlavo::BezugWaehlen(const Bezugssystem& bezug)
{
    if (!bezug.Fest() && !bezug.Passt(lauf_.Jetzt().size()))
        return;
    const bool anders = bezug != pic_->Bezug();
    pic_->BezugSetzen(bezug);
    film_->BezugFolgen(true);
    bezugKoerper_ = bezug.Fest() || bezug.Typ() == Bezugssystem::Art::Schwerpunkt ? KoerperSatz() : mod_.KoerperStart;
    BezugsmenueZeigen();
    // The frame's origin at the centre; the run goes on and is redrawn in it.
    Ausschnitt a = ansicht_.Aktuell();
    a.XOffset = a.YOffset = 0;
    AusschnittSetzen(a);
    // Velocities seen in another frame differ: the old scale could make
    // every arrow vanish or fill the picture.
    if (anders)
        pic_->GeschwindigkeitsMassstabWaehlen();
}

void FrmPlavo::menBezugFest_Click()
{
    BezugWaehlen(Bezugssystem());
}

void FrmPlavo::menBezugSchwerpunkt_Click()
{
    BezugWaehlen(Bezugssystem::Schwerpunkt());
}

namespace {

QStringList Namensliste(const KoerperSatz& koerper)
{
    QStringList namen;
    namen.reserve(qsizetype(koerper.size()));
    for (std::size_t i = 0; i < koerper.size(); ++i)
        namen.push_back(KoerperBezeichnung(koerper[i], i + 1));
    return namen;
}

}  // namespace

void FrmPlavo::menBezugKoerper_Click()
{
    const KoerperSatz& koerper = lauf_.Jetzt();
    const QStringList namen = Namensliste(koerper);
    const QString titel = QStringLiteral("Bezugssystem: Körper");
    const auto wahl = koerperWaehlen_ ? koerperWaehlen_(namen, 1, titel) : KoerperWahl::Fragen(namen, 1, titel, this);
    if (wahl && wahl->size() == 1)
        BezugWaehlen(Bezugssystem::EinKoerper((*wahl)[0]));
    // A cancel leaves the check where the frame is.
    BezugsmenueZeigen();
}

void FrmPlavo::menBezugMitrotierend_Click()
{
    const KoerperSatz& koerper = lauf_.Jetzt();
    if (koerper.size() >= 2) {
        const QStringList namen = Namensliste(koerper);
        const QString titel = QStringLiteral("Bezugssystem: mitrotierend");
        const auto wahl =
            koerperWaehlen_ ? koerperWaehlen_(namen, 2, titel) : KoerperWahl::Fragen(namen, 2, titel, this);
        if (wahl && wahl->size() == 2)
            BezugWaehlen(Bezugssystem::Mitrotierend((*wahl)[0], (*wahl)[1]));
    }
    BezugsmenueZeigen();
}

void FrmPlavo::menLagrange_Click()
{
    pic_->LagrangeZeigen(Menue(QStringLiteral("menLagrange"))->isChecked());
}

void FrmPlavo::KoerperFolgen(std::size_t koerper)
{
    BezugWaehlen(Bezugssystem::EinKoerper(koerper));
}

void FrmPlavo::MitdrehenMit(std::size_t koerper)
{
    const std::optional<std::size_t> zieher = StaerksteAnziehung(lauf_.Jetzt(), koerper);
    if (zieher)
        BezugWaehlen(Bezugssystem::Mitrotierend(*zieher, koerper));
}

void FrmPlavo::BezugNachfuehren(bool geladen)
{
    const Bezugssystem& bezug = pic_->Bezug();
    if (bezug.Fest() || bezug.Typ() == Bezugssystem::Art::Schwerpunkt)
        return;
    // Another file's bodies are followed by name only.
    const std::optional<Bezugssystem> nachher = bezug.Nachgefuehrt(bezugKoerper_, mod_.KoerperStart, !geladen);
    bezugKoerper_ = mod_.KoerperStart;
    if (nachher) {
        if (*nachher != bezug) {
            pic_->BezugSetzen(*nachher);
            film_->BezugFolgen(false);
        }
        return;
    }
    // The run redraws after this, already in the new frame.
    pic_->BezugSetzen(Bezugssystem::Schwerpunkt());
    film_->BezugFolgen(false);
    pic_->GeschwindigkeitsMassstabWaehlen();
    bezugKoerper_.clear();
    bezugHinweis_ = true;
    BezugsmenueZeigen();
}

void FrmPlavo::BezugHinweisen()
{
    if (!bezugHinweis_)
        return;
    bezugHinweis_ = false;
    frage_->MsgBox(QStringLiteral("Der Körper des Bezugssystems ist nicht mehr vorhanden. "
                                  "Das Bild zeigt die Bewegung jetzt vom Schwerpunkt aus."),
                   Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Information);
}
