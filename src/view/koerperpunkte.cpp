// SPDX-License-Identifier: GPL-3.0-or-later
#include "koerperpunkte.h"

#include "model/farbe.h"
#include "model/zahltext.h"
#include "sim/berechnung.h"
#include "view/bezugssystem.h"
#include "view/bildflaeche.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

constexpr uint32_t Umrandung = 0xFF303030;   // premultiplied ARGB: opaque dark grey
constexpr int NamenHoehe = 20;               // logical pixels: the baseline sits this far below the dot's top

struct Musterpunkt {
    int dx, dy;
    bool rand;
};

// A disc of five pattern pixels across with a ring of one around it, at
// `s` device pixels per pattern pixel.
const std::vector<Musterpunkt>& Muster(int s)
{
    static thread_local int fuer = 0;
    static thread_local std::vector<Musterpunkt> muster;
    if (fuer != s) {
        muster.clear();
        const int r = (7 * s) / 2;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const double d = std::hypot(dx, dy) / s;
                if (d <= 3.2)
                    muster.push_back({dx, dy, d > 2.3});
            }
        fuer = s;
    }
    return muster;
}

int Halbmesser(int s)
{
    return (7 * s) / 2;
}

double Sortiermasse(double m)
{
    return std::isnan(m) ? -std::numeric_limits<double>::infinity() : m;
}

// Six digits are plenty to read; the table has them all.
QString Kurz(double wert)
{
    return KurzZuText(wert, 6);
}

}  // namespace

void Koerperpunkte::Berechnen(const KoerperSatz& koerper, const BildFlaeche& flaeche, double pixelverhaeltnis,
                              bool namen, const Bezugslage* lage, const QFont& schrift)
{
    q_ = std::isfinite(pixelverhaeltnis) && pixelverhaeltnis > 0 ? pixelverhaeltnis : 1.0;
    massstab_ = std::max(1, int(std::lround(q_)));
    const double r = Halbmesser(massstab_);
    const double breite = flaeche.Groesse().width(), hoehe = flaeche.Groesse().height();
    punkte_.clear();
    for (std::size_t i = 0; i < koerper.size(); ++i) {
        // As the step narrows it for the trail (and the frame its projection),
        // so the dot sits on the trail's end.
        QPointF ort = KoerperOrt(koerper[i], MeterProAE);
        if (lage) {
            const QPointF im = lage->Ort(ort);
            ort = QPointF(float(im.x()), float(im.y()));
        }
        const double sx = flaeche.PixelSpalte(ort.x());
        const double sy = flaeche.PixelZeile(ort.y());
        // Also false for NaN and infinities.
        if (!(sx >= -r && sx < breite + r && sy >= -r && sy < hoehe + r))
            continue;
        punkte_.push_back({int32_t(std::floor(sx)), int32_t(std::floor(sy)), uint32_t(i)});
    }
    RasterAufbauen();
    namen_.clear();
    namenRahmen_.clear();
    namenKoerper_.clear();
    if (!namen)
        return;
    std::vector<Punkt> benannt;
    for (const Punkt& p : punkte_)
        if (!KoerperNameKurz(koerper[p.index]).isEmpty())
            benannt.push_back(p);
    if (benannt.size() > std::size_t(NamenHoechstens)) {
        const auto schwerer = [&koerper](const Punkt& a, const Punkt& b) {
            return Sortiermasse(koerper[a.index].Masse) > Sortiermasse(koerper[b.index].Masse);
        };
        std::nth_element(benannt.begin(), benannt.begin() + NamenHoechstens, benannt.end(), schwerer);
        benannt.resize(std::size_t(NamenHoechstens));
        // Placed in the order the dots are drawn, whichever were chosen.
        std::sort(benannt.begin(), benannt.end(), [](const Punkt& a, const Punkt& b) { return a.index < b.index; });
    }
    NamenSetzen(benannt, koerper, schrift);
}

void Koerperpunkte::NamenSetzen(const std::vector<Punkt>& benannt, const KoerperSatz& koerper, const QFont& schrift)
{
    const QFontMetricsF mass(schrift);
    oberlaenge_ = mass.ascent();
    const double hoehe = mass.height();
    const double abstand = Halbmesser(massstab_) / q_ + 2;
    const auto ueberdeckt = [this](const QRectF& r) -> const QRectF* {
        for (const QRectF& da : namenRahmen_)
            if (da.intersects(r))
                return &da;
        return nullptr;
    };
    for (const Punkt& p : benannt) {
        const QString name = KoerperNameKurz(koerper[p.index]);
        // Beside the dot, to its upper right.
        const QPointF linie((p.x + 0.5) / q_ + abstand, (p.y + 0.5) / q_ + NamenHoehe / 2 - abstand);
        QRectF rahmen(linie.x(), linie.y() - oberlaenge_, mass.horizontalAdvance(name), hoehe);
        if (const QRectF* da = ueberdeckt(rahmen)) {
            rahmen.moveTop(da->bottom());
            if (ueberdeckt(rahmen))
                continue;
        }
        namen_.push_back(name);
        namenRahmen_.push_back(rahmen);
        namenKoerper_.push_back(p.index);
    }
}

void Koerperpunkte::Zeichnen(QPainter& p, const KoerperSatz& koerper, QRect bereich, QPointF verschiebung, bool punkte)
{
    if (punkte_.empty())
        return;
    const int r = Halbmesser(massstab_);
    const int vx = int(std::lround(verschiebung.x() * q_)), vy = int(std::lround(verschiebung.y() * q_));
    int links = std::numeric_limits<int>::max(), oben = links, rechts = std::numeric_limits<int>::min(), unten = rechts;
    for (const Punkt& pt : punkte_) {
        links = std::min(links, pt.x);
        rechts = std::max(rechts, pt.x);
        oben = std::min(oben, pt.y);
        unten = std::max(unten, pt.y);
    }
    const QRect huelle(QPoint(links - r + vx, oben - r + vy), QPoint(rechts + r + vx, unten + r + vy));
    const QRect geraet(QPoint(int(std::floor(bereich.left() * q_)), int(std::floor(bereich.top() * q_))),
                       QPoint(int(std::ceil((bereich.right() + 1) * q_)) - 1, int(std::ceil((bereich.bottom() + 1) * q_)) - 1));
    const QRect ziel = punkte ? huelle.intersected(geraet) : QRect();
    if (!ziel.isEmpty()) {
        if (ueberlage_.width() < ziel.width() || ueberlage_.height() < ziel.height())
            ueberlage_ = QImage(std::max(ueberlage_.width(), ziel.width()), std::max(ueberlage_.height(), ziel.height()),
                                QImage::Format_ARGB32_Premultiplied);
        const int w = ziel.width(), h = ziel.height();
        auto* const pixel = reinterpret_cast<uint32_t*>(ueberlage_.bits());
        const qsizetype zeile = ueberlage_.bytesPerLine() / 4;
        for (int y = 0; y < h; ++y)
            std::memset(pixel + y * zeile, 0, std::size_t(w) * 4);
        const std::vector<Musterpunkt>& muster = Muster(massstab_);
        for (const Punkt& pt : punkte_) {
            const int cx = pt.x + vx - ziel.left(), cy = pt.y + vy - ziel.top();
            if (cx + r < 0 || cy + r < 0 || cx - r >= w || cy - r >= h)
                continue;
            const uint32_t farbe = FarbeAlsArgb(koerper[pt.index].Farbe);
            uint32_t* const mitte = pixel + cy * zeile + cx;
            if (cx - r >= 0 && cy - r >= 0 && cx + r < w && cy + r < h) {
                for (const Musterpunkt& m : muster)
                    mitte[m.dy * zeile + m.dx] = m.rand ? Umrandung : farbe;
            } else {
                for (const Musterpunkt& m : muster)
                    if (unsigned(cx + m.dx) < unsigned(w) && unsigned(cy + m.dy) < unsigned(h))
                        mitte[m.dy * zeile + m.dx] = m.rand ? Umrandung : farbe;
            }
        }
        // Device pixels onto device pixels, unscaled.
        p.drawImage(QRectF(ziel.left() / q_, ziel.top() / q_, w / q_, h / q_), ueberlage_, QRectF(0, 0, w, h));
    }
    if (namen_.empty())
        return;
    p.save();
    p.setPen(QColor(0x30, 0x30, 0x30));
    for (std::size_t i = 0; i < namen_.size(); ++i) {
        const QRectF rahmen = namenRahmen_[i].translated(verschiebung);
        if (rahmen.intersects(QRectF(bereich)))
            p.drawText(QPointF(rahmen.left(), rahmen.top() + oberlaenge_), namen_[i]);
    }
    p.restore();
}

QRegion Koerperpunkte::Bedeckt() const
{
    const int r = Halbmesser(massstab_) + 1;
    const auto rahmen = [this, r](const Punkt& pt) {
        return QRect(QPoint(int(std::floor((pt.x - r) / q_)), int(std::floor((pt.y - r) / q_))),
                     QPoint(int(std::ceil((pt.x + r + 1) / q_)), int(std::ceil((pt.y + r + 1) / q_))));
    };
    const auto namensrahmen = [](const QRectF& r) {
        return QRect(QPoint(int(std::floor(r.left())) - 1, int(std::floor(r.top())) - 1),
                     QPoint(int(std::ceil(r.right())) + 1, int(std::ceil(r.bottom())) + 1));
    };
    // A few rectangles stay a region; many become their hull, which is
    // cheaper than a region of thousands and covers about the same.
    const bool wenige = punkte_.size() + namenRahmen_.size() <= 64;
    QRegion region;
    QRect huelle;
    if (wenige) {
        for (const Punkt& pt : punkte_)
            region += rahmen(pt);
    } else if (!punkte_.empty()) {
        // The hull of the centres first: one rectangle's rounding, not thousands.
        Punkt links = punkte_[0], oben = links, rechts = links, unten = links;
        for (const Punkt& pt : punkte_) {
            links.x = std::min(links.x, pt.x), rechts.x = std::max(rechts.x, pt.x);
            oben.y = std::min(oben.y, pt.y), unten.y = std::max(unten.y, pt.y);
        }
        huelle = rahmen({links.x, oben.y, 0}) | rahmen({rechts.x, unten.y, 0});
    }
    for (const QRectF& r : namenRahmen_)
        wenige ? void(region += namensrahmen(r)) : void(huelle |= namensrahmen(r));
    return wenige ? region : QRegion(huelle);
}

void Koerperpunkte::RasterAufbauen()
{
    std::vector<Trefferraster::Mittelpunkt> mitten(punkte_.size());
    for (std::size_t i = 0; i < punkte_.size(); ++i)
        mitten[i] = {punkte_[i].x, punkte_[i].y};
    raster_.Aufbauen(mitten, Halbmesser(massstab_) + massstab_);
}

std::optional<std::size_t> Koerperpunkte::Bei(QPointF stelle) const
{
    const Trefferraster::Treffer t = raster_.Bei(stelle.x() * q_, stelle.y() * q_);
    if (t.anzahl == 0)
        return std::nullopt;
    return punkte_[t.rang].index;
}

std::size_t Koerperpunkte::AnzahlBei(QPointF stelle) const
{
    return raster_.Bei(stelle.x() * q_, stelle.y() * q_).anzahl;
}

void Koerperpunkte::Versetzen(std::size_t koerper, QPointF um)
{
    // Whole device pixels, so the name keeps its place beside the dot.
    const int32_t dx = int32_t(std::lround(um.x() * q_)), dy = int32_t(std::lround(um.y() * q_));
    for (Punkt& pt : punkte_)
        if (pt.index == koerper) {
            pt.x += dx;
            pt.y += dy;
        }
    for (std::size_t i = 0; i < namenRahmen_.size(); ++i)
        if (namenKoerper_[i] == koerper)
            namenRahmen_[i].translate(dx / q_, dy / q_);
}

void Koerperpunkte::Mitten(std::vector<QPointF>& mitten, std::vector<std::size_t>& koerper) const
{
    mitten.resize(punkte_.size());
    koerper.resize(punkte_.size());
    for (std::size_t i = 0; i < punkte_.size(); ++i) {
        mitten[i] = QPointF((punkte_[i].x + 0.5) / q_, (punkte_[i].y + 0.5) / q_);
        koerper[i] = punkte_[i].index;
    }
}

std::optional<QPointF> Koerperpunkte::Ort(std::size_t koerper) const
{
    for (const Punkt& pt : punkte_)
        if (pt.index == koerper)
            return QPointF((pt.x + 0.5) / q_, (pt.y + 0.5) / q_);
    return std::nullopt;
}

QString KoerperNameKurz(const Koerper& k)
{
    QString name = k.NameText();
    name.remove(QChar(0));
    return name.trimmed();
}

QString KoerperBezeichnung(const Koerper& k, std::size_t nummer)
{
    const QString name = KoerperNameKurz(k);
    return name.isEmpty() ? QStringLiteral("Körper %1").arg(nummer) : name;
}

QString KoerperTipp(const Koerper& k, std::size_t nummer, bool arbeitssatz, double intervall, const Bezugslage* lage)
{
    const QString name = KoerperBezeichnung(k, nummer);
    double x = k.X / MeterProAE, y = k.Y / MeterProAE;
    double geschwindigkeit = k.Geschwindigkeit, richtung = k.Richtung;
    const double sekunden = intervall * 86400.0;
    const bool ohneZeit = arbeitssatz && (!std::isfinite(sekunden) || sekunden == 0);
    if (lage) {
        // Where it is and how it moves as seen in the frame.
        const QPointF im = lage->Ort({x, y});
        const QPointF v = lage->Geschwindigkeit(im, KoerperGeschwindigkeit(k, arbeitssatz, intervall), MeterProAE);
        x = im.x();
        y = im.y();
        geschwindigkeit = std::hypot(v.x(), v.y());
        richtung = std::atan2(v.y(), v.x()) * 180.0 / std::numbers::pi;
        if (richtung < 0)
            richtung += 360.0;
    } else if (arbeitssatz) {
        // The step's displacement over its seconds; its angle as a typed
        // direction: from +x towards +y, 0 to 360 degrees.
        geschwindigkeit = std::hypot(k.Vx(), k.Vy()) / std::abs(sekunden);
        richtung = std::atan2(k.Vy() / sekunden, k.Vx() / sekunden) * 180.0 / std::numbers::pi;
        if (richtung < 0)
            richtung += 360.0;
    }
    if (ohneZeit)
        geschwindigkeit = richtung = std::numeric_limits<double>::quiet_NaN();
    const auto oderStrich = [](double wert, const QString& einheit) {
        return std::isnan(wert) ? QStringLiteral("–") : Kurz(wert) + einheit;
    };
    return name + QLatin1Char('\n') + QStringLiteral("Masse: ") + Kurz(k.Masse) + QStringLiteral(" Erdmassen\n")
         + QStringLiteral("Ort: x = ") + Kurz(x) + QStringLiteral(" AE, y = ") + Kurz(y)
         + QStringLiteral(" AE\nGeschwindigkeit: ") + oderStrich(geschwindigkeit, QStringLiteral(" m/s"))
         + QStringLiteral("\nRichtung: ") + oderStrich(richtung, QStringLiteral("°"));
}
