// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A film being written: frames of one fixed size in, one file (or a folder
// of PNG files) out. Frame n is shown at n / fps seconds.
//
// Encoding is plain and synchronous: a caller may run it on a worker of its
// own, handing frames over as QImages (implicitly shared, so cheap to pass).
// A writer never leaves a partial film under the target's name: it writes
// beside the target and renames at the end; a writer dropped before
// Abschliessen() removes what it wrote, and a film without a frame writes
// nothing at all.

#include "view/filmsenke.h"
#include "view/filmwahl.h"

#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct Filmvorgabe {
    Filmformat Format = Filmformat::Mp4;
    QString Ziel;                      // the file, or the folder of a PNG series
    QSize Groesse;                     // pixels; even
    int Bildrate = StandardBildrate;   // frames per second, 10 to 60
    // The colours the trails are drawn in, for the GIF's one palette
    // (a GIF frame holds 256 colours at most).
    std::vector<QRgb> Farben;
    // Where the bytes go; by default files on disk (Dateisenke).
    Senkenfabrik Senken;
    // Encoded beside a running simulation, which keeps a core of its own.
    bool NebenLauf = false;
};

class Filmschreiber {
public:
    virtual ~Filmschreiber() = default;

    // Starts a film; nothing, and a German reason in `fehler`, when the
    // format cannot be encoded here, the size or rate is out of range, or
    // the target cannot be written.
    static std::unique_ptr<Filmschreiber> Oeffnen(const Filmvorgabe& vorgabe, QString& fehler);

    // Why a format cannot be written with the libraries installed (for a
    // tooltip on the disabled choice); nothing when it can.
    static std::optional<QString> NichtVerfuegbar(Filmformat format);

    // Appends a frame; an image of another size or format is converted.
    // False after a failure: Fehler() says why, and nothing more is taken.
    virtual bool Bild(const QImage& bild) = 0;
    // Ends the film and puts it in the target's place; a German reason on
    // failure, and then nothing of it stays. Without a frame nothing is
    // written and the result is a success: Bilder() is 0.
    virtual std::optional<QString> Abschliessen() = 0;
    // Drops the film and everything written of it.
    virtual void Verwerfen() = 0;

    int Bilder() const { return bilder_; }
    QSize Groesse() const { return groesse_; }
    const QString& Fehler() const { return fehler_; }

protected:
    explicit Filmschreiber(QSize groesse)
        : groesse_(groesse)
    {
    }
    // The frame as 32-bit RGB of the film's size.
    QImage Angepasst(const QImage& bild) const;

    int bilder_ = 0;
    QSize groesse_;
    QString fehler_;
};
