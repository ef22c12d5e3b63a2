// SPDX-License-Identifier: GPL-3.0-or-later
#include "bildausgabe.h"

#include "view/drucker.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QSaveFile>
#include <limits>

namespace {
QString Grund(const QSaveFile& datei)
{
    QString grund;
    switch (datei.error()) {
    case QFileDevice::PermissionsError:
        grund = QStringLiteral("Der Zugriff wurde verweigert.");
        break;
    case QFileDevice::OpenError:
        grund = QStringLiteral("Die Datei kann nicht angelegt werden.");
        break;
    case QFileDevice::RenameError:
        grund = QStringLiteral("Die vorhandene Datei kann nicht ersetzt werden.");
        break;
    default:
        grund = QStringLiteral("Beim Schreiben ist ein Fehler aufgetreten.");
        break;
    }
    if (!datei.errorString().isEmpty())
        grund += QStringLiteral(" (") + datei.errorString() + QLatin1Char(')');
    return grund;
}
}  // namespace

std::optional<QString> BitmapSchreiben(const QImage& bild, const QString& pfad)
{
    return BildSchreiben(bild, pfad, "BMP");
}

std::optional<QString> BildSchreiben(const QImage& bild, const QString& pfad, const char* format)
{
    if (pfad.isEmpty())
        return QStringLiteral("Es wurde kein Dateiname angegeben.");
    if (bild.isNull())
        return QStringLiteral("Für ein Bild dieser Größe reicht der Arbeitsspeicher nicht.");
    // The bitmap's header counts its bytes in 32 bits, and many programs read
    // them as signed: 2 GiB is the most a bitmap file can hold.
    const qint64 zeile = (qint64(bild.width()) * (bild.depth() == 32 ? 24 : bild.depth()) + 31) / 32 * 4;
    if (qstrcmp(format, "BMP") == 0 && 54 + 1024 + zeile * bild.height() > std::numeric_limits<qint32>::max())
        return QStringLiteral("Ein Bild von %1 × %2 Pixeln ist zu groß für eine Bitmap-Datei (höchstens 2 GiB). "
                              "Bitte verkleinern Sie das Fenster.")
            .arg(bild.width())
            .arg(bild.height());
    const QFileInfo info(pfad);
    if (!info.absoluteDir().exists())
        return QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(info.absolutePath()));

    // Written beside the target and renamed over it at the end, so a failure
    // never leaves half a bitmap or destroys the old file. Where the folder
    // forbids new files but the file itself may be overwritten, write it directly.
    QSaveFile datei(pfad);
    datei.setDirectWriteFallback(true);
    if (!datei.open(QIODevice::WriteOnly))
        return Grund(datei);
    // The format is named: the extension the user chose does not matter.
    if (!bild.save(&datei, format)) {
        datei.cancelWriting();
        return datei.error() != QFileDevice::NoError ? Grund(datei)
                                                     : QStringLiteral("Das Bild konnte nicht umgewandelt werden.");
    }
    if (!datei.commit())
        return Grund(datei);
    return std::nullopt;
}

bool GleicheDatei(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

bool BildDrucken(const QImage& bild, int kopien, Drucker& drucker, double pixelverhaeltnis)
{
    // The ratio goes on a second image over the same pixels: set on the
    // picture itself (or on a copy of it sharing its data), it would copy the
    // whole picture first, gigabytes for a giant window, of which the
    // printer gets only what falls on the page.
    QImage druckbild = bild;
    if (pixelverhaeltnis > 0 && pixelverhaeltnis != bild.devicePixelRatio() && !bild.isNull()) {
        druckbild = QImage(const_cast<uchar*>(bild.constBits()), bild.width(), bild.height(), bild.bytesPerLine(),
                           bild.format());
        druckbild.setColorTable(bild.colorTable());
        druckbild.setDevicePixelRatio(pixelverhaeltnis);
    }
    for (int k = 1; k <= kopien; ++k) {
        drucker.PaintPicture(druckbild, 0, 0);
        drucker.NewPage();
    }
    drucker.EndDoc();
    return !drucker.Fehler();
}
