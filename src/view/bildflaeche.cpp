#include "bildflaeche.h"

#include <algorithm>
#include <cmath>

namespace {

enum Rand : unsigned { Innen = 0, Links = 1, Rechts = 2, Oben = 4, Unten = 8, Ungueltig = 16 };

unsigned Lage(double x, double y, double xmin, double ymin, double xmax, double ymax)
{
    if (std::isnan(x) || std::isnan(y))
        return Ungueltig;
    unsigned c = Innen;
    if (x < xmin)
        c |= Links;
    else if (x > xmax)
        c |= Rechts;
    if (y < ymin)
        c |= Oben;
    else if (y > ymax)
        c |= Unten;
    return c;
}

// Cohen-Sutherland against the image plus a one-pixel margin. Each end that
// lies outside is moved exactly onto the edge it crosses, which keeps the
// visible part precise even when the other end is astronomically far away.
bool KlippenAufRahmen(double& ax, double& ay, double& bx, double& by, int breite, int hoehe)
{
    const double xmin = -1, ymin = -1, xmax = breite + 1.0, ymax = hoehe + 1.0;
    unsigned ca = Lage(ax, ay, xmin, ymin, xmax, ymax);
    unsigned cb = Lage(bx, by, xmin, ymin, xmax, ymax);
    for (int runde = 0; runde < 8; ++runde) {
        if ((ca | cb) & Ungueltig)
            return false;
        if ((ca | cb) == Innen)
            return true;
        if (ca & cb)
            return false;
        const bool erstes = ca != Innen;
        double& x = erstes ? ax : bx;
        double& y = erstes ? ay : by;
        const double ox = erstes ? bx : ax, oy = erstes ? by : ay;
        const unsigned c = erstes ? ca : cb;
        if (c & (Links | Rechts)) {
            const double kante = (c & Links) ? xmin : xmax;
            y = y + (oy - y) * ((kante - x) / (ox - x));
            x = kante;
        } else {
            const double kante = (c & Oben) ? ymin : ymax;
            x = x + (ox - x) * ((kante - y) / (oy - y));
            y = kante;
        }
        (erstes ? ca : cb) = Lage(x, y, xmin, ymin, xmax, ymax);
    }
    return (ca | cb) == Innen;
}

}  // namespace

uint32_t FarbeAlsPixel(int32_t farbe)
{
    const auto f = uint32_t(farbe);
    return qRgb(int(f & 0xFF), int((f >> 8) & 0xFF), int((f >> 16) & 0xFF));
}

BildFlaeche::BildFlaeche()
    : bild_(1, 1, QImage::Format_RGB32)
{
    bild_.fill(Qt::white);
}

void BildFlaeche::GroesseSetzen(QSize pixel)
{
    bild_ = QImage(pixel.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    bild_.fill(Qt::white);
    links_ = 0;
    oben_ = 0;
    rechts_ = bild_.width() - 1;
    unten_ = bild_.height() - 1;
}

void BildFlaeche::Cls()
{
    bild_.fill(Qt::white);
    links_ = 0;
    oben_ = 0;
    rechts_ = bild_.width() - 1;
    unten_ = bild_.height() - 1;
}

void BildFlaeche::Scale(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
}

QRect BildFlaeche::GeaendertNehmen()
{
    QRect r;
    if (rechts_ >= links_ && unten_ >= oben_)
        r = QRect(QPoint(links_, oben_), QPoint(rechts_, unten_));
    links_ = bild_.width();
    oben_ = bild_.height();
    rechts_ = -1;
    unten_ = -1;
    return r;
}

inline void BildFlaeche::Pixel(int px, int py, uint32_t rgb)
{
    if (px < 0 || py < 0 || px >= bild_.width() || py >= bild_.height())
        return;
    reinterpret_cast<uint32_t*>(bild_.scanLine(py))[px] = rgb;
    links_ = std::min(links_, px);
    rechts_ = std::max(rechts_, px);
    oben_ = std::min(oben_, py);
    unten_ = std::max(unten_, py);
}

void BildFlaeche::PSet(float x, float y, int32_t farbe)
{
    const double sx = std::floor(Spalte(x));
    const double sy = std::floor(Zeile(y));
    // Also false for NaN.
    if (sx >= 0 && sy >= 0 && sx < bild_.width() && sy < bild_.height())
        Pixel(int(sx), int(sy), FarbeAlsPixel(farbe));
}

void BildFlaeche::Line(float x, float y, float dx, float dy, int32_t farbe)
{
    const float ex = x + dx;
    const float ey = y + dy;
    double ax = Spalte(x), ay = Zeile(y), bx = Spalte(ex), by = Zeile(ey);

    if (!KlippenAufRahmen(ax, ay, bx, by, bild_.width(), bild_.height()))
        return;

    // Bresenham between the pixels that hold the two end points, both included.
    int x0 = int(std::floor(ax)), y0 = int(std::floor(ay));
    const int x1 = int(std::floor(bx)), y1 = int(std::floor(by));
    const uint32_t rgb = FarbeAlsPixel(farbe);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const int adx = std::abs(x1 - x0), ady = -std::abs(y1 - y0);
    int fehler = adx + ady;
    for (;;) {
        Pixel(x0, y0, rgb);
        if (x0 == x1 && y0 == y1)
            break;
        const int f2 = 2 * fehler;
        if (f2 >= ady) {
            fehler += ady;
            x0 += sx;
        }
        if (f2 <= adx) {
            fehler += adx;
            y0 += sy;
        }
    }
}
