// SPDX-License-Identifier: GPL-3.0-or-later
#include "dokument.h"

#include "model/zahltext.h"

#include <QUndoCommand>
#include <functional>
#include <utility>

// Every edit so far exchanges one part of the document with the value the
// command holds: the same exchange undoes and redoes it, bit for bit, and
// the command keeps only one copy of the bodies. Its children (what the run
// does besides) are done first and undone last.
struct Dokument::Befehl : QUndoCommand {
    Befehl(const QString& text, bool aendertDatei, std::function<void()> tausch)
        : aendertDatei(aendertDatei)
        , tausch_(std::move(tausch))
    {
        setText(text);
    }
    void redo() override
    {
        QUndoCommand::redo();
        if (tausch_)
            tausch_();
    }
    void undo() override
    {
        if (tausch_)
            tausch_();
        QUndoCommand::undo();
    }

    // False for what the body file does not hold: it leaves the saved state alone.
    const bool aendertDatei;

private:
    std::function<void()> tausch_;
};

Dokument::Dokument(QObject* parent)
    : QObject(parent)
{
    stapel_.setUndoLimit(Grenze);
}

Dokument::~Dokument() = default;

void Dokument::KoerperUebernehmen(KoerperSatz koerper)
{
    KoerperAendern(std::move(koerper), QStringLiteral("Tabelle übernehmen"));
}

void Dokument::KoerperAendern(KoerperSatz koerper, const QString& text, Begleitung mit)
{
    auto* befehl =
        new Befehl(text, true, [this, satz = std::move(koerper)]() mutable { KoerperTauschen(satz); });
    if (mit)
        mit(befehl);
    else if (begleitung_)
        begleitung_(befehl);
    Ausfuehren(befehl);
}

void Dokument::Ausserhalb(const QString& text, const Begleitung& tat)
{
    auto* befehl = new Befehl(text, false, {});
    tat(befehl);
    Ausfuehren(befehl);
}

void Dokument::IntervallSetzen(double tage)
{
    Ausfuehren(new Befehl(QStringLiteral("Berechnungsintervall ") + ZahlZuText(tage), false,
                          [this, wert = tage]() mutable { IntervallTauschen(wert); }));
}

void Dokument::Ausfuehren(Befehl* befehl)
{
    emit vorAenderung();
    const bool sauber = stapel_.isClean();
    const bool aendertDatei = befehl->aendertDatei;
    stapel_.push(befehl);
    if (sauber && !aendertDatei)
        stapel_.setClean();
    Melden();
}

void Dokument::Rueckgaengig()
{
    Blaettern(true);
}

void Dokument::Wiederherstellen()
{
    Blaettern(false);
}

void Dokument::Blaettern(bool zurueck)
{
    const auto moeglich = [&] { return zurueck ? stapel_.canUndo() : stapel_.canRedo(); };
    if (!moeglich())
        return;
    emit vorAenderung();
    // A listener may have moved the stack meanwhile (a message box runs the event loop).
    if (!moeglich())
        return;
    const int index = zurueck ? stapel_.index() - 1 : stapel_.index();
    const bool aendertDatei = static_cast<const Befehl*>(stapel_.command(index))->aendertDatei;
    const bool sauber = stapel_.isClean();
    if (zurueck)
        stapel_.undo();
    else
        stapel_.redo();
    if (sauber && !aendertDatei)
        stapel_.setClean();
    Melden();
}

void Dokument::KoerperTauschen(KoerperSatz& koerper)
{
    std::swap(daten_.KoerperStart, koerper);
    geaendert_ |= Koerper_;
}

void Dokument::IntervallTauschen(double& tage)
{
    std::swap(daten_.Intervall, tage);
    geaendert_ |= Intervall_;
}

void Dokument::NameSetzen(const QString& pfad)
{
    if (daten_.DateiName == pfad)
        return;
    daten_.DateiName = pfad;
    geaendert_ |= Name_;
}

void Dokument::Anfangen()
{
    daten_.KoerperStart.assign(1, Koerper{});
    geaendert_ |= Koerper_;
    daten_.Intervall = ModPlavo{}.Intervall;
    geaendert_ |= Intervall_;
    NameSetzen(QString());
    Leeren();
    Melden();
}

void Dokument::Neu()
{
    emit vorAenderung();
    daten_.KoerperStart.assign(1, Koerper{});
    geaendert_ |= Koerper_;
    NameSetzen(QString());
    Leeren();
    Melden();
}

void Dokument::Laden(const QString& pfad, const KoerperSatz& koerper, std::optional<double> intervall)
{
    // A file without a record leaves the bodies as they were.
    if (!koerper.empty())
        daten_.KoerperStart = koerper;
    geaendert_ |= Geladen_;
    NameSetzen(pfad);
    if (intervall) {
        daten_.Intervall = *intervall;
        geaendert_ |= Intervall_;
    }
    Leeren();
    Melden();
}

void Dokument::GespeichertUnter(const QString& pfad)
{
    NameSetzen(pfad);
    stapel_.setClean();
    Melden();
}

void Dokument::Abschliessen()
{
    stapel_.setClean();
    Melden();
}

void Dokument::Leeren()
{
    // Undoing past a new or loaded document would mix two documents.
    stapel_.clear();
}

void Dokument::Melden()
{
    const unsigned was = std::exchange(geaendert_, Keine);
    const bool sauber = stapel_.isClean();
    const bool wechsel = sauber != daten_.Gespeichert;
    daten_.Gespeichert = sauber;
    // The interval first: a loaded document is built with the interval it came with.
    if (was & Intervall_)
        emit intervallGeaendert();
    if (was & Geladen_)
        emit geladen();
    else if (was & Koerper_)
        emit koerperGeaendert();
    if (was & Name_)
        emit nameGeaendert();
    if (wechsel)
        emit gespeichertGeaendert(sauber);
    emit stapelGeaendert();
}
