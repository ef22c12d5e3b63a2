// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common dialog: file open and save, colour, print. Callers set the
// properties they need before each Show; every property keeps its value
// between uses, so the dialog proposes the file chosen last time.
// A Show returns false when the user cancelled; that is an ordinary result.

#include <QString>
#include <cstdint>

class QPrinter;

class Standarddialog {
public:
    virtual ~Standarddialog() = default;

    QString Filter = QStringLiteral("Plavo-Dateien (*.plv)|*.plv");   // "label|pattern[|label|pattern...]"
    QString DefaultExt = QStringLiteral("*.plv");
    QString FileName;          // after ShowOpen/ShowSave: the chosen path
    int16_t FilterIndex = 1;   // file dialogs: the entry of Filter offered first, and after them the one chosen (from 1)
    int32_t Flags = 0;         // print dialog: 4 = no selection, 8 = no page range
    int16_t Copies = 1;        // after ShowPrinter: copies chosen
    int32_t Color = 0;         // RGB, red in the low byte: initial and chosen colour

    virtual bool ShowOpen() = 0;
    virtual bool ShowSave() = 0;
    virtual bool ShowColor() = 0;
    virtual bool ShowPrinter() = 0;

    // The printer chosen by the last ShowPrinter (the "current printer").
    virtual QPrinter* Printer() = 0;
};

// Flags of the print dialog.
inline constexpr int32_t cdlPDNoSelection = 4;
inline constexpr int32_t cdlPDNoPageNums = 8;

// "Plavo-Dateien (*.plv)|*.plv" in Qt's filter form "Plavo-Dateien (*.plv)".
QString QtFilterAusFilter(const QString& filter);
// "*.plv" -> "plv".
QString SuffixAusDefaultExt(const QString& defaultExt);
