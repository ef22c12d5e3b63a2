// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's run: the ticks, the caption of steps and redraws, start,
// stop, reset, the single step and the scene redraw. Each handler hands the
// work to the run; the picture and the caption follow what the run
// announces.
#include "frmplavo.h"

#include "mainwindow/filmbefehle.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/titel.h"
#include "mainwindow/zeitgeber.h"
#include "view/ausschnittwechsel.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCursor>
#include <algorithm>

void FrmPlavo::LaufVerbinden()
{
    // The picture subscribes first (PicPlavo::LaufSetzen), so a caption
    // follows a picture that is drawn already.
    pic_->LaufSetzen(&lauf_);
    connect(&lauf_, &Lauf::schrittGemacht, this, &FrmPlavo::SchrittGemacht);
    connect(&lauf_, &Lauf::schrittFehlgeschlagen, this, &FrmPlavo::Fehlerstopp);
    connect(&lauf_, &Lauf::neuzeichnungBegonnen, this, &FrmPlavo::NeuzeichnungBegonnen);
    connect(&lauf_, &Lauf::neuzeichnungFortschritt, this,
            [this](int prozent) { NeuzeichnungsTitel(NeuzeichnenTitel(prozent, mod_.DateiName)); });
    connect(&lauf_, &Lauf::neuzeichnungBeendet, this, &FrmPlavo::NeuzeichnungBeendet);
    connect(&lauf_, &Lauf::neuzeichnungAbgebrochen, this, &FrmPlavo::NeuzeichnungAbgebrochen);
}

void FrmPlavo::Laufen(bool an)
{
    tim_->SetEnabled(an);
    if (QAction* einzel = Menue(QStringLiteral("menEinzelschritt")))
        einzel->setEnabled(!an);
    emit laeuftGeaendert(an);
}

void FrmPlavo::Form_Resize()
{
    BildFlaeche& flaeche = pic_->Flaeche();
    if (pic_->GeraetePixel() != flaeche.Groesse())
        flaeche.GroesseSetzen(pic_->GeraetePixel());
    if (KreiseRund())
        ansicht_.Setzen(HoeheNachBreite(ansicht_.Aktuell(), Seitenverhaeltnis()));
    const Ausschnitt& a = ansicht_.Aktuell();
    flaeche.Scale(a.Links(), a.Oben(), a.Rechts(), a.Unten());
    pic_->AbbildungSetzen(Abbildung());
    pic_->update();
    // A mouse that stayed where it was is over another point of the plane now.
    if (pic_->underMouse()) {
        const QPointF stelle = pic_->mapFromGlobal(QCursor::pos());
        MausUeber(QPointF(stelle.x() / std::max(pic_->width(), 1), stelle.y() / std::max(pic_->height(), 1)));
    }
    // The run clears the picture and draws itself again, in slices: the kept
    // strokes, then the steps beyond them. A step in flight counts.
    lauf_.Neuzeichnen();
}

void FrmPlavo::NeuzeichnungAbschliessen()
{
    lauf_.NeuzeichnungAbschliessen();
}

bool FrmPlavo::NeuzeichnungLaeuft()
{
    return lauf_.NeuzeichnungLaeuft();
}

void FrmPlavo::NeuzeichnungBegonnen()
{
    // A redraw begun again goes on with the caption it found first.
    if (neuzeichnungTitelFolgt_)
        return;
    neuzeichnungTitelFolgt_ = true;
    neuzeichnungTitel_ = windowTitle();
    neuzeichnungTitelFremd_ = false;
}

void FrmPlavo::NeuzeichnungsTitel(const QString& text)
{
    neuzeichnungTitelFremd_ = neuzeichnungTitelFremd_ || windowTitle() != neuzeichnungTitel_;
    if (neuzeichnungTitelFremd_)
        return;
    Caption(text);
    neuzeichnungTitel_ = windowTitle();
}

void FrmPlavo::NeuzeichnungBeendet(unsigned fehler)
{
    const Wiedergabe& w = lauf_.Neuzeichnung();
    if (lauf_.Schrittzahl() > 0)
        NeuzeichnungsTitel(TitelText(lauf_.Schrittzahl(), w.Intervall(), mod_.DateiName));
    neuzeichnungTitelFolgt_ = false;
    if (fehler != KeinFehler)
        Fehlerstopp(fehler);
}

void FrmPlavo::NeuzeichnungAbgebrochen()
{
    const Wiedergabe& w = lauf_.Neuzeichnung();
    if (w.Ziel() > 0)
        NeuzeichnungsTitel(TitelText(w.Ziel(), w.Intervall(), mod_.DateiName));
    neuzeichnungTitelFolgt_ = false;
}

bool FrmPlavo::Berechnung()
{
    return lauf_.Takt() == KeinFehler;
}

void FrmPlavo::SchrittAbschliessen()
{
    lauf_.SchrittAbschliessen();
}

void FrmPlavo::SchrittGemacht()
{
    Caption(TitelText(lauf_.Schrittzahl(), lauf_.Stand().Intervall, mod_.DateiName));
}

void FrmPlavo::timPlavo_Timer()
{
    // The run goes on once the redraw has caught up with it and the step
    // before has been shown.
    if (NeuzeichnungLaeuft() || lauf_.SchrittUnterwegs())
        return;
    Berechnung();
}

void FrmPlavo::Fehlerstopp(unsigned fehler)
{
    Laufen(false);
    film_->Beenden();
    frage_->MsgBox(FehlerText(fehler), Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

void FrmPlavo::menStart_Click()
{
    if (const unsigned fehler = lauf_.Starten(); fehler != KeinFehler) {
        Fehlerstopp(fehler);
        return;
    }
    Laufen(true);
}

void FrmPlavo::menStop_Click()
{
    Laufen(false);
    // A live film records the running simulation, so it ends with it.
    film_->Beenden();
}

void FrmPlavo::menEinzelschritt_Click()
{
    // The shortcut may come before the menu has caught up with the timer.
    if (tim_->Enabled())
        return;
    if (const unsigned fehler = lauf_.Starten(); fehler != KeinFehler) {
        Fehlerstopp(fehler);
        return;
    }
    // Unlike a tick it does not wait for a running redraw: it finishes it and steps.
    Berechnung();
}

void FrmPlavo::menZurueck_Click()
{
    // The film ends with the trails it has; the picture goes white as the run announces it.
    film_->Beenden();
    lauf_.Zuruecksetzen();
    Laufen(false);
}
