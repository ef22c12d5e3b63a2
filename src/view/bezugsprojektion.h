// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run's strokes as seen in a frame of reference, step by step, on their
// way to a surface. A stroke of step t runs from p(t) to p(t + 1): its start
// is projected with the frame where step t's strokes begin, its end with
// the frame where they end, both found from that step's own strokes. So a
// body's trail in its own frame is one point, and live drawing, a redraw and
// a redraw from kept strokes give the same pixels.
//
// In Fest the strokes pass through untouched: the picture stays what the run
// drew, bit for bit. Whatever draws the run (the picture, a film) puts one of
// these between the run's announcements and its surface.

#include "model/modplavo.h"
#include "sim/strich.h"
#include "view/bezugssystem.h"

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

class Bezugsprojektion {
public:
    using Ziel = std::function<void(std::span<const Strich>)>;

    // Takes effect from the next step on; whoever changes it redraws.
    void Setzen(const Bezugssystem& system);
    const Bezugssystem& System() const { return system_; }

    // The strokes begin again at step 0 (the picture went white): nothing
    // half taken stays, and the direction kept for a coinciding pair goes.
    void Beginnen();

    // Strokes in the order drawn: whole steps, or a redraw's kept strokes cut
    // anywhere. `koerper`: the bodies of the run they come from; a step has
    // one stroke per body, and their masses weigh the centre of mass.
    // `zeichnen` gets what to draw: in Fest the strokes themselves, otherwise
    // the whole steps among them, projected (the rest waits for its step's end).
    void Striche(std::span<const Strich> striche, const KoerperSatz& koerper, const Ziel& zeichnen);
    // One whole step (a step the run just took): whatever waited is dropped.
    void Schritt(std::span<const Strich> striche, const KoerperSatz& koerper, const Ziel& zeichnen);

    // The direction of the frame's +x axis where the last step ended.
    Bezugssystem::Richtung Richtung() const { return richtung_; }

private:
    // One step of n strokes projected into `aus`.
    void Projizieren(const Strich* striche, std::size_t n, const KoerperSatz& koerper, Strich* aus);

    Bezugssystem system_;
    Bezugssystem::Richtung richtung_;
    std::vector<Strich> rest_;   // the beginning of a step whose end is still to come
    std::vector<Strich> aus_;
};
