// SPDX-License-Identifier: GPL-3.0-or-later
#include "titel.h"

#include "model/zahltext.h"
#include "sim/schrittkern.h"

#include <QStringList>

namespace {
QString MitDatei(const QString& dateiName)
{
    return DokumentTitel(dateiName) + QStringLiteral(" - ");
}
}  // namespace

QString Programmtitel()
{
    return QStringLiteral("Plavo");
}

QString Dateiteil(const QString& pfad)
{
    qsizetype pos = pfad.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    pos = std::max(pos, pfad.lastIndexOf(QLatin1Char('\\')));
#endif
    return pfad.mid(pos + 1);
}

QString DokumentTitel(const QString& dateiName)
{
    if (dateiName.isEmpty())
        return Programmtitel();
    return Programmtitel() + QStringLiteral(" - [") + Dateiteil(dateiName) + QStringLiteral("]");
}

QString TitelText(int32_t schrittzahl, double intervall, const QString& dateiName)
{
    return MitDatei(dateiName) + ZahlZuText(double(schrittzahl) * intervall) + QStringLiteral(" Tage");
}

QString NeuzeichnenTitel(int prozent, const QString& dateiName)
{
    return MitDatei(dateiName) + QStringLiteral("Neuzeichnen %1 %").arg(prozent);
}

QString FehlerText(unsigned fehler)
{
    if (fehler & FehlerZaehlerUeberlauf)
        return QStringLiteral("Die Simulation wurde angehalten: Die höchste mögliche Schrittzahl ist erreicht.");
    QStringList gruende;
    if (fehler & FehlerUeberlauf)
        gruende << QStringLiteral("Überlauf");
    if (fehler & FehlerDivisionDurchNull)
        gruende << QStringLiteral("Division durch null");
    if (fehler & FehlerUngueltig)
        gruende << QStringLiteral("ungültige Rechenoperation");
    if ((fehler & FehlerNichtEndlich) && gruende.isEmpty())
        gruende << QStringLiteral("Wert nicht endlich");
    return QStringLiteral("Die Simulation wurde wegen eines Rechenfehlers angehalten (%1).\n\n"
                          "Bitte prüfen Sie Massen, Positionen und Geschwindigkeiten der Körper.")
        .arg(gruende.join(QStringLiteral(", ")));
}
