// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmbild.h"

#include "model/farbe.h"
#include "model/zahltext.h"
#include "sim/berechnung.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor Schrift(0x30, 0x30, 0x30);   // as the bodies' names

// The longest length of 1, 2 or 5 times a power of ten not above `hoechstens`.
double RundeLaenge(double hoechstens)
{
    const double zehner = std::pow(10.0, std::floor(std::log10(hoechstens)));
    for (const double f : {5.0, 2.0, 1.0})
        if (f * zehner <= hoechstens)
            return f * zehner;
    return zehner;
}

}  // namespace

Ausschnitt FilmAusschnitt(const Ausschnitt& bild, QSize film)
{
    const double w = film.width(), h = film.height();
    const double b = std::abs(bild.Breite), t = std::abs(bild.Hoehe);
    Ausschnitt a = bild;
    // The axis that fills the film keeps its number exactly.
    if (b * h >= t * w)
        a.Hoehe = std::copysign(b * h / w, bild.Hoehe);
    else
        a.Breite = std::copysign(t * w / h, bild.Breite);
    return a;
}

Filmbild::Filmbild(QSize groesse, const Ausschnitt& ausschnitt)
{
    flaeche_.GroesseSetzen(groesse);
    BereichSetzen(ausschnitt);
}

void Filmbild::BereichSetzen(const Ausschnitt& ausschnitt)
{
    ausschnitt_ = ausschnitt;
    // As the window maps its section onto the picture.
    flaeche_.Scale(-ausschnitt.Breite / 2 + ausschnitt.XOffset, -ausschnitt.Hoehe / 2 + ausschnitt.YOffset,
                   ausschnitt.Breite / 2 + ausschnitt.XOffset, ausschnitt.Hoehe / 2 + ausschnitt.YOffset);
}

QImage Filmbild::Bild(const KoerperSatz& jetzt, double tage, const Filmueberlagen& u, const Bezugslage* lage)
{
    QImage bild = flaeche_.Image();
    if (!u.Tage && !u.Punkte && !u.Namen && !u.Massstab && u.Bezugssystem.isEmpty())
        return bild;
    const int w = bild.width(), h = bild.height();
    QPainter p(&bild);
    if (u.Punkte || u.Namen) {
        punkte_.Berechnen(jetzt, flaeche_, 1.0, u.Namen, lage);
        punkte_.Zeichnen(p, jetzt, QRect(0, 0, w, h), {}, u.Punkte);
    }
    QFont schrift = p.font();
    // Readable on a projector: about a fortieth of the height.
    schrift.setPixelSize(std::max(11, h / 40));
    p.setFont(schrift);
    p.setPen(Schrift);
    const int rand = std::max(6, h / 60);
    const QRect innen(rand, rand, w - 2 * rand, h - 2 * rand);
    if (u.Tage && std::isfinite(tage))
        p.drawText(innen, Qt::AlignLeft | Qt::AlignTop, ZahlZuText(tage) + QStringLiteral(" Tage"));
    if (!u.Bezugssystem.isEmpty())
        p.drawText(innen, Qt::AlignRight | Qt::AlignTop, u.Bezugssystem);
    const double pixelProAE = w / std::abs(ausschnitt_.Breite);
    if (u.Massstab && std::isfinite(pixelProAE) && pixelProAE > 0) {
        // At most a quarter of the width, at least a tenth.
        const double laenge = RundeLaenge(w / 4.0 / pixelProAE);
        const int pixel = int(std::lround(laenge * pixelProAE));
        if (std::isfinite(laenge) && pixel >= 2) {
            const int y = h - rand, x0 = rand, x1 = rand + pixel, strich = std::max(4, h / 120);
            QPen stift(Schrift, std::max(1, h / 360));
            p.setPen(stift);
            p.drawLine(x0, y, x1, y);
            p.drawLine(x0, y, x0, y - strich);
            p.drawLine(x1, y, x1, y - strich);
            p.drawText(QRect(x0, 0, std::max(pixel, w / 4), y - strich - 2), Qt::AlignLeft | Qt::AlignBottom,
                       ZahlZuText(laenge) + QStringLiteral(" AE"));
        }
    }
    return bild;
}

std::vector<QRgb> Filmbild::Spurfarben(const KoerperSatz& koerper)
{
    std::vector<QRgb> farben;
    for (const Koerper& k : koerper) {
        const QRgb c = FarbeAlsArgb(k.Farbe);
        if (std::find(farben.begin(), farben.end(), c) == farben.end())
            farben.push_back(c);
        if (farben.size() >= 256)
            break;
    }
    return farben;
}
