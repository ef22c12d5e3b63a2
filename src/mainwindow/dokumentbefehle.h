#pragma once
// The document commands of the main window: New, Open, Save, Save as, Exit,
// closing the window, the unsaved-changes prompt and what follows an Open.
//
// Nothing is discarded unless it is safe to: when the user answers "Ja" to
// the prompt but the save does not happen (dialog cancelled, write failed),
// the command stops. Open changes nothing until a file has been chosen and
// read completely.

#include "mainwindow/rueckfragen.h"

#include <QString>
#include <functional>
#include <optional>

class FrmPlavo;

// "Plavo" for an untitled document, otherwise "Plavo - [file part]".
QString DokumentTitel(const QString& dateiName);

class Dokumentbefehle {
public:
    // `programmBeenden` ends the program once the document is settled; the
    // default closes the main window and quits the application.
    explicit Dokumentbefehle(FrmPlavo& frm, std::function<void()> programmBeenden = {});

    // The one save routine. An empty path asks with the save dialog. True when
    // the document is saved afterwards (also when there was nothing to write);
    // false after a cancel or a failed write, which is reported to the user.
    bool DateiSpeichern(const QString& pfad);

    void Neu();
    void Oeffnen();
    // Opens `pfad` as Open does once a file is chosen, after the unsaved-changes
    // prompt: for a file given on the command line or dropped on the window.
    // True when the file was opened.
    bool DateiOeffnen(const QString& pfad);
    // Opens a shipped example as DateiOeffnen does and sets the interval of
    // half a day that its speeds are made for. The file is not the user's:
    // until it is saved under a name of the user's own, saving asks for one.
    bool BeispielOeffnen(const QString& pfad);
    void Speichern();
    void SpeichernUnter();
    void Ende();
    // Closing the main window: true when it may close.
    bool Schliessen();

private:
    // The unsaved-changes prompt, when needed. True when the command may go on.
    bool AenderungenKlaeren(MsgKnoepfe knoepfe);
    void DateidialogVorbereiten();
    void Melden(const QString& text);
    // Everything Open does once it has a path; false when the file could not be read.
    // `intervall` (days), when given, is set once the file has been read.
    bool Laden(const QString& pfad, std::optional<double> intervall = std::nullopt);
    // Where Save and the prompt's "Ja" write: the document's file, or
    // nowhere yet (ask) for an untitled document or an example.
    QString Speicherziel() const;
    void NachDemOeffnen(bool laufFehlgeschlagen);

    FrmPlavo& frm_;
    std::function<void()> programmBeenden_;
    bool beispiel_ = false;   // the document's file is a shipped example
};
