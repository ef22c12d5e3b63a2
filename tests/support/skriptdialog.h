// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scripted stand-ins for the common dialog and the questions to the user:
// each Show or box takes the next scripted answer and records what it was
// shown, so window handlers can be tested without a person.

#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"

#include <QPrinter>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class SkriptStandarddialog : public Standarddialog {
public:
    struct Aufruf {
        QString Art;          // "Open", "Save", "Color", "Printer"
        QString Filter, DefaultExt, FileName;
        int32_t Flags = 0, Color = 0;
        int16_t FilterIndex = 1;
    };
    // One answer per Show: nullopt = cancel; for files the path, for colours
    // the RGB value as decimal text, for the printer the copies as text.
    std::deque<std::optional<QString>> Antworten;
    std::vector<Aufruf> Aufrufe;
    std::unique_ptr<QPrinter> Drucker;

    bool ShowOpen() override { return Datei(QStringLiteral("Open")); }
    bool ShowSave() override { return Datei(QStringLiteral("Save")); }
    bool ShowColor() override
    {
        const auto a = Naechste(QStringLiteral("Color"));
        if (a)
            Color = a->toInt();
        return a.has_value();
    }
    bool ShowPrinter() override
    {
        const auto a = Naechste(QStringLiteral("Printer"));
        if (a)
            Copies = int16_t(a->toInt());
        return a.has_value();
    }
    QPrinter* Printer() override
    {
        if (!Drucker)
            Drucker = std::make_unique<QPrinter>();
        return Drucker.get();
    }

private:
    bool Datei(const QString& art)
    {
        const auto a = Naechste(art);
        if (a)
            FileName = *a;
        return a.has_value();
    }
    std::optional<QString> Naechste(const QString& art)
    {
        Aufrufe.push_back({art, Filter, DefaultExt, FileName, Flags, Color, FilterIndex});
        if (Antworten.empty())
            throw std::logic_error("unexpected dialog: " + art.toStdString());
        auto a = Antworten.front();
        Antworten.pop_front();
        return a;
    }
};

class SkriptRueckfragen : public Rueckfragen {
public:
    struct Eingabe {
        QString Prompt, Titel, Vorgabe;
    };
    struct Meldung {
        QString Text, Titel;
        MsgKnoepfe Knoepfe;
        MsgSymbol Symbol;
    };
    std::deque<std::optional<QString>> Eingaben;   // nullopt = Abbrechen
    bool VorgabeNehmen = false;                    // without Eingaben left, every box is answered as proposed
    std::deque<MsgAntwort> Antworten;              // answers to message boxes that ask
    std::vector<Eingabe> Gefragt;
    std::vector<Meldung> Gemeldet;

    std::optional<QString> InputBox(const QString& prompt, const QString& titel, const QString& vorgabe) override
    {
        Gefragt.push_back({prompt, titel, vorgabe});
        if (Eingaben.empty()) {
            if (VorgabeNehmen)
                return vorgabe;
            throw std::logic_error("unexpected input box: " + prompt.toStdString());
        }
        // Taken apart rather than moved whole: GCC 12 warns falsely about a moved optional<QString>.
        const bool abgebrochen = !Eingaben.front().has_value();
        QString e = abgebrochen ? QString() : std::move(*Eingaben.front());
        Eingaben.pop_front();
        if (abgebrochen)
            return std::nullopt;
        return e;
    }

    MsgAntwort MsgBox(const QString& text, const QString& titel, MsgKnoepfe knoepfe, MsgSymbol symbol) override
    {
        Gemeldet.push_back({text, titel, knoepfe, symbol});
        if (knoepfe == MsgKnoepfe::OK)
            return MsgAntwort::OK;
        if (Antworten.empty())
            throw std::logic_error("unexpected question: " + text.toStdString());
        const MsgAntwort a = Antworten.front();
        Antworten.pop_front();
        return a;
    }
};
