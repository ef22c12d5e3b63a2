// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdrucker.h"

#include <QImage>
#include <QPrinter>
#include <cmath>

namespace {
// Where a picture lands on a device of `aufloesung` dots per inch, for a
// position in twips: its device-independent pixels at 96 per inch, the size
// it has on a standard screen whatever the screen's device pixel ratio.
QRectF DruckRechteck(QSizeF pixel, double xTwips, double yTwips, int aufloesung)
{
    const double r = aufloesung;
    return QRectF(xTwips / 1440.0 * r, yTwips / 1440.0 * r, pixel.width() / 96.0 * r, pixel.height() / 96.0 * r);
}
}  // namespace

QtDrucker::QtDrucker(QPrinter& drucker)
    : drucker_(drucker)
{
}

QtDrucker::~QtDrucker()
{
    // A job left open is still finished, so the printer is released.
    if (begonnen_)
        maler_.end();
}

bool QtDrucker::Beginnen()
{
    if (fehler_)
        return false;
    if (!begonnen_) {
        // The painter's origin is the upper-left corner of the printable area
        // (the printer is not in full-page mode).
        if (!maler_.begin(&drucker_)) {
            fehler_ = true;
            return false;
        }
        begonnen_ = true;
    }
    return true;
}

bool QtDrucker::OffeneSeiteBeenden()
{
    if (!seiteBeendet_)
        return true;
    seiteBeendet_ = false;
    if (!drucker_.newPage()) {
        fehler_ = true;
        return false;
    }
    return true;
}

void QtDrucker::PaintPicture(const QImage& bild, double x, double y)
{
    // A picture that could not be held (out of memory) is no picture printed.
    if (bild.isNull())
        fehler_ = true;
    if (!Beginnen() || !OffeneSeiteBeenden())
        return;
    // No smoothing: enlarged to the printer's resolution, every pixel stays a
    // sharp square. Lossless: PDF output (the way to paper here) would
    // otherwise store the picture as JPEG and blur every trail.
    maler_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    maler_.setRenderHint(QPainter::LosslessImageRendering, true);
    const QRectF ziel = DruckRechteck(bild.deviceIndependentSize(), x, y, drucker_.resolution());
    // Only the pixels that fall on the page go to the printer: the print
    // engine keeps every image it is given whole (a PDF's cannot even hold
    // one of 2 GiB), and a giant window's picture would not fit on paper anyway.
    const QRectF seite(0, 0, drucker_.width(), drucker_.height());
    const QRectF sichtbar = ziel.intersected(seite);
    if (sichtbar.isEmpty())
        return;
    const double proPixelX = ziel.width() / bild.width();    // device units per pixel of the picture
    const double proPixelY = ziel.height() / bild.height();
    const QRect teil = QRect(QPoint(int(std::floor((sichtbar.left() - ziel.left()) / proPixelX)),
                                    int(std::floor((sichtbar.top() - ziel.top()) / proPixelY))),
                             QPoint(int(std::ceil((sichtbar.right() - ziel.left()) / proPixelX)) - 1,
                                    int(std::ceil((sichtbar.bottom() - ziel.top()) / proPixelY)) - 1))
                           .intersected(bild.rect());
    if (teil.isEmpty())
        return;
    const QRectF teilZiel(ziel.left() + teil.left() * proPixelX, ziel.top() + teil.top() * proPixelY,
                          teil.width() * proPixelX, teil.height() * proPixelY);
    // The part's last pixels may reach a little over the edge: cut there.
    maler_.setClipRect(seite);
    maler_.drawImage(teilZiel, teil == bild.rect() ? bild : bild.copy(teil));
}

void QtDrucker::NewPage()
{
    if (!Beginnen() || !OffeneSeiteBeenden())
        return;
    seiteBeendet_ = true;
}

void QtDrucker::EndDoc()
{
    if (!begonnen_)
        return;
    begonnen_ = false;
    seiteBeendet_ = false;
    if (!maler_.end() || drucker_.printerState() == QPrinter::Error)
        fehler_ = true;
}
