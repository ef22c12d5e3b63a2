// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document: the one owner of the document set, the interval, the file
// name and the saved flag. Nothing else writes them. Edits are commands on
// one undo stack; New, loading, saving and Exit are operations of their own
// that are not undone. Every change is announced after it is complete, so a
// listener always sees a whole document; `vorAenderung` comes before an edit
// changes the bodies or the interval under a running simulation.
//
// The saved flag is the stack's clean state: undoing back to what was last
// saved makes the document saved again, redoing past it unsaved. A new
// interval is not part of the body file, so it never changes the flag (the
// clean state moves along with it).

#include "model/modplavo.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <optional>

class Dokument : public QObject {
    Q_OBJECT
public:
    // Commands kept for undo; the oldest goes first.
    static constexpr int Grenze = 100;

    explicit Dokument(QObject* parent = nullptr);
    ~Dokument() override;

    const ModPlavo& Daten() const { return daten_; }
    const QUndoStack& Stapel() const { return stapel_; }

    // Undoable: the table's OK ("Tabelle übernehmen"), committed even when
    // nothing was edited, and a new interval in days ("Berechnungsintervall 0,5").
    void KoerperUebernehmen(KoerperSatz koerper);
    void IntervallSetzen(double tage);
    // What else a command does besides the document: children made on the
    // command given (QUndoCommand(eltern)). They are done before the
    // document changes and undone after it changed back, so the listeners
    // of the change see them done.
    using Begleitung = std::function<void(QUndoCommand* eltern)>;
    // Undoable under `text`: an edit of the bodies on the picture, with
    // `mit` (the run's part) besides; without it, the Begleitung set below.
    void KoerperAendern(KoerperSatz koerper, const QString& text, Begleitung mit = {});
    // Undoable under `text`, and the document stays as it is: an edit of
    // the run only (an intervention at a later step). Never unsaves.
    void Ausserhalb(const QString& text, const Begleitung& tat);
    // Made along with every command that replaces the bodies and brings no
    // Begleitung of its own (the table's OK): the run lets go of its
    // interventions, and the undo gives them back.
    void BegleitungSetzen(Begleitung b) { begleitung_ = std::move(b); }
    void Rueckgaengig();
    void Wiederherstellen();
    // The command an undo or redo would undo or redo; empty when there is none.
    QString RueckgaengigText() const { return stapel_.undoText(); }
    QString WiederherstellenText() const { return stapel_.redoText(); }

    // Program start: one empty body, 2 days, untitled, saved, nothing to undo.
    void Anfangen();
    // New: one empty body, untitled, saved; the interval stays.
    void Neu();
    // A file was read: its bodies (none read keeps the set), its path, saved.
    // `intervall` (days), when given, is set too.
    void Laden(const QString& pfad, const KoerperSatz& koerper, std::optional<double> intervall = std::nullopt);
    // The bodies were written to `pfad`: the document is named after it and saved.
    void GespeichertUnter(const QString& pfad);
    // Exit: the changes are settled, nothing is to be asked any more.
    void Abschliessen();

signals:
    // An edit, an undo, a redo or New is about to change the bodies or the interval.
    void vorAenderung();
    // The document set was replaced by an edit, its undo or redo, or New.
    void koerperGeaendert();
    // A file was read: a document of its own (bodies, name, perhaps the interval).
    void geladen();
    void intervallGeaendert();
    void nameGeaendert();
    void gespeichertGeaendert(bool gespeichert);
    // What Rückgängig and Wiederherstellen would do has changed.
    void stapelGeaendert();

private:
    struct Befehl;
    enum Aenderung : unsigned { Keine = 0, Koerper_ = 1, Intervall_ = 2, Name_ = 4, Geladen_ = 8 };

    void Ausfuehren(Befehl* befehl);
    // Undo (zurueck) or redo one command.
    void Blaettern(bool zurueck);
    void KoerperTauschen(KoerperSatz& koerper);
    void IntervallTauschen(double& tage);
    void NameSetzen(const QString& pfad);
    // The stack starts anew at the document as it now is, saved.
    void Leeren();
    // Announces what changed since the last call, and the saved state.
    void Melden();

    ModPlavo daten_;
    QUndoStack stapel_;
    Begleitung begleitung_;
    unsigned geaendert_ = Keine;
};
