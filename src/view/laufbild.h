// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture of a run: draws onto a surface what the run announces (the
// strokes of its steps and redraws), seen in the chosen frame of reference,
// and clears it when the run begins again from white. The window's picture
// draws so, and so do tests and benchmarks that have no window.

#include "sim/lauf.h"
#include "view/bezugsprojektion.h"
#include "view/bildflaeche.h"

#include <QMetaObject>

class LaufBild {
public:
    LaufBild(const Lauf& lauf, BildFlaeche& flaeche);
    ~LaufBild();
    LaufBild(const LaufBild&) = delete;
    LaufBild& operator=(const LaufBild&) = delete;

    // The frame the strokes are drawn in from the next step on; whoever
    // changes it redraws the run.
    void BezugSetzen(const Bezugssystem& bezug) { projektion_.Setzen(bezug); }
    const Bezugssystem& Bezug() const { return projektion_.System(); }
    const Bezugsprojektion& Projektion() const { return projektion_; }

private:
    // The bodies the announced strokes belong to: a redraw's while it runs.
    const KoerperSatz& Koerper() const;

    const Lauf& lauf_;
    BildFlaeche& flaeche_;
    Bezugsprojektion projektion_;
    QMetaObject::Connection verbindungen_[5];
};
