// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A body in one line, for tests.

#include "model/koerper.h"

inline Koerper NeuerKoerper(const QString& name, double masse, double x, double y, double v, double richtung,
                            int32_t farbe)
{
    Koerper k;
    k.NameSetzen(name);
    k.Masse = masse;
    k.X = x;
    k.Y = y;
    k.Geschwindigkeit = v;
    k.Richtung = richtung;
    k.Farbe = farbe;
    return k;
}
