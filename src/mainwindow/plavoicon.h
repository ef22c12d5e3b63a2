// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon, drawn in code: a red sun in a small black circle, two
// black orbits (a circle and a flatter ellipse) and three small planets.

#include <QIcon>
#include <QImage>

QImage PlavoIconBild(int groesse);
QIcon PlavoIcon();   // 16, 32, 48 and 256 pixels
