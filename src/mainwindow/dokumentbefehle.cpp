// SPDX-License-Identifier: GPL-3.0-or-later
#include "dokumentbefehle.h"

#include "mainwindow/ablageort.h"
#include "mainwindow/standarddialog.h"
#include "mainwindow/titel.h"
#include "model/koerperdatei.h"

Dokumentbefehle::Dokumentbefehle(Dokument& dokument, Standarddialog& cdg, Rueckfragen& rueckfragen)
    : dokument_(dokument)
    , cdg_(cdg)
    , frage_(rueckfragen)
{
}

void Dokumentbefehle::DateidialogVorbereiten()
{
    // The picture export shares the dialog and leaves its own filter and
    // name behind. The document's file is proposed, never the picture's:
    // body records written over a picture would destroy it.
    cdg_.Filter = QStringLiteral("Plavo-Dateien (*.plv)|*.plv");
    cdg_.DefaultExt = QStringLiteral("*.plv");
    cdg_.FileName = dokument_.Daten().DateiName;
}

void Dokumentbefehle::Melden(const QString& text)
{
    frage_.MsgBox(text, Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

bool Dokumentbefehle::AenderungenKlaeren(MsgKnoepfe knoepfe, Dokumentfolge& folge)
{
    if (dokument_.Daten().Gespeichert)
        return true;
    switch (frage_.MsgBox(QStringLiteral("Änderungen speichern?"), Programmtitel(), knoepfe, MsgSymbol::Frage)) {
    case MsgAntwort::Ja: {
        // A "Ja" that saved nothing must not lose the changes.
        const Dokumentfolge gespeichert = DateiSpeichern(Speicherziel());
        folge.gespeichert = gespeichert.gespeichert;
        return gespeichert.weiter;
    }
    case MsgAntwort::Nein:
        return true;
    default:
        return false;
    }
}

Dokumentfolge Dokumentbefehle::DateiSpeichern(const QString& pfad)
{
    Dokumentfolge folge;
    QString s = pfad;
    if (!s.isEmpty() && dokument_.Daten().Gespeichert) {
        folge.weiter = true;
        return folge;
    }
    if (s.isEmpty()) {
        DateidialogVorbereiten();
        if (IstBeispiel(cdg_.FileName))
            cdg_.FileName = Speichervorschlag(cdg_.FileName, QStringLiteral("plv"), QStandardPaths::DocumentsLocation);
        if (!cdg_.ShowSave() || cdg_.FileName.isEmpty())
            return folge;
        s = cdg_.FileName;
    }
    const DateiErgebnis ergebnis = KoerperdateiSchreiben(s, dokument_.Daten().KoerperStart);
    if (!ergebnis.ok()) {
        // The write is atomic: the file that stood there is untouched, and so is the document.
        Melden(ergebnis.Fehler);
        return folge;
    }
    beispiel_ = false;
    dokument_.GespeichertUnter(s);
    folge.gespeichert = folge.weiter = true;
    return folge;
}

QString Dokumentbefehle::Speicherziel() const
{
    return beispiel_ ? QString() : dokument_.Daten().DateiName;
}

Dokumentfolge Dokumentbefehle::Neu()
{
    Dokumentfolge folge;
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge))
        return folge;
    beispiel_ = false;
    dokument_.Neu();
    folge.neu = folge.weiter = true;
    return folge;
}

Dokumentfolge Dokumentbefehle::Oeffnen()
{
    Dokumentfolge folge;
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge))
        return folge;
    DateidialogVorbereiten();
    if (!cdg_.ShowOpen() || cdg_.FileName.isEmpty())
        return folge;
    Laden(cdg_.FileName, folge);
    return folge;
}

Dokumentfolge Dokumentbefehle::DateiOeffnen(const QString& pfad)
{
    Dokumentfolge folge;
    if (AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge))
        Laden(pfad, folge);
    return folge;
}

Dokumentfolge Dokumentbefehle::BeispielOeffnen(const QString& pfad)
{
    Dokumentfolge folge;
    if (AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge) && Laden(pfad, folge, 0.5))
        beispiel_ = true;
    return folge;
}

bool Dokumentbefehle::Laden(const QString& pfad, Dokumentfolge& folge, std::optional<double> intervall)
{
    // Read first: a file that cannot be opened leaves the document as it was.
    const DateiErgebnis gelesen = KoerperdateiLesen(pfad);
    if (!gelesen.ok()) {
        Melden(gelesen.Fehler);
        return false;
    }
    beispiel_ = false;
    // The interval before the working set is built, and before a start on opening.
    dokument_.Laden(pfad, gelesen.Koerper, intervall);
    folge.geladen = folge.weiter = true;
    return true;
}

Dokumentfolge Dokumentbefehle::Speichern()
{
    return DateiSpeichern(Speicherziel());
}

Dokumentfolge Dokumentbefehle::SpeichernUnter()
{
    return DateiSpeichern(QString());
}

Dokumentfolge Dokumentbefehle::Ende()
{
    Dokumentfolge folge;
    if (!AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge))
        return folge;
    dokument_.Abschliessen();
    folge.beenden = folge.weiter = true;
    return folge;
}

Dokumentfolge Dokumentbefehle::Schliessen()
{
    // With "Abbrechen", as Exit asks: a close box clicked by reflex, or
    // Escape in the prompt, must not throw the changes away.
    Dokumentfolge folge;
    folge.weiter = AenderungenKlaeren(MsgKnoepfe::JaNeinAbbrechen, folge);
    return folge;
}
