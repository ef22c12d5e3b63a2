// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a frame of reference stands at one moment, and how a point or a
// velocity of the fixed frame looks in it:
//
//   p' = R · (p − o)                       positions, AE
//   v' = R · (v − u) − ω · J · p'          velocities, m/s (J turns by 90°)
//
// o is the frame's origin and u its velocity; R turns the frame's +x axis,
// the unit vector (c, s) of the fixed frame, onto +x; ω is its turn rate in
// radians per second from +x towards +y. The inverses take what the user
// points at in the picture back to the fixed frame, where the document and
// the run keep everything.

#include <QPointF>

struct Bezugslage {
    QPointF ursprung;        // o, AE
    double c = 1, s = 0;     // the frame's +x axis in the fixed frame
    QPointF geschwindigkeit; // u, m/s
    double drehrate = 0;     // ω, rad/s

    QPointF Ort(QPointF p) const
    {
        const double dx = p.x() - ursprung.x(), dy = p.y() - ursprung.y();
        return {c * dx + s * dy, -s * dx + c * dy};
    }
    QPointF OrtZurueck(QPointF q) const
    {
        return {ursprung.x() + c * q.x() - s * q.y(), ursprung.y() + s * q.x() + c * q.y()};
    }
    // `q` the point in the frame (AE), `v` its velocity in the fixed frame (m/s).
    QPointF Geschwindigkeit(QPointF q, QPointF v, double meterProAE) const
    {
        const double dx = v.x() - geschwindigkeit.x(), dy = v.y() - geschwindigkeit.y();
        return {c * dx + s * dy + drehrate * q.y() * meterProAE, -s * dx + c * dy - drehrate * q.x() * meterProAE};
    }
    QPointF GeschwindigkeitZurueck(QPointF q, QPointF w, double meterProAE) const
    {
        const double dx = w.x() - drehrate * q.y() * meterProAE, dy = w.y() + drehrate * q.x() * meterProAE;
        return {geschwindigkeit.x() + c * dx - s * dy, geschwindigkeit.y() + s * dx + c * dy};
    }
};
