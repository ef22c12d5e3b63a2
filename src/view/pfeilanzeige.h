// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The velocity and acceleration arrows over the picture, each with its own
// scale and a legend in the lower left corner. A scale is chosen when its
// arrows are turned on and when the run begins anew (a document opened,
// Zurücksetzen), or once something moves if all rested then; it then stays
// through the run and through zooming.
//
// Accelerations come from the current positions by the step's own velocity
// pass. That pass costs what a step costs; for a system the worker steps,
// they come from the velocity change the last step applied instead (the
// pull at the positions one step before), whenever that step is known.

#include "model/modplavo.h"
#include "sim/bearbeitung.h"
#include "view/bezugslage.h"
#include "view/bildabbildung.h"
#include "view/pfeile.h"

#include <QRect>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

class Pfeilanzeige {
public:
    // From this many bodies on the accelerations come from the last step.
    static constexpr std::size_t AusDemSchrittAb = 3000;

    bool GeschwindigkeitenAn() const { return vAn_; }
    bool BeschleunigungenAn() const { return aAn_; }
    bool An() const { return vAn_ || aAn_; }
    // Off to on chooses that scale for the bodies `satz`, moving as `art`
    // says, with velocities as the frame at `lage` sees them.
    void GeschwindigkeitenZeigen(bool an, const KoerperSatz& satz, Bewegungsart art, QSizeF bild,
                                 const std::optional<Bezugslage>& lage = std::nullopt);
    void BeschleunigungenZeigen(bool an, const KoerperSatz& satz, Bewegungsart art, int32_t schritt, QSizeF bild);
    // The run began anew: the scales of the arrows shown are chosen again.
    void MassstaebeWaehlen(const KoerperSatz& satz, Bewegungsart art, int32_t schritt, QSizeF bild,
                           const std::optional<Bezugslage>& lage = std::nullopt);
    // Another frame sees other velocities: their scale is chosen again. The
    // accelerations' stays, as a frame only turns them.
    void VMassstabWaehlen(const KoerperSatz& satz, Bewegungsart art, QSizeF bild,
                          const std::optional<Bezugslage>& lage);
    double VMassstab() const { return vMassstab_; }   // pixels per m/s
    double AMassstab() const { return aMassstab_; }   // pixels per m/s²

    // The arrows of the bodies whose dots lie at `mitten` (logical pixels,
    // body `koerper` each), seen in the frame that stands at `lage` (none:
    // the fixed frame); `ersetzt`, when given, shows one body's velocity as
    // being set (m/s, fixed frame).
    void Berechnen(const KoerperSatz& satz, Bewegungsart art, std::span<const QPointF> mitten,
                   std::span<const std::size_t> koerper, const Bildabbildung& abbildung,
                   const std::optional<Bezugslage>& lage = std::nullopt,
                   std::optional<std::pair<std::size_t, Vektor>> ersetzt = std::nullopt);
    // Over a picture of `bild` logical pixels, where `bereich` is to be painted.
    void Zeichnen(QPainter& p, bool griffe, QSize bild, QRect bereich) const;
    // A body's velocity (m/s) as the frame at `lage` sees it, and back.
    static Vektor GeschwindigkeitGesehen(const Bezugslage& lage, const Koerper& k, Vektor v);
    static Vektor GeschwindigkeitZurueck(const Bezugslage& lage, const Koerper& k, Vektor w);
    // Arrows and legends, logical pixels.
    QRect Bedeckt(QSize bild) const;
    // The body whose velocity arrow's tip lies under `stelle`.
    std::optional<std::size_t> SpitzeBei(QPointF stelle) const;

    // The bodies moved or changed (at step `schritt`; 0: the document's):
    // the accelerations follow while their arrows are shown.
    void StandGeaendert(const KoerperSatz& satz, Bewegungsart art, int32_t schritt);
    const std::vector<Vektor>& Beschleunigungswerte() const { return a_; }

private:
    static double Laenge(QSizeF bild);
    QRect Legenden(QSize bild) const;
    // v_ in the fixed frame, or as the frame at `lage` sees them.
    void GeschwindigkeitenBerechnen(const KoerperSatz& satz, Bewegungsart art);
    void GeschwindigkeitenSehen(const KoerperSatz& satz, const std::optional<Bezugslage>& lage);

    bool vAn_ = false, aAn_ = false;
    double vMassstab_ = 0, aMassstab_ = 0;
    Pfeile vPfeile_, aPfeile_;
    std::vector<Vektor> v_;
    std::vector<Vektor> a_;           // of the bodies as they last changed
    std::vector<Vektor> aGesehen_;    // a_ turned with a turning frame
    std::vector<Vektor> vorigeV_;     // their displacements per step at vorigerSchritt_
    int32_t vorigerSchritt_ = -1;
};
