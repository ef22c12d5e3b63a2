// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusleiste.h"

#include "model/zahltext.h"
#include "sim/lauf.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

namespace {
QLabel* Feld(QStatusBar& leiste, const char* name)
{
    auto* feld = new QLabel(&leiste);
    feld->setObjectName(QString::fromLatin1(name));
    feld->setContentsMargins(6, 0, 6, 0);
    // Permanent, so a confirmation never hides where the run stands.
    leiste.addPermanentWidget(feld);
    return feld;
}
}  // namespace

QString AufAufloesung(double wert, double aufloesung)
{
    if (!std::isfinite(wert))
        return ZahlZuText(wert);
    int stellen = 15;
    if (std::isfinite(aufloesung) && aufloesung > 0)
        stellen = std::clamp(int(std::ceil(-std::log10(aufloesung))), -15, 15);
    const double stufe = std::pow(10.0, -stellen);
    // + 0.0: a point just left of the axis is at 0, not at -0.
    const double gerundet = std::round(wert / stufe) * stufe + 0.0;
    return ZahlZuText(std::isfinite(gerundet) ? gerundet : wert);
}

Statusleiste::Statusleiste(const Lauf& lauf, QWidget* parent)
    : QStatusBar(parent)
    , lauf_(lauf)
{
    setObjectName(QStringLiteral("staPlavo"));
    // The fields never hold the window wider than the user makes it: they are cut off instead.
    setMinimumWidth(1);
    laeuft_ = Feld(*this, "lblLauf");
    schritt_ = Feld(*this, "lblSchritt");
    tage_ = Feld(*this, "lblTage");
    koerper_ = Feld(*this, "lblKoerper");
    maus_ = Feld(*this, "lblMaus");
    // Wide enough for most positions, so the fields do not jump as the mouse moves.
    maus_->setMinimumWidth(maus_->fontMetrics().horizontalAdvance(QStringLiteral("x: -0,0000 AE  y: -0,0000 AE")));
    LaufZeigen(false);
    StandZeigen();
    connect(&lauf_, &Lauf::standGeaendert, this, &Statusleiste::StandZeigen);
}

void Statusleiste::LaufZeigen(bool laeuft)
{
    laeuft_->setText(laeuft ? QStringLiteral("läuft") : QStringLiteral("angehalten"));
}

void Statusleiste::StandZeigen()
{
    // The days as the caption counts them.
    const int32_t n = lauf_.Schrittzahl();
    schritt_->setText(QStringLiteral("Schritt ") + ZahlZuText(n));
    tage_->setText(ZahlZuText(double(n) * lauf_.Stand().Intervall) + QStringLiteral(" Tage"));
    koerper_->setText(ZahlZuText(double(lauf_.Jetzt().size())) + QStringLiteral(" Körper"));
}

void Statusleiste::MausZeigen(double x, double y, double pixelX, double pixelY)
{
    maus_->setText(QStringLiteral("x: %1 AE  y: %2 AE").arg(AufAufloesung(x, pixelX), AufAufloesung(y, pixelY)));
}

void Statusleiste::MausWeg()
{
    maus_->clear();
}

void Statusleiste::Bestaetigen(const QString& text)
{
    showMessage(text, BestaetigungMs);
}
