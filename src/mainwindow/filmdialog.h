// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Film aufnehmen": what the film is to be (format, size, one frame every k
// steps, frames per second, overlays), where it goes, and whether it is
// recorded live ("Aufnahme starten") or computed ahead ("Film rechnen", n
// steps). A format the installed libraries cannot write is shown disabled,
// its tooltip saying why. The file or folder comes from the common save
// dialog; the open body file is refused. The dialog only returns the choices.

#include "view/filmwahl.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class Rueckfragen;
class Standarddialog;

class Filmdialog : public QDialog {
    Q_OBJECT
public:
    // `gruende[f]`: why format f cannot be written here, empty when it can
    // (in the order of Filmformat). `bildgroesse`: the picture in device
    // pixels. `dokument`: the open body file.
    Filmdialog(Standarddialog& cdg, Rueckfragen& rueckfragen, const std::array<QString, 4>& gruende,
               QSize bildgroesse, const QString& dokument, QWidget* parent = nullptr);

    // Starts from earlier choices (the caller keeps them between uses); a
    // format not available here falls back to the first one that is.
    void Vorschlagen(const Filmwahl& wahl);
    // Shows the dialog; the choices, or nothing when it was cancelled.
    std::optional<Filmwahl> Fragen();
    // The choices as the dialog shows them now.
    Filmwahl Wahl() const;

    // The save dialog's filter and default extension for a format.
    static QString Filter(Filmformat format);
    static QString Endung(Filmformat format);

private:
    void FormatGewechselt();
    bool Durchsuchen();
    // True, after telling the user, when `pfad` is the open body file.
    bool Koerperdatei(const QString& pfad);
    void Starten(Filmwahl::Art art);
    bool Verfuegbar(int index) const { return gruende_[std::size_t(index)].isEmpty(); }

    Standarddialog& cdg_;
    Rueckfragen& frage_;
    std::array<QString, 4> gruende_;
    QString dokument_;
    QString bestaetigt_;   // the save dialog asked about replacing this file already
    Filmwahl::Art art_ = Filmwahl::Art::Aufnahme;

    QComboBox* format_;
    QComboBox* groesse_;
    QSpinBox* schritteProBild_;
    QSpinBox* bildrate_;
    QCheckBox* tage_;
    QCheckBox* koerper_;
    QCheckBox* massstab_;
    QLineEdit* ziel_;
    QPushButton* durchsuchen_;
    QSpinBox* schritte_;
    QPushButton* aufnahme_;
    QPushButton* rechnen_;
};
