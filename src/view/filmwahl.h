// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a film is to be: the choices of the recording dialog, which the
// recording and the writers take as they are. Plain values, no FFmpeg here,
// so the dialog does not link the encoders.

#include <QSize>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

enum class Filmformat { Mp4, WebM, Gif, PngSerie };
inline constexpr std::array<Filmformat, 4> AlleFilmformate = {Filmformat::Mp4, Filmformat::WebM, Filmformat::Gif,
                                                              Filmformat::PngSerie};

// The picture's own size (rounded down to even), or one of the two video sizes.
enum class Filmgroesse { WieBild, Hd720, Hd1080 };

inline constexpr int KleinsteBildrate = 10;    // frames per second
inline constexpr int GroessteBildrate = 60;
inline constexpr int StandardBildrate = 30;

// What is drawn over the trails of a frame, on a copy: the trails stay as
// the picture export would write them.
struct Filmueberlagen {
    bool Tage = true;         // the days elapsed, upper left
    bool Punkte = false;      // the bodies' dots, as the window shows them
    bool Namen = false;       // their names beside the dots
    bool Massstab = true;     // a bar of a round length in AE, lower left
    QString Bezugssystem;     // a label in the upper right corner, none when empty
};

struct Filmwahl {
    enum class Art { Aufnahme, Rechnen };

    Filmformat Format = Filmformat::Mp4;
    Filmgroesse Groesse = Filmgroesse::WieBild;
    int SchritteProBild = 1;                 // one frame every k steps
    int Bildrate = StandardBildrate;         // frames per second of the film
    bool TageZeigen = true;
    bool KoerperZeigen = true;               // dots and names as chosen in Optionen
    bool MassstabZeigen = true;
    QString Ziel;                            // the file, or the folder of a PNG series
    Art Ablauf = Art::Aufnahme;
    int32_t Schritte = 1000;                 // steps to compute ahead for "Film rechnen"
};

// Width and height rounded down to even, at least 2: the video encoders
// halve the colour planes.
inline QSize GeradeGroesse(QSize s)
{
    return QSize(std::max(2, s.width() & ~1), std::max(2, s.height() & ~1));
}

// The film's pixel size for a choice, `bild` being the picture's device pixels.
inline QSize FilmPixel(Filmgroesse g, QSize bild)
{
    switch (g) {
    case Filmgroesse::Hd720:
        return QSize(1280, 720);
    case Filmgroesse::Hd1080:
        return QSize(1920, 1080);
    case Filmgroesse::WieBild:
        break;
    }
    return GeradeGroesse(bild);
}
