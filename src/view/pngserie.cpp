// SPDX-License-Identifier: GPL-3.0-or-later
#include "pngserie.h"

#include "view/dateisenke.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

std::unique_ptr<Filmschreiber> PngSerie::Oeffnen(const Filmvorgabe& vorgabe, QString& fehler)
{
    const QFileInfo ziel(vorgabe.Ziel);
    const QString anzeige = QDir::toNativeSeparators(ziel.absoluteFilePath());
    if (!ziel.absoluteDir().exists()) {
        fehler = QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(ziel.absolutePath()));
        return nullptr;
    }
    // The series never mixes with other files, nor replaces them.
    if (ziel.exists() && !ziel.isDir()) {
        fehler = QStringLiteral("„%1“ ist eine Datei. Die Bilder kommen in einen Ordner: bitte wählen Sie einen "
                                "neuen Namen.")
                     .arg(anzeige);
        return nullptr;
    }
    if (ziel.isDir() && !QDir(ziel.absoluteFilePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        fehler = QStringLiteral("Der Ordner „%1“ ist nicht leer. Bitte wählen Sie einen neuen oder leeren Ordner.")
                     .arg(anzeige);
        return nullptr;
    }
    std::unique_ptr<PngSerie> serie(
        new PngSerie(vorgabe.Groesse, ziel.absoluteDir().filePath(QStringLiteral(".") + ziel.fileName() + QStringLiteral("-XXXXXX"))));
    if (!serie->ordner_->isValid()) {
        fehler = QStringLiteral("Im Ordner „%1“ kann kein Ordner angelegt werden. (%2)")
                     .arg(QDir::toNativeSeparators(ziel.absolutePath()), serie->ordner_->errorString());
        return nullptr;
    }
    serie->ziel_ = ziel.absoluteFilePath();
    serie->senken_ = vorgabe.Senken ? vorgabe.Senken : Senkenfabrik(&Dateisenke::Oeffnen);
    return serie;
}

PngSerie::PngSerie(QSize groesse, const QString& vorlage)
    : Filmschreiber(groesse)
    , ordner_(std::make_unique<QTemporaryDir>(vorlage))
{
}

QString PngSerie::Dateiname(int nummer)
{
    return QStringLiteral("bild_%1.png").arg(nummer, 6, 10, QLatin1Char('0'));
}

bool PngSerie::Bild(const QImage& bild)
{
    if (!fehler_.isEmpty() || !ordner_)
        return false;
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    if (!Angepasst(bild).save(&puffer, "PNG")) {
        fehler_ = QStringLiteral("Das Bild konnte nicht als PNG umgewandelt werden.");
        return false;
    }
    std::unique_ptr<Filmsenke> senke = senken_(ordner_->filePath(Dateiname(bilder_)), fehler_);
    if (!senke)
        return false;
    if (!senke->Schreiben(reinterpret_cast<const uint8_t*>(daten.constData()), daten.size())) {
        fehler_ = senke->Fehler();
        senke->Verwerfen();
        return false;
    }
    if (auto grund = senke->Uebernehmen()) {
        fehler_ = *grund;
        return false;
    }
    ++bilder_;
    return true;
}

std::optional<QString> PngSerie::Abschliessen()
{
    if (!fehler_.isEmpty() || bilder_ == 0) {
        Verwerfen();
        return fehler_.isEmpty() ? std::nullopt : std::optional<QString>(fehler_);
    }
    // An empty folder of the target's name (made by the save dialog, say) gives way.
    const QFileInfo ziel(ziel_);
    if (ziel.isDir())
        QDir().rmdir(ziel_);
    if (!QDir().rename(ordner_->path(), ziel_)) {
        fehler_ = QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden.").arg(QDir::toNativeSeparators(ziel_));
        Verwerfen();
        return fehler_;
    }
    ordner_->setAutoRemove(false);
    ordner_.reset();
    return std::nullopt;
}

void PngSerie::Verwerfen()
{
    ordner_.reset();   // removes the hidden folder and what it holds
}
