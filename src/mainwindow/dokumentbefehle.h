// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document commands of the main window: New, Open, Save, Save as, Exit,
// closing the window and the unsaved-changes prompt. They change the
// document through its own operations and say what became of it; the
// window does what follows (the caption, what comes after a load).
//
// Nothing is discarded unless it is safe to: when the user answers "Ja" to
// the prompt but the save does not happen (dialog cancelled, write failed),
// the command stops. Open changes nothing until a file has been chosen and
// read completely.

#include "mainwindow/rueckfragen.h"
#include "model/dokument.h"

#include <QString>
#include <optional>

class Standarddialog;

// What a document command did, for the window to follow up on.
struct Dokumentfolge {
    bool gespeichert = false;   // written to DateiName: the caption names the file
    bool neu = false;           // an untitled document with one empty body
    bool geladen = false;       // a file was read into the document set
    bool beenden = false;       // Exit: the document is settled, the program may end
    bool weiter = false;        // the command went through (was not cancelled, nothing failed)
};

class Dokumentbefehle {
public:
    Dokumentbefehle(Dokument& dokument, Standarddialog& cdg, Rueckfragen& rueckfragen);

    // The one save routine. An empty path asks with the save dialog. `weiter`
    // when the document is saved afterwards (also when there was nothing to
    // write); not after a cancel or a failed write, which is reported.
    Dokumentfolge DateiSpeichern(const QString& pfad);

    Dokumentfolge Neu();
    Dokumentfolge Oeffnen();
    // Opens `pfad` as Open does once a file is chosen, after the unsaved-changes
    // prompt: for a file given on the command line or dropped on the window.
    Dokumentfolge DateiOeffnen(const QString& pfad);
    // Opens a shipped example as DateiOeffnen does and sets the interval of
    // half a day that its speeds are made for. The file is not the user's:
    // until it is saved under a name of the user's own, saving asks for one.
    Dokumentfolge BeispielOeffnen(const QString& pfad);
    Dokumentfolge Speichern();
    Dokumentfolge SpeichernUnter();
    Dokumentfolge Ende();
    // Closing the main window: `weiter` when it may close; the prompt offers
    // "Abbrechen", and Escape or its close box keep the window open.
    Dokumentfolge Schliessen();

private:
    // The unsaved-changes prompt, when needed. True when the command may go on.
    bool AenderungenKlaeren(MsgKnoepfe knoepfe, Dokumentfolge& folge);
    void DateidialogVorbereiten();
    void Melden(const QString& text);
    // Reads `pfad` into the document; false when it could not be read (reported).
    // `intervall` (days), when given, is set once the file has been read.
    bool Laden(const QString& pfad, Dokumentfolge& folge, std::optional<double> intervall = std::nullopt);
    // Where Save and the prompt's "Ja" write: the document's file, or
    // nowhere yet (ask) for an untitled document or an example.
    QString Speicherziel() const;

    Dokument& dokument_;
    Standarddialog& cdg_;
    Rueckfragen& frage_;
    bool beispiel_ = false;   // the document's file is a shipped example
};
