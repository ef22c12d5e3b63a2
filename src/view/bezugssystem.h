// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame of reference the picture is seen in: fixed (the run's own),
// the centre of mass of all bodies, one body, or turning with two bodies.
// It is a way of looking only. The run, its kept strokes, the body files and
// the document stay in the fixed frame; whatever draws projects them as it
// draws, each step with the frame as that step's own strokes place it, so a
// change of frame needs nothing but a redraw.
//
// Where the frame stands is worked out from the bodies' positions as the
// picture has them (AE, narrowed to single precision as the step narrows
// them), so the frame's body lands exactly on the picture's origin:
//   Schwerpunkt   the centre of mass; with a total mass of 0 the mean position
//   Koerper       the body itself
//   Mitrotierend  the pair's centre of mass (their midpoint with a total mass
//                 of 0), turned so that the line from the first to the second
//                 lies on +x; while the two coincide, the last direction stays.

#include "model/modplavo.h"
#include "view/bezugslage.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <optional>

class Bezugssystem {
public:
    enum class Art { Fest, Schwerpunkt, Koerper, Mitrotierend };

    // The direction of the frame's +x axis, kept from one moment to the next.
    struct Richtung {
        double c = 1, s = 0;
    };

    Bezugssystem() = default;   // Fest
    static Bezugssystem Schwerpunkt();
    // Indices into the body set, 0-based.
    static Bezugssystem EinKoerper(std::size_t koerper);
    static Bezugssystem Mitrotierend(std::size_t erster, std::size_t zweiter);

    Art Typ() const { return art_; }
    bool Fest() const { return art_ == Art::Fest; }
    bool Dreht() const { return art_ == Art::Mitrotierend; }
    std::size_t Erster() const { return erster_; }
    std::size_t Zweiter() const { return zweiter_; }
    bool operator==(const Bezugssystem&) const = default;

    // Whether a set of `anzahl` bodies holds the frame's bodies.
    bool Passt(std::size_t anzahl) const;
    // The frame for `nachher`, a changed `vorher`: its bodies followed by
    // name where they moved, or, with `umbenannt` (an edit of the same
    // bodies), renamed where they are; none when a body it needs is gone.
    std::optional<Bezugssystem> Nachgefuehrt(const KoerperSatz& vorher, const KoerperSatz& nachher,
                                             bool umbenannt = true) const;

    // The label in the picture's corner ("Bezugssystem: Erde",
    // "mitrotierend: Sonne – Jupiter"); empty for Fest.
    QString Text(const KoerperSatz& koerper) const;

    // Where the frame stands when body i (of `koerper`, which gives the
    // masses) is at ort(i), AE. `letzte` is the direction kept while a
    // pair coincides; it takes the one found.
    template <class Ort>
    Bezugslage Lage(const KoerperSatz& koerper, Ort&& ort, Richtung& letzte) const;

    // The same for the bodies where they are now, with the frame's motion:
    // velocities from a document set's speed and direction, or from a
    // working set's displacement per step of `intervall` days.
    Bezugslage LageJetzt(const KoerperSatz& koerper, bool arbeitssatz, double intervall, Richtung& letzte) const;

private:
    Art art_ = Art::Fest;
    std::size_t erster_ = 0, zweiter_ = 0;
};

// A body's position as the picture has it, AE (as the step narrows it for its stroke).
inline QPointF KoerperOrt(const Koerper& k, double meterProAE)
{
    return {float(k.X / meterProAE), float(k.Y / meterProAE)};
}

// The body that pulls hardest on body `gezogen` (mass over squared
// distance); none when no other body pulls on it.
std::optional<std::size_t> StaerksteAnziehung(const KoerperSatz& koerper, std::size_t gezogen);

// A body's velocity in m/s: a document body's speed and direction, or a
// working body's displacement over the seconds of one step.
QPointF KoerperGeschwindigkeit(const Koerper& k, bool arbeitssatz, double intervall);

template <class Ort>
Bezugslage Bezugssystem::Lage(const KoerperSatz& koerper, Ort&& ort, Richtung& letzte) const
{
    Bezugslage lage;
    const std::size_t n = koerper.size();
    if (!Passt(n))
        return lage;
    switch (art_) {
    case Art::Fest:
        break;
    case Art::Koerper:
        lage.ursprung = ort(erster_);
        break;
    case Art::Schwerpunkt: {
        double m = 0, mx = 0, my = 0, x = 0, y = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const QPointF p = ort(i);
            const double mi = koerper[i].Masse;
            m += mi;
            mx += mi * p.x();
            my += mi * p.y();
            x += p.x();
            y += p.y();
        }
        lage.ursprung = m != 0 ? QPointF(mx / m, my / m) : QPointF(x / double(n), y / double(n));
        break;
    }
    case Art::Mitrotierend: {
        const QPointF a = ort(erster_), b = ort(zweiter_);
        const double ma = koerper[erster_].Masse, mb = koerper[zweiter_].Masse, m = ma + mb;
        lage.ursprung = m != 0 ? QPointF((ma * a.x() + mb * b.x()) / m, (ma * a.y() + mb * b.y()) / m)
                               : QPointF((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double laenge = std::hypot(dx, dy);
        if (laenge > 0 && std::isfinite(laenge))
            letzte = {dx / laenge, dy / laenge};
        lage.c = letzte.c;
        lage.s = letzte.s;
        break;
    }
    }
    return lage;
}
