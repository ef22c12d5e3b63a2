// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtrueckfragen.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

QtRueckfragen::QtRueckfragen(QWidget* besitzer)
    : besitzer_(besitzer)
{
}

std::optional<QString> QtRueckfragen::InputBox(const QString& prompt, const QString& titel, const QString& vorgabe)
{
    // A plain text box: numbers are read by the program's own number text.
    QInputDialog dialog(besitzer_);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titel);
    dialog.setLabelText(prompt);
    dialog.setTextValue(vorgabe);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

MsgAntwort QtRueckfragen::MsgBox(const QString& text, const QString& titel, MsgKnoepfe knoepfe, MsgSymbol symbol)
{
    QMessageBox box(besitzer_);
    box.setWindowTitle(titel);
    box.setText(text);
    switch (symbol) {
    case MsgSymbol::Keins: box.setIcon(QMessageBox::NoIcon); break;
    case MsgSymbol::Frage: box.setIcon(QMessageBox::Question); break;
    case MsgSymbol::Information: box.setIcon(QMessageBox::Information); break;
    case MsgSymbol::Warnung: box.setIcon(QMessageBox::Warning); break;
    case MsgSymbol::Kritisch: box.setIcon(QMessageBox::Critical); break;
    }
    // Own captions, so the buttons speak German even without Qt's translations.
    auto knopf = [&box](QMessageBox::StandardButton b, const char* text) {
        box.addButton(b)->setText(QString::fromUtf8(text));
    };
    switch (knoepfe) {
    case MsgKnoepfe::OK:
        knopf(QMessageBox::Ok, "OK");
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MsgKnoepfe::JaNein:
        knopf(QMessageBox::Yes, "&Ja");
        knopf(QMessageBox::No, "&Nein");
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MsgKnoepfe::JaNeinAbbrechen:
        knopf(QMessageBox::Yes, "&Ja");
        knopf(QMessageBox::No, "&Nein");
        knopf(QMessageBox::Cancel, "Abbrechen");
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return MsgAntwort::Ja;
    case QMessageBox::No: return MsgAntwort::Nein;
    case QMessageBox::Cancel: return MsgAntwort::Abbrechen;
    default: return knoepfe == MsgKnoepfe::OK ? MsgAntwort::OK
                    : knoepfe == MsgKnoepfe::JaNein ? MsgAntwort::Nein : MsgAntwort::Abbrechen;
    }
}
