// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Modal questions to the user: the input box and the message box.

#include <QString>
#include <optional>

enum class MsgKnoepfe { OK, JaNein, JaNeinAbbrechen };
enum class MsgSymbol { Keins, Frage, Information, Warnung, Kritisch };
enum class MsgAntwort { OK, Ja, Nein, Abbrechen };

class Rueckfragen {
public:
    virtual ~Rueckfragen() = default;

    // Shows `prompt` with `vorgabe` proposed; the text entered, or nothing on cancel.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& titel, const QString& vorgabe) = 0;

    // The first button is the default (Ja for the Ja/Nein sets).
    virtual MsgAntwort MsgBox(const QString& text, const QString& titel, MsgKnoepfe knoepfe, MsgSymbol symbol) = 0;
};
