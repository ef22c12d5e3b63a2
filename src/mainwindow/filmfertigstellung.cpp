// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmfertigstellung.h"

#include "mainwindow/filmrechnung.h"
#include "view/filmaufzeichnung.h"

#include <QLocale>
#include <QProgressDialog>

#include <algorithm>

Filmfertigstellung::Filmfertigstellung(Filmaufzeichnung& film, QWidget* fenster)
    : QObject(fenster)
    , film_(film)
    , anfang_(film.Bilder())
    , bilder_(film.BilderAbgegeben())
{
    uhr_.start();
    fortschritt_ = new QProgressDialog(QStringLiteral("Der Film wird fertiggestellt..."), QStringLiteral("Abbrechen"),
                                       0, std::max(1, bilder_), fenster);
    fortschritt_->setWindowTitle(QStringLiteral("Plavo"));
    // The run and the window need not wait for the film.
    fortschritt_->setWindowModality(Qt::NonModal);
    fortschritt_->setMinimumDuration(0);
    fortschritt_->setAutoClose(false);
    fortschritt_->setAutoReset(false);
    connect(&film_, &Filmaufzeichnung::erledigt, this, &Filmfertigstellung::Zeigen);
    // The film ends with the frames written so far; its end is announced by the film.
    connect(fortschritt_, &QProgressDialog::canceled, &film_, &Filmaufzeichnung::Kuerzen);
    Zeigen();
    fortschritt_->show();
}

Filmfertigstellung::~Filmfertigstellung()
{
    delete fortschritt_;
}

void Filmfertigstellung::Vorn()
{
    if (!fortschritt_)
        return;
    // Modality takes effect when the dialog is shown.
    fortschritt_->hide();
    fortschritt_->setWindowModality(Qt::ApplicationModal);
    fortschritt_->show();
}

void Filmfertigstellung::Zeigen()
{
    // A modal progress dialog handles events while it shows a value.
    if (!fortschritt_ || inZeigen_)
        return;
    const int fertig = film_.Bilder();
    QString text = QStringLiteral("Der Film wird fertiggestellt: Bild %1 von %2")
                       .arg(QLocale().toString(fertig), QLocale().toString(bilder_));
    // The pace of the worker since the recording stopped, not while the run shared it.
    if (fertig > anfang_)
        text += QStringLiteral(", ")
            + Filmrechnung::Restzeit(double(uhr_.elapsed()) / 1000.0 * (bilder_ - fertig) / (fertig - anfang_));
    fortschritt_->setLabelText(text);
    inZeigen_ = true;
    fortschritt_->setValue(std::min(fertig, bilder_));
    inZeigen_ = false;
}
