// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmrechnung.h"

#include "sim/lauf.h"
#include "view/filmaufzeichnung.h"

#include <QLocale>
#include <QProgressDialog>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
// Short enough that the window answers at once.
constexpr std::chrono::milliseconds Scheibendauer{30};
// Frames computed and not yet written, at most.
constexpr int Vorlauf = 4;
}  // namespace

QString Filmrechnung::Restzeit(double sekunden)
{
    const auto s = qint64(std::ceil(sekunden));
    if (s < 60)
        return QStringLiteral("noch etwa %1 s").arg(s);
    return QStringLiteral("noch etwa %1 min %2 s").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

Filmrechnung::Filmrechnung(Lauf& lauf, Filmaufzeichnung& film, int32_t schritte, int bilder, QWidget* fenster)
    : QObject(fenster)
    , lauf_(lauf)
    , film_(film)
    , ziel_(std::max<int32_t>(0, schritte))
    , bilder_(std::max(1, bilder))
{
    scheiben_.setInterval(0);
    connect(&scheiben_, &QTimer::timeout, this, &Filmrechnung::Scheibe);
    // Each step the run takes counts, wherever it was computed.
    connect(&lauf_, &Lauf::schrittGemacht, this, [this] { ++gerechnet_; });
    connect(&lauf_, &Lauf::schrittFehlgeschlagen, this, &Filmrechnung::Beenden);
    // The run resets when another document is loaded: what was asked for no longer exists.
    connect(&lauf_, &Lauf::zurueckgesetzt, this, &Filmrechnung::Beenden);
    connect(&lauf_, &Lauf::standGeaendert, this, &Filmrechnung::Wecken);
    connect(&lauf_, &Lauf::neuzeichnungBeendet, this, &Filmrechnung::Wecken);
    connect(&lauf_, &Lauf::neuzeichnungAbgebrochen, this, &Filmrechnung::Wecken);
    connect(&film_, &Filmaufzeichnung::erledigt, this, &Filmrechnung::Wecken);

    fortschritt_ = new QProgressDialog(QStringLiteral("Der Film wird gerechnet..."), QStringLiteral("Abbrechen"), 0,
                                       bilder_, fenster);
    fortschritt_->setWindowTitle(QStringLiteral("Plavo"));
    fortschritt_->setWindowModality(Qt::WindowModal);
    fortschritt_->setMinimumDuration(0);
    fortschritt_->setAutoClose(false);
    fortschritt_->setAutoReset(false);
    fortschritt_->setValue(0);
    connect(fortschritt_, &QProgressDialog::canceled, this, &Filmrechnung::Abbrechen);
}

Filmrechnung::~Filmrechnung()
{
    delete fortschritt_;
}

void Filmrechnung::Starten()
{
    uhr_.start();
    scheiben_.start();
}

void Filmrechnung::Abbrechen()
{
    Beenden();
}

void Filmrechnung::Wecken()
{
    if (!fertig_ && !scheiben_.isActive())
        scheiben_.start();
}

void Filmrechnung::Scheibe()
{
    // A modal progress dialog handles events while it shows a value.
    if (fertig_ || inScheibe_)
        return;
    if (fortschritt_ && fortschritt_->wasCanceled()) {
        Beenden();
        return;
    }
    inScheibe_ = true;
    const auto bis = std::chrono::steady_clock::now() + Scheibendauer;
    bool warten = false;
    while (gerechnet_ < ziel_ && !film_.Gescheitert()) {
        // The first frame waits for its redraw; a step waits for the one
        // in flight and for the film, which keeps only a few frames ahead,
        // so a cancel ends at once with every step computed in the film.
        if (!film_.Begonnen() || lauf_.NeuzeichnungLaeuft() || lauf_.SchrittUnterwegs() || !film_.Frei()
            || film_.Ausstehend() >= Vorlauf) {
            warten = true;
            break;
        }
        if (lauf_.Takt() != KeinFehler)
            break;   // announced: the window reports it, and this ends
        if (std::chrono::steady_clock::now() >= bis)
            break;
    }
    inScheibe_ = false;
    if (fertig_)
        return;
    if (film_.Gescheitert() || (gerechnet_ >= ziel_ && film_.Begonnen() && !lauf_.SchrittUnterwegs())) {
        Beenden();
        return;
    }
    // Whatever is waited for wakes the slices again.
    scheiben_.stop();
    Zeigen();
    if (!warten && !fertig_)
        scheiben_.start();
}

void Filmrechnung::Zeigen()
{
    if (!fortschritt_)
        return;
    const int fertig = film_.Bilder();
    QString text = QStringLiteral("Der Film wird gerechnet: Bild %1 von %2")
                       .arg(QLocale().toString(fertig), QLocale().toString(bilder_));
    if (fertig > 0 && uhr_.isValid())
        text += QStringLiteral(", ") + Restzeit(double(uhr_.elapsed()) / 1000.0 * (bilder_ - fertig) / fertig);
    fortschritt_->setLabelText(text);
    inScheibe_ = true;
    fortschritt_->setValue(std::min(fertig, bilder_));
    inScheibe_ = false;
}

void Filmrechnung::Beenden()
{
    if (fertig_)
        return;
    fertig_ = true;
    scheiben_.stop();
    if (fortschritt_)
        fortschritt_->hide();
    emit beendet();
}
