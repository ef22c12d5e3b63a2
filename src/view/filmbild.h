// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One frame of a film: the trails on an image of the film's size, drawn
// from the steps' strokes exactly as the picture export would write them at
// that size, and the overlays drawn on a copy, never into the trails.

#include "model/modplavo.h"
#include "sim/strich.h"
#include "view/ausschnittumalle.h"
#include "view/bildflaeche.h"
#include "view/filmwahl.h"
#include "view/koerperpunkte.h"

#include <QImage>
#include <QRgb>
#include <QSize>

#include <span>
#include <vector>

// The picture's section fitted into a film of `film` pixels: the same
// centre and the same AE per pixel across and down, so nothing is
// stretched; the section fills one direction and grows in the other. A
// mirrored axis stays mirrored.
Ausschnitt FilmAusschnitt(const Ausschnitt& bild, QSize film);

class Filmbild {
public:
    // `ausschnitt`: the film's own section (see FilmAusschnitt).
    Filmbild(QSize groesse, const Ausschnitt& ausschnitt);

    // Adds strokes (AE) to the trails, in the order the run gave them.
    void Striche(std::span<const Strich> striche) { flaeche_.Striche(striche); }
    // White trails: the run began again from nothing.
    void Leeren() { flaeche_.Cls(); }
    // The trails alone: what the picture export writes for this size and section.
    const QImage& Spuren() const { return flaeche_.Image(); }
    // A copy of the trails with the overlays: `jetzt` the bodies now
    // (positions in metres), `tage` the days elapsed, the dots seen in the
    // frame that stands at `lage` (none: fixed).
    QImage Bild(const KoerperSatz& jetzt, double tage, const Filmueberlagen& ueberlagen,
                const Bezugslage* lage = nullptr);

    QSize Groesse() const { return flaeche_.Groesse(); }
    const Ausschnitt& Bereich() const { return ausschnitt_; }
    // Another section of the same size: strokes from now on are drawn in it.
    void BereichSetzen(const Ausschnitt& ausschnitt);

    // The colours the bodies draw their trails in, each once, for a GIF's palette.
    static std::vector<QRgb> Spurfarben(const KoerperSatz& koerper);

private:
    BildFlaeche flaeche_;
    Ausschnitt ausschnitt_;
    Koerperpunkte punkte_;
};
