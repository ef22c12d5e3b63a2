// SPDX-License-Identifier: GPL-3.0-or-later
#include "ablageort.h"

#include "mainwindow/beispiele.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool IstBeispiel(const QString& pfad)
{
    if (pfad.isEmpty())
        return false;
    const QString beispiele = BeispielOrdner(QCoreApplication::applicationDirPath());
    if (beispiele.isEmpty())
        return false;
    const QFileInfo ordner(QFileInfo(pfad).absolutePath());
    const QFileInfo beispielOrdner(beispiele);
    return ordner.canonicalFilePath().isEmpty()
               ? QDir::cleanPath(ordner.absoluteFilePath()) == QDir::cleanPath(beispielOrdner.absoluteFilePath())
               : ordner.canonicalFilePath() == beispielOrdner.canonicalFilePath();
}

QString Speichervorschlag(const QString& dokument, const QString& endung, QStandardPaths::StandardLocation ordner)
{
    if (dokument.isEmpty())
        return QString();
    const QFileInfo info(dokument);
    const QString name = endung.isEmpty() ? info.completeBaseName() : info.completeBaseName() + QLatin1Char('.') + endung;
    if (!IstBeispiel(dokument))
        return info.dir().filePath(name);
    QString ziel = QStandardPaths::writableLocation(ordner);
    if (ziel.isEmpty() || !QFileInfo(ziel).isDir())
        ziel = QDir::homePath();
    return QDir(ziel).filePath(name);
}
