// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture taken out of the program: written as a Windows bitmap, or
// printed once per copy.

#include <QString>
#include <optional>

class Drucker;
class QImage;

// Writes `bild` as a Windows bitmap to `pfad` whatever its extension,
// replacing a file of that name; the old file stays intact if writing fails.
// Nothing on success, else a German reason.
std::optional<QString> BitmapSchreiben(const QImage& bild, const QString& pfad);
// The same in another of Qt's image formats ("PNG").
std::optional<QString> BildSchreiben(const QImage& bild, const QString& pfad, const char* format);

// Whether two paths name the same file (also through links, or with "..").
bool GleicheDatei(const QString& a, const QString& b);

// One page per copy, the picture in the upper-left corner of each; true when
// the printer reported no failure. `pixelverhaeltnis`: device pixels of the
// picture per pixel of 1/96 inch, so that it prints at its size on the screen.
bool BildDrucken(const QImage& bild, int kopien, Drucker& drucker, double pixelverhaeltnis = 1.0);
