// The main window's run: the ticks, the step and its caption, start, stop,
// reset, the single step and the scene redraw. Each handler hands the work
// to the run and shows what came of it.
#include "frmplavo.h"

#include "mainwindow/neuzeichnung.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/titel.h"
#include "mainwindow/zeitgeber.h"
#include "view/picplavo.h"

#include <QAction>

void FrmPlavo::Laufen(bool an)
{
    tim_->SetEnabled(an);
    if (QAction* einzel = Menue(QStringLiteral("menEinzelschritt")))
        einzel->setEnabled(!an);
}

void FrmPlavo::Form_Resize()
{
    BildFlaeche& flaeche = pic_->Flaeche();
    if (pic_->GeraetePixel() != flaeche.Groesse())
        flaeche.GroesseSetzen(pic_->GeraetePixel());
    flaeche.Cls();
    const Ausschnitt& a = ansicht_.Aktuell();
    flaeche.Scale(a.Links(), a.Oben(), a.Rechts(), a.Unten());
    pic_->update();
    // A step in flight counts: the redraw replays it too.
    if (lauf_.Schrittzahl() == 0 && !lauf_.SchrittZaehlt()) {
        neuzeichnung_->Abbrechen();
        return;
    }
    // In slices: the kept strokes, then the steps beyond them.
    if (!neuzeichnung_->Laeuft())
        NeuzeichnungBegonnen();
    neuzeichnung_->Beginnen();
}

void FrmPlavo::NeuzeichnungAbschliessen()
{
    neuzeichnung_->Abschliessen();
}

bool FrmPlavo::NeuzeichnungLaeuft()
{
    return neuzeichnung_->Laeuft();
}

void FrmPlavo::NeuzeichnungBegonnen()
{
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
    pic_->KoerperGeaendert();
    if (fehler != KeinFehler)
        Fehlerstopp(fehler);
    // A step the worker finished meanwhile follows the replayed ones.
    SchrittFertig();
}

void FrmPlavo::NeuzeichnungAbgebrochen()
{
    const Wiedergabe& w = lauf_.Neuzeichnung();
    if (w.Ziel() > 0)
        NeuzeichnungsTitel(TitelText(w.Ziel(), w.Intervall(), mod_.DateiName));
    pic_->KoerperGeaendert();
    // A step that came back during the replay waited for it; it must not wait for ever.
    SchrittFertig();
}

bool FrmPlavo::Berechnung()
{
    NeuzeichnungAbschliessen();
    // A tick's step still in flight comes first, as if this came after it.
    if (lauf_.SchrittUnterwegs())
        SchrittZeigen(lauf_.SchrittAbwarten(pic_->Flaeche()));
    // The window goes on while the worker computes; it reports back to SchrittFertig.
    if (lauf_.Nebenlaeufig())
        return lauf_.SchrittAbgeben();
    return SchrittZeigen({Lauf::Uebernahme::Uebernommen, lauf_.Schritt(pic_->Flaeche())});
}

void FrmPlavo::SchrittAbschliessen()
{
    if (!lauf_.SchrittUnterwegs())
        return;
    // The step comes after the replayed ones: a redraw ends first.
    NeuzeichnungAbschliessen();
    SchrittZeigen(lauf_.SchrittAbwarten(pic_->Flaeche()));
}

void FrmPlavo::SchrittFertig()
{
    if (neuzeichnung_->Laeuft())
        neuzeichnung_->Weiter();
    else
        SchrittZeigen(lauf_.SchrittUebernehmen(pic_->Flaeche()));
}

bool FrmPlavo::SchrittZeigen(Lauf::Uebernahme uebernahme)
{
    if (uebernahme.art != Lauf::Uebernahme::Uebernommen)
        return true;
    if (uebernahme.fehler == KeinFehler)
        Caption(TitelText(lauf_.Schrittzahl(), mod_.Intervall, mod_.DateiName));
    pic_->GeaendertesZeigen();
    pic_->KoerperGeaendert();
    if (uebernahme.fehler != KeinFehler) {
        Fehlerstopp(uebernahme.fehler);
        return false;
    }
    return true;
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
    neuzeichnung_->Abbrechen();
    lauf_.Zuruecksetzen();
    Laufen(false);
    pic_->Flaeche().Cls();
    pic_->update();
    pic_->KoerperGeaendert();
}
