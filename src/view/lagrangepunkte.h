// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five Lagrange points of two bodies on a circular orbit about each
// other: where a massless body keeps its place in the frame that turns with
// them. In that frame the origin is their centre of mass, the first body
// lies on -x and the second on +x.
//
// Masses in any one unit, the distance in AE; the points come back in AE,
// L1 to L5. L1 lies between the two, L2 beyond the second, L3 beyond the
// first; L4 leads the second body by 60° and L5 trails it, so their side
// depends on `drehsinn`, the sign of the pair's turn from +x towards +y.

#include <QPointF>

#include <array>
#include <optional>

std::optional<std::array<QPointF, 5>> Lagrangepunkte(double masse1, double masse2, double abstand, double drehsinn);
