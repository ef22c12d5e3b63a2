// SPDX-License-Identifier: GPL-3.0-or-later
#include "dateiablage.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QString AbgelegteKoerperdatei(const QMimeData* daten)
{
    if (!daten || !daten->hasUrls())
        return QString();
    const QList<QUrl> urls = daten->urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return QString();
    // Any other file would be read as records of bodies, and its bytes made
    // into nonsense; the open dialog offers only body files either.
    const QFileInfo datei(urls[0].toLocalFile());
    if (datei.isDir() || datei.suffix().compare(QStringLiteral("plv"), Qt::CaseInsensitive) != 0)
        return QString();
    return datei.absoluteFilePath();
}
