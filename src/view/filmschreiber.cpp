// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmschreiber.h"

#include "view/ffmpegfilm.h"
#include "view/pngserie.h"

#include <QImageWriter>

namespace {
// Larger frames than 8K would take gigabytes a second to encode.
constexpr int GroessteKante = 8192;
}  // namespace

std::unique_ptr<Filmschreiber> Filmschreiber::Oeffnen(const Filmvorgabe& vorgabe, QString& fehler)
{
    const QSize g = vorgabe.Groesse;
    if (g.width() < 2 || g.height() < 2 || g.width() % 2 || g.height() % 2 || g.width() > GroessteKante
        || g.height() > GroessteKante) {
        fehler = QStringLiteral("Ein Film von %1 × %2 Pixeln kann nicht geschrieben werden: Breite und Höhe "
                                "müssen gerade sein und zwischen 2 und %3 liegen.")
                     .arg(g.width())
                     .arg(g.height())
                     .arg(GroessteKante);
        return nullptr;
    }
    if (vorgabe.Bildrate < KleinsteBildrate || vorgabe.Bildrate > GroessteBildrate) {
        fehler = QStringLiteral("Die Bildrate muss zwischen %1 und %2 Bildern pro Sekunde liegen.")
                     .arg(KleinsteBildrate)
                     .arg(GroessteBildrate);
        return nullptr;
    }
    if (vorgabe.Ziel.isEmpty()) {
        fehler = QStringLiteral("Es wurde kein Dateiname angegeben.");
        return nullptr;
    }
    if (vorgabe.Format == Filmformat::PngSerie)
        return PngSerie::Oeffnen(vorgabe, fehler);
    return FfmpegFilm::Oeffnen(vorgabe, fehler);
}

std::optional<QString> Filmschreiber::NichtVerfuegbar(Filmformat format)
{
    if (format != Filmformat::PngSerie)
        return FfmpegFilm::NichtVerfuegbar(format);
    if (!QImageWriter::supportedImageFormats().contains("png"))
        return QStringLiteral("Die installierte Qt-Bibliothek kann keine PNG-Bilder schreiben.");
    return std::nullopt;
}

QImage Filmschreiber::Angepasst(const QImage& bild) const
{
    QImage b = bild.size() == groesse_ ? bild : bild.scaled(groesse_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return b.format() == QImage::Format_RGB32 ? b : b.convertToFormat(QImage::Format_RGB32);
}
