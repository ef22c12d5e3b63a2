// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film as a folder of PNG files, bild_000000.png for the first frame. The
// frames are written into a hidden folder beside the target, which takes
// the target's name only when the film is complete.

#include "view/filmschreiber.h"

#include <QTemporaryDir>

class PngSerie : public Filmschreiber {
public:
    static std::unique_ptr<Filmschreiber> Oeffnen(const Filmvorgabe& vorgabe, QString& fehler);

    bool Bild(const QImage& bild) override;
    std::optional<QString> Abschliessen() override;
    void Verwerfen() override;

    // The file name of frame `nummer` (from 0) inside the folder.
    static QString Dateiname(int nummer);

private:
    PngSerie(QSize groesse, const QString& vorlage);

    QString ziel_;
    std::unique_ptr<QTemporaryDir> ordner_;
    Senkenfabrik senken_;
};
