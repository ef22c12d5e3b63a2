// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's windows and dialogs open. Worked out from rectangles
// alone (frame geometries in screen pixels), so it can be checked without a
// screen; the window functions below apply it.

#include <QRect>
#include <optional>

class QMainWindow;
class QWidget;

// The frame of a window of `groesse` (it may shrink down to `mindest`)
// beside the main window's frame `haupt`, on the screen area `schirm`: on
// the side with room for it, else shrunk to the side with more room; where
// neither side has room even then, at the screen's edge on that side,
// overlapping the picture but not the main window's menu bar, which ends at
// `menueUnten` (unless the window cannot be made short enough).
QRect PlatzDaneben(const QRect& haupt, int menueUnten, QSize groesse, QSize mindest, const QRect& schirm);

// The position of a dialog frame of `groesse` over its owner's frame
// `besitzer`: centred on the screen area `schirm` when the owner is larger
// than it (centred over the owner, a dialog would end up in a corner of the
// screen or beyond it); nothing when the platform's own placement is right.
std::optional<QPoint> DialogPlatz(const QRect& besitzer, QSize groesse, const QRect& schirm);

// Moves (and if need be shrinks) the top-level `fenster`, not yet shown,
// beside `haupt` as PlatzDaneben says; it shrinks to its minimum size hint,
// or to `mindest` when that is given.
void DanebenLegen(QWidget& fenster, const QMainWindow& haupt, QSize mindest = QSize());
