#include "dokumentbefehle.h"

#include "mainwindow/frmplavo.h"
#include "mainwindow/standarddialog.h"
#include "mainwindow/zeitgeber.h"
#include "model/koerperdatei.h"
#include "sim/aufbau.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCoreApplication>

namespace {
const QString Titel = QStringLiteral("Plavo");
}  // namespace

QString DokumentTitel(const QString& dateiName)
{
    if (dateiName.isEmpty())
        return Titel;
    return Titel + QStringLiteral(" - [") + Dateiteil(dateiName) + QStringLiteral("]");
}

Dokumentbefehle::Dokumentbefehle(FrmPlavo& frm, std::function<void()> programmBeenden)
    : frm_(frm)
    , programmBeenden_(std::move(programmBeenden))
{
    if (!programmBeenden_) {
        // The document is settled by now, so closing the window asks nothing more.
        programmBeenden_ = [this] {
            frm_.close();
            QCoreApplication::quit();
        };
    }
}

void Dokumentbefehle::DateidialogVorbereiten()
{
    // The picture export shares the dialog and leaves its own filter and
    // name behind. The document's file is proposed, never the picture's:
    // body records written over a picture would destroy it.
    Standarddialog& cdg = frm_.cdgPlavo();
    cdg.Filter = QStringLiteral("Plavo-Dateien (*.plv)|*.plv");
    cdg.DefaultExt = QStringLiteral("*.plv");
    cdg.FileName = frm_.mod().DateiName;
}

void Dokumentbefehle::Melden(const QString& text)
{
    frm_.rueckfragen().MsgBox(text, Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

bool Dokumentbefehle::AenderungenKlaeren(MsgKnoepfe knoepfe)
{
    ModPlavo& mod = frm_.mod();
    if (mod.Gespeichert)
        return true;
    switch (frm_.rueckfragen().MsgBox(QStringLiteral("Änderungen speichern?"), Titel, knoepfe, MsgSymbol::Frage)) {
    case MsgAntwort::Ja:
        // A "Ja" that saved nothing must not lose the changes.
        return DateiSpeichern(Speicherziel());
    case MsgAntwort::Nein:
        return true;
    default:
        return false;
    }
}

bool Dokumentbefehle::DateiSpeichern(const QString& pfad)
{
    ModPlavo& mod = frm_.mod();
    QString s = pfad;
    if (!s.isEmpty() && mod.Gespeichert)
        return true;
    if (s.isEmpty()) {
        DateidialogVorbereiten();
        Standarddialog& cdg = frm_.cdgPlavo();
        if (!cdg.ShowSave() || cdg.FileName.isEmpty())
            return false;
        s = cdg.FileName;
    }
    const DateiErgebnis ergebnis = KoerperdateiSchreiben(s, mod.KoerperStart);
    if (!ergebnis.ok()) {
        // The write is atomic: the file that stood there is untouched, and so is the document.
        Melden(ergebnis.Fehler);
        return false;
    }
    mod.DateiName = s;
    mod.Gespeichert = true;
    beispiel_ = false;
    frm_.Caption(DokumentTitel(s));
    return true;
}

QString Dokumentbefehle::Speicherziel() const
{
    return beispiel_ ? QString() : frm_.mod().DateiName;
}

void Dokumentbefehle::Neu()
{
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen))
        return;
    // A running simulation and the picture stay as they are.
    ModPlavo& mod = frm_.mod();
    mod.AufEinenLeerenKoerper();
    mod.Gespeichert = true;
    mod.DateiName.clear();
    beispiel_ = false;
    frm_.Caption(Titel);
}

void Dokumentbefehle::Oeffnen()
{
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen))
        return;
    Standarddialog& cdg = frm_.cdgPlavo();
    DateidialogVorbereiten();
    if (!cdg.ShowOpen() || cdg.FileName.isEmpty())
        return;
    Laden(cdg.FileName);
}

bool Dokumentbefehle::DateiOeffnen(const QString& pfad)
{
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen))
        return false;
    return Laden(pfad);
}

bool Dokumentbefehle::BeispielOeffnen(const QString& pfad)
{
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen))
        return false;
    if (!Laden(pfad, 0.5))
        return false;
    beispiel_ = true;
    return true;
}

bool Dokumentbefehle::Laden(const QString& pfad, std::optional<double> intervall)
{
    // Read first: a file that cannot be opened leaves the document as it was.
    const DateiErgebnis gelesen = KoerperdateiLesen(pfad);
    if (!gelesen.ok()) {
        Melden(gelesen.Fehler);
        return false;
    }

    ModPlavo& mod = frm_.mod();
    mod.DateiName = pfad;
    beispiel_ = false;
    mod.Laden(gelesen.Koerper);
    // Before the working set is built from it, and before a start on opening.
    if (intervall)
        mod.Intervall = *intervall;
    frm_.Schrittzahl = 0;
    frm_.picPlavo().Flaeche().Cls();
    frm_.picPlavo().update();
    // The whole working set, so that a running simulation goes on with the
    // loaded bodies from their start values. When it is not running, the next
    // start builds it again and reports a fault itself.
    const unsigned fehler = KoerperSimAufbauen(mod);
    mod.Gespeichert = true;
    frm_.Caption(DokumentTitel(pfad));

    const bool laufFehlgeschlagen = fehler != KeinFehler && frm_.timPlavo().Enabled();
    if (laufFehlgeschlagen)
        frm_.Fehlerstopp(fehler);
    NachDemOeffnen(laufFehlgeschlagen);
    return true;
}

void Dokumentbefehle::NachDemOeffnen(bool laufFehlgeschlagen)
{
    // The check marks are read now; only one of the three is ever set.
    if (frm_.Menue(QStringLiteral("menTabAnz"))->isChecked())
        frm_.menTabelle_Click();
    // A fault already reported would only be reported again by the start.
    if (frm_.Menue(QStringLiteral("menSimStart"))->isChecked() && !laufFehlgeschlagen)
        frm_.menStart_Click();
}

void Dokumentbefehle::Speichern()
{
    DateiSpeichern(Speicherziel());
}

void Dokumentbefehle::SpeichernUnter()
{
    DateiSpeichern(QString());
}

void Dokumentbefehle::Ende()
{
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen))
        return;
    frm_.mod().Gespeichert = true;
    programmBeenden_();
}

bool Dokumentbefehle::Schliessen()
{
    return AenderungenKlaeren(MsgKnoepfe::JaNein);
}
