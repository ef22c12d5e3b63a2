// SPDX-License-Identifier: GPL-3.0-or-later
#include "bildflaeche.h"

#include "model/farbe.h"
#include "sim/prozessor.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Two doubles that the compiler keeps in one vector register.
using Paar = double __attribute__((vector_size(16)));

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

// Bresenham's walk from (x0, y0) to (x1, y1), both ends included: `pixel`
// gets each pixel in order. The one definition of the line's pixels, for
// the table of short lines and for drawing alike.
template <class Pixel>
constexpr void BresenhamGehen(int x0, int y0, int x1, int y1, Pixel&& pixel)
{
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const int adx = x1 < x0 ? x0 - x1 : x1 - x0, ady = y1 < y0 ? y1 - y0 : y0 - y1;
    int fehler = adx + ady;
    for (;;) {
        pixel(x0, y0);
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

// Bresenham's pixels depend only on how far the end pixel lies from the
// start pixel. For the short lines of the common case they are looked up:
// a line of one to four pixels then costs four stores and no branch (the
// unused entries repeat the end pixel).
constexpr int KurzMax = 3;

struct KurzerWeg {
    int8_t dx[KurzMax + 1], dy[KurzMax + 1];
};

struct KurzeWegeTabelle {
    std::array<KurzerWeg, (2 * KurzMax + 1) * (2 * KurzMax + 1)> wege{};
    bool vollstaendig = true;   // no line needed more pixels than an entry holds

    static std::size_t Index(int wx, int wy) { return size_t((wx + KurzMax) * (2 * KurzMax + 1) + wy + KurzMax); }
};

constexpr KurzeWegeTabelle KurzeWegeBerechnen()
{
    KurzeWegeTabelle t;
    for (int ex = -KurzMax; ex <= KurzMax; ++ex) {
        for (int ey = -KurzMax; ey <= KurzMax; ++ey) {
            KurzerWeg& weg = t.wege[size_t((ex + KurzMax) * (2 * KurzMax + 1) + ey + KurzMax)];
            int k = 0;
            BresenhamGehen(0, 0, ex, ey, [&](int x, int y) {
                if (k > KurzMax) {
                    t.vollstaendig = false;
                    return;
                }
                weg.dx[k] = int8_t(x);
                weg.dy[k] = int8_t(y);
                ++k;
            });
            for (; k <= KurzMax; ++k) {
                weg.dx[k] = int8_t(ex);
                weg.dy[k] = int8_t(ey);
            }
        }
    }
    return t;
}

constexpr KurzeWegeTabelle KurzeWege = KurzeWegeBerechnen();
static_assert(KurzeWege.vollstaendig);

// Both coordinates of a point, smaller and larger lane by lane.
inline Paar Kleiner(Paar a, Paar b)
{
#if defined(__SSE2__)
    return _mm_min_pd(a, b);
#else
    return Paar{std::min(a[0], b[0]), std::min(a[1], b[1])};
#endif
}

inline Paar Groesser(Paar a, Paar b)
{
#if defined(__SSE2__)
    return _mm_max_pd(a, b);
#else
    return Paar{std::max(a[0], b[0]), std::max(a[1], b[1])};
#endif
}

// True when dividing by d gives the same bits as multiplying by 1 / d: d is
// a power of two whose reciprocal is a normal number. Both then round the
// same real number.
bool ZweierPotenz(double d)
{
    int exponent = 0;
    const double mantisse = std::frexp(d, &exponent);
    const double kehrwert = 1.0 / d;
    return std::abs(mantisse) == 0.5 && std::isnormal(d) && std::isnormal(kehrwert);
}

}  // namespace

BildFlaeche::BildFlaeche()
    : bild_(1, 1, QImage::Format_RGB32)
{
    bild_.fill(Qt::white);
    VektorOberhaelftenLeeren();
}

void BildFlaeche::GroesseSetzen(QSize pixel)
{
    bild_ = QImage(pixel.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    bild_.fill(Qt::white);
    VektorOberhaelftenLeeren();
    links_ = 0;
    oben_ = 0;
    rechts_ = bild_.width() - 1;
    unten_ = bild_.height() - 1;
}

void BildFlaeche::Cls()
{
    bild_.fill(Qt::white);
    VektorOberhaelftenLeeren();
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
    // The default section is 2 AE wide and high, so the division of the
    // mapping usually becomes a multiplication.
    kehrwertX_ = 1.0 / (x2_ - x1_);
    kehrwertY_ = 1.0 / (y2_ - y1_);
    kehrwertGenau_ = ZweierPotenz(x2_ - x1_) && ZweierPotenz(y2_ - y1_);
}

const QImage& BildFlaeche::Image() const
{
    return bild_;
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

void BildFlaeche::Oeffnen()
{
    pixel_ = reinterpret_cast<uint32_t*>(bild_.bits());
    proZeile_ = bild_.bytesPerLine() / qsizetype(sizeof(uint32_t));
    breite_ = bild_.width();
    hoehe_ = bild_.height();
    if (versatzZeile_ != proZeile_) {
        // Where each short path's pixels lie from its first, in this image.
        versaetze_.resize(KurzeWege.wege.size() * (KurzMax + 1));
        for (std::size_t w = 0; w < KurzeWege.wege.size(); ++w)
            for (int k = 0; k <= KurzMax; ++k)
                versaetze_[w * (KurzMax + 1) + size_t(k)] =
                    int32_t(KurzeWege.wege[w].dy[k] * proZeile_ + KurzeWege.wege[w].dx[k]);
        versatzZeile_ = proZeile_;
    }
}

inline void BildFlaeche::Pixel(int px, int py, uint32_t rgb)
{
    if (px < 0 || py < 0 || px >= breite_ || py >= hoehe_)
        return;
    pixel_[py * proZeile_ + px] = rgb;
    links_ = std::min(links_, px);
    rechts_ = std::max(rechts_, px);
    oben_ = std::min(oben_, py);
    unten_ = std::max(unten_, py);
}

// (sx, sy) in pixel units, not yet rounded down.
inline void BildFlaeche::PunktSetzen(double sx, double sy, uint32_t rgb)
{
    // Also false for NaN. Rounding down keeps a value in [0, W) inside, so
    // the test can come first and the conversion truncate.
    if (sx >= 0 && sy >= 0 && sx < breite_ && sy < hoehe_)
        Pixel(int(sx), int(sy), rgb);
}

// From pixel position (ax, ay) to (bx, by), not yet rounded down.
inline void BildFlaeche::LinieZiehen(double ax, double ay, double bx, double by, uint32_t rgb)
{
    if (!KlippenAufRahmen(ax, ay, bx, by, breite_, hoehe_))
        return;

    Bresenham(int(std::floor(ax)), int(std::floor(ay)), int(std::floor(bx)), int(std::floor(by)), rgb, true);
}

// Between the pixels that hold the two end points, both included. Without
// `pruefen` every pixel must lie inside and the caller marks the changed area.
inline void BildFlaeche::Bresenham(int x0, int y0, int x1, int y1, uint32_t rgb, bool pruefen)
{
    if (pruefen) {
        BresenhamGehen(x0, y0, x1, y1, [this, rgb](int x, int y) { Pixel(x, y, rgb); });
    } else {
        uint32_t* const pixel = pixel_;
        const qsizetype proZeile = proZeile_;
        BresenhamGehen(x0, y0, x1, y1, [pixel, proZeile, rgb](int x, int y) { pixel[y * proZeile + x] = rgb; });
    }
}

void BildFlaeche::PSet(float x, float y, int32_t farbe)
{
    Oeffnen();
    PunktSetzen(Spalte(x), Zeile(y), FarbeAlsArgb(farbe));
}

void BildFlaeche::Line(float x, float y, float dx, float dy, int32_t farbe)
{
    Oeffnen();
    const float ex = x + dx;
    const float ey = y + dy;
    LinieZiehen(Spalte(x), Zeile(y), Spalte(ex), Zeile(ey), FarbeAlsArgb(farbe));
}

void BildFlaeche::Striche(std::span<const Strich> striche)
{
    Oeffnen();
    // Whatever ran before on this thread may have left them dirty.
    VektorOberhaelftenLeeren();
    if (kehrwertGenau_)
        StricheZeichnenMit<true>(striche.data(), striche.size());
    else
        StricheZeichnenMit<false>(striche.data(), striche.size());
}

template <bool MitKehrwert>
void BildFlaeche::StricheZeichnenMit(const Strich* striche, std::size_t anzahl)
{
    // Locals, not members: the compiler must assume that a pixel store may
    // change any member, and would reload them every time.
    uint32_t* const pixel = pixel_;
    const qsizetype proZeile = proZeile_;
    const int32_t* const versaetze = versaetze_.data();
    // Column and row of a point are mapped together, as Spalte and Zeile map
    // them one by one: the same operations lane by lane, so the same bits.
    const Paar ursprung = {x1_, y1_};
    const Paar spanne = {x2_ - x1_, y2_ - y1_};
    const Paar kehrwert = {kehrwertX_, kehrwertY_};
    const Paar groesse = {double(breite_), double(hoehe_)};
    const Paar null = {0.0, 0.0};
    // The changed area of the common case, in unrounded pixels: rounding
    // down keeps the order, so the ends are rounded once at the end.
    Paar kleinste = groesse, groesste = {-1.0, -1.0};
    for (std::size_t i = 0; i < anzahl; ++i) {
        const Strich& s = striche[i];
        const uint32_t rgb = FarbeAlsArgb(s.farbe);
        const float ex = s.x + s.dx;
        const float ey = s.y + s.dy;
        Paar a, b;
        if constexpr (MitKehrwert) {
            a = (Paar{s.x, s.y} - ursprung) * kehrwert * groesse;
            b = (Paar{ex, ey} - ursprung) * kehrwert * groesse;
        } else {
            a = (Paar{s.x, s.y} - ursprung) / spanne * groesse;
            b = (Paar{ex, ey} - ursprung) / spanne * groesse;
        }

        // The common case: both ends inside. No clipping, no test per pixel;
        // the point is the line's first pixel, in the same colour. (False
        // for NaN.)
        const auto innen = (a >= null) & (b >= null) & (a < groesse) & (b < groesse);
        if (innen[0] & innen[1]) {
            kleinste = Kleiner(kleinste, Kleiner(a, b));
            groesste = Groesser(groesste, Groesser(a, b));
            const int x0 = int(a[0]), y0 = int(a[1]), x1 = int(b[0]), y1 = int(b[1]);
            const int wx = x1 - x0, wy = y1 - y0;
            if (std::abs(wx) <= KurzMax && std::abs(wy) <= KurzMax) {
                const int32_t* versatz = versaetze + KurzeWege.Index(wx, wy) * (KurzMax + 1);
                uint32_t* start = pixel + y0 * proZeile + x0;
                for (int k = 0; k < KurzMax + 1; ++k)
                    start[versatz[k]] = rgb;
            } else {
                Bresenham(x0, y0, x1, y1, rgb, false);
            }
            continue;
        }
        // Rare: the general way, which keeps the changed area itself.
        LinieZiehen(a[0], a[1], b[0], b[1], rgb);
        PunktSetzen(a[0], a[1], rgb);
    }
    if (groesste[0] >= 0) {
        links_ = std::min(links_, int(kleinste[0]));
        oben_ = std::min(oben_, int(kleinste[1]));
        rechts_ = std::max(rechts_, int(groesste[0]));
        unten_ = std::max(unten_, int(groesste[1]));
    }
}
