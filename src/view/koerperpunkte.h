// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bodies where they are now, over the picture: a filled dot in each
// body's colour with a dark outline (so white bodies show on white), and
// optionally the names beside them. The window paints them over the picture,
// never into it: export and print keep only the trails.
//
// Dots are set pixel by pixel into one overlay image per paint and blended in
// one call, so 32,767 bodies cost a few milliseconds; only the dots inside
// the section are kept. A name that would cover one placed before it moves
// below that one, or is left out where it would cover another there too.

#include "model/modplavo.h"
#include "view/trefferraster.h"

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class BildFlaeche;
class QPainter;
struct Bezugslage;

class Koerperpunkte {
public:
    static constexpr int NamenHoechstens = 300;   // beyond this, only the heaviest are named

    // Where `koerper` (positions in metres) land on `flaeche`, whose pixels
    // are device pixels at `pixelverhaeltnis` per logical pixel, seen in the
    // frame that stands at `lage` (none: the fixed frame). With `namen`, the
    // bodies to name are chosen and placed for `schrift` too.
    void Berechnen(const KoerperSatz& koerper, const BildFlaeche& flaeche, double pixelverhaeltnis, bool namen,
                   const Bezugslage* lage = nullptr, const QFont& schrift = QFont());

    // The dots (unless `punkte` is false) and the names chosen inside
    // `bereich` (logical pixels), all shifted by `verschiebung` logical pixels.
    void Zeichnen(QPainter& p, const KoerperSatz& koerper, QRect bereich, QPointF verschiebung = {}, bool punkte = true);

    // The logical pixels the dots and names cover, for repainting where they were and are.
    QRegion Bedeckt() const;

    // The body whose dot lies under `stelle` (logical pixels): where dots
    // overlap, the one drawn last, on top.
    std::optional<std::size_t> Bei(QPointF stelle) const;
    // How many dots lie under `stelle`.
    std::size_t AnzahlBei(QPointF stelle) const;
    // Shows body `koerper`'s dot and name `um` logical pixels away from where
    // they are (a body being moved), until the dots are placed anew.
    void Versetzen(std::size_t koerper, QPointF um);
    // The dots' centres in drawing order (logical pixels) and the body of each.
    void Mitten(std::vector<QPointF>& mitten, std::vector<std::size_t>& koerper) const;
    // Where body `koerper`'s dot is, logical pixels; none when it is not shown.
    std::optional<QPointF> Ort(std::size_t koerper) const;

    std::size_t Anzahl() const { return punkte_.size(); }

private:
    struct Punkt {
        int32_t x, y;     // device pixel of the body's centre
        uint32_t index;   // into the body set
    };
    void RasterAufbauen();
    // Places the names of `benannt` (dots of `koerper`), leaving out those that find no room.
    void NamenSetzen(const std::vector<Punkt>& benannt, const KoerperSatz& koerper, const QFont& schrift);

    std::vector<Punkt> punkte_;     // in drawing order
    Trefferraster raster_;          // the dots of punkte_, for the mouse
    std::vector<QString> namen_;    // the names placed
    std::vector<QRectF> namenRahmen_;   // where each name's text lies, logical pixels, unshifted
    std::vector<uint32_t> namenKoerper_;   // the body of each name
    qreal oberlaenge_ = 0;          // from a name's top to its baseline
    double q_ = 1;
    int massstab_ = 1;              // device pixels per pixel of the dot's pattern
    QImage ueberlage_;              // reused between paints
};

// What the tooltip says of body `nummer` (1-based) at the current step:
// name, mass, position, speed and direction. A document body has speed and
// direction; a working body its displacement per step of `intervall` days.
// Position and motion as seen in the frame that stands at `lage` (none: fixed).
QString KoerperTipp(const Koerper& k, std::size_t nummer, bool arbeitssatz, double intervall,
                    const Bezugslage* lage = nullptr);

// A body's name without its padding; empty for a never-named body.
QString KoerperNameKurz(const Koerper& k);
// Its name, or "Körper <nummer>" (1-based) for a body without one.
QString KoerperBezeichnung(const Koerper& k, std::size_t nummer);
