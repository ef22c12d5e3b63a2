// SPDX-License-Identifier: GPL-3.0-or-later
#include "dateisenke.h"

#include <QDir>
#include <QFileInfo>

std::unique_ptr<Filmsenke> Dateisenke::Oeffnen(const QString& pfad, QString& fehler)
{
    const QFileInfo info(pfad);
    if (!info.absoluteDir().exists()) {
        fehler = QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(info.absolutePath()));
        return nullptr;
    }
    if (info.isDir()) {
        fehler = QStringLiteral("„%1“ ist ein Ordner.").arg(QDir::toNativeSeparators(info.absoluteFilePath()));
        return nullptr;
    }
    std::unique_ptr<Dateisenke> senke(new Dateisenke(pfad));
    // No direct writing as a fallback: a failure half way would leave half a film under the target's name.
    senke->datei_.setDirectWriteFallback(false);
    if (!senke->datei_.open(QIODevice::WriteOnly)) {
        fehler = senke->Grund();
        return nullptr;
    }
    return senke;
}

Dateisenke::Dateisenke(const QString& pfad)
    : datei_(pfad)
{
}

QString Dateisenke::Grund() const
{
    QString grund;
    switch (datei_.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        grund = QStringLiteral("Im Ordner „%1“ kann keine Datei angelegt werden.")
                    .arg(QDir::toNativeSeparators(QFileInfo(datei_.fileName()).absolutePath()));
        break;
    case QFileDevice::RenameError:
        grund = QStringLiteral("Die vorhandene Datei kann nicht ersetzt werden.");
        break;
    default:
        grund = QStringLiteral("Beim Schreiben ist ein Fehler aufgetreten; vielleicht ist der Datenträger voll.");
        break;
    }
    if (!datei_.errorString().isEmpty())
        grund += QStringLiteral(" (") + datei_.errorString() + QLatin1Char(')');
    return grund;
}

bool Dateisenke::Schreiben(const uint8_t* daten, int64_t anzahl)
{
    if (!fehler_.isEmpty())
        return false;
    if (datei_.write(reinterpret_cast<const char*>(daten), anzahl) != anzahl) {
        fehler_ = Grund();
        return false;
    }
    return true;
}

bool Dateisenke::Springen(int64_t stelle)
{
    if (!fehler_.isEmpty())
        return false;
    if (!datei_.seek(stelle)) {
        fehler_ = Grund();
        return false;
    }
    return true;
}

std::optional<QString> Dateisenke::Uebernehmen()
{
    if (!fehler_.isEmpty()) {
        datei_.cancelWriting();
        return fehler_;
    }
    // Writes what is still buffered, then renames; on failure QSaveFile removes the temporary file.
    if (!datei_.commit()) {
        fehler_ = Grund();
        return fehler_;
    }
    return std::nullopt;
}

void Dateisenke::Verwerfen()
{
    datei_.cancelWriting();
    // commit() after cancelWriting() discards the temporary file at once instead of at destruction.
    datei_.commit();
}
