// SPDX-License-Identifier: GPL-3.0-or-later
#include "bearbeitung.h"

#include "sim/berechnung.h"
#include "sim/schrittkern.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {
constexpr double SekundenProTag = 86400.0;
constexpr double Unbekannt = std::numeric_limits<double>::quiet_NaN();

double Sekunden(double intervall)
{
    return intervall * SekundenProTag;
}

bool Bekannt(double sekunden)
{
    return std::isfinite(sekunden) && sekunden != 0;
}

int32_t Rgb(int r, int g, int b)
{
    return int32_t(r | (g << 8) | (b << 16));
}
}  // namespace

Vektor Geschwindigkeit(const Koerper& k, Bewegungsart art)
{
    if (!art.arbeitssatz) {
        const double w = k.Richtung * std::numbers::pi / 180.0;
        return {k.Geschwindigkeit * std::cos(w), k.Geschwindigkeit * std::sin(w)};
    }
    const double s = Sekunden(art.intervall);
    if (!Bekannt(s))
        return {Unbekannt, Unbekannt};
    return {k.Vx() / s, k.Vy() / s};
}

double RichtungGrad(Vektor v)
{
    double grad = std::atan2(v.y, v.x) * 180.0 / std::numbers::pi;
    if (grad < 0)
        grad += 360.0;
    // A tiny negative angle rounds up to a whole turn.
    return grad >= 360.0 ? 0.0 : grad;
}

bool GeschwindigkeitSetzen(Koerper& k, Vektor v, Bewegungsart art)
{
    if (!art.arbeitssatz) {
        k.Geschwindigkeit = std::hypot(v.x, v.y);
        k.Richtung = RichtungGrad(v);
        return true;
    }
    const double s = Sekunden(art.intervall);
    if (!Bekannt(s))
        return false;
    k.Vx() = v.x * s;
    k.Vy() = v.y * s;
    return true;
}

std::optional<std::size_t> StaerksterZug(const KoerperSatz& satz, Vektor ort, std::optional<std::size_t> ausser)
{
    std::optional<std::size_t> bester;
    double staerkster = 0;
    for (std::size_t j = 0; j < satz.size(); ++j) {
        if (j == ausser || !(satz[j].Masse > 0))
            continue;
        const double dx = satz[j].X - ort.x, dy = satz[j].Y - ort.y;
        const double r2 = dx * dx + dy * dy;
        if (!(r2 > 0))
            continue;
        const double zug = satz[j].Masse / r2;
        if (zug > staerkster) {
            staerkster = zug;
            bester = j;
        }
    }
    return bester;
}

int Umlaufsinn(Vektor relativ, Vektor v)
{
    const double kreuz = relativ.x * v.y - relativ.y * v.x;
    return kreuz > 0 ? 1 : kreuz < 0 ? -1 : 0;
}

double Kreisgeschwindigkeit(double abstand, double zentralmasse, double masse)
{
    const double mu = GravitationsParameter * (zentralmasse + masse);
    if (!(abstand > 0) || !(mu > 0))
        return Unbekannt;
    return std::sqrt(mu / abstand);
}

std::optional<Vektor> Kreisbahn(Vektor relativ, double zentralmasse, double masse, int sinn)
{
    const double r = std::hypot(relativ.x, relativ.y);
    const double v = Kreisgeschwindigkeit(r, zentralmasse, masse);
    if (!std::isfinite(v))
        return std::nullopt;
    // Perpendicular to the line: +1 turns +x towards +y.
    const double s = sinn < 0 ? -1.0 : 1.0;
    return Vektor{-s * relativ.y / r * v, s * relativ.x / r * v};
}

unsigned Beschleunigungen(const KoerperSatz& satz, std::vector<double>& ax, std::vector<double>& ay)
{
    const std::size_t n = satz.size();
    std::vector<double> x(n), y(n), m(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = satz[i].X;
        y[i] = satz[i].Y;
        m[i] = satz[i].Masse;
    }
    ax.assign(n, 0.0);
    ay.assign(n, 0.0);
    // With K = mu and no displacement to start from, the pass sums the accelerations.
    FlagsLoeschen();
    return Geschwindigkeiten(n, x.data(), y.data(), m.data(), ax.data(), ay.data(), GravitationsParameter);
}

const std::vector<int32_t>& Farbpalette()
{
    // Dark and saturated enough for a one-pixel trail on white, and far apart in hue.
    static const std::vector<int32_t> palette = {
        Rgb(0xE6, 0x19, 0x4B), Rgb(0x3C, 0xB4, 0x4B), Rgb(0x43, 0x63, 0xD8), Rgb(0xF5, 0x82, 0x31),
        Rgb(0x91, 0x1E, 0xB4), Rgb(0x00, 0x9C, 0xC8), Rgb(0xF0, 0x32, 0xE6), Rgb(0x46, 0x99, 0x90),
        Rgb(0x9A, 0x63, 0x24), Rgb(0x80, 0x00, 0x00), Rgb(0x80, 0x80, 0x00), Rgb(0x00, 0x00, 0x75),
    };
    return palette;
}

int32_t NaechsteFarbe(const KoerperSatz& satz)
{
    const std::vector<int32_t>& palette = Farbpalette();
    for (const int32_t farbe : palette) {
        bool vergeben = false;
        for (const Koerper& k : satz)
            if (k.Farbe == farbe) {
                vergeben = true;
                break;
            }
        if (!vergeben)
            return farbe;
    }
    return palette[satz.size() % palette.size()];
}

QString NeuerKoerpername(const KoerperSatz& satz)
{
    for (std::size_t n = satz.size() + 1;; ++n) {
        Koerper probe;
        probe.NameSetzen(QStringLiteral("Körper %1").arg(n));
        bool vergeben = false;
        for (const Koerper& k : satz)
            if (k.Name == probe.Name) {
                vergeben = true;
                break;
            }
        if (!vergeben)
            return QStringLiteral("Körper %1").arg(n);
    }
}

Koerper EinzufuegenderKoerper(const KoerperSatz& satz, Vektor ort, Bewegungsart art)
{
    Koerper k;
    k.NameSetzen(NeuerKoerpername(satz));
    k.Masse = 1;
    k.X = ort.x;
    k.Y = ort.y;
    k.Farbe = NaechsteFarbe(satz);
    Vektor v;
    if (const std::optional<std::size_t> z = StaerksterZug(satz, ort)) {
        const Koerper& zentrum = satz[*z];
        const Vektor vz = Geschwindigkeit(zentrum, art);
        // The sense of the others' angular momentum about the centre.
        double drehimpuls = 0;
        for (std::size_t j = 0; j < satz.size(); ++j) {
            if (j == *z)
                continue;
            const Vektor vj = Geschwindigkeit(satz[j], art);
            const double l = satz[j].Masse
                           * ((satz[j].X - zentrum.X) * (vj.y - vz.y) - (satz[j].Y - zentrum.Y) * (vj.x - vz.x));
            if (std::isfinite(l))
                drehimpuls += l;
        }
        const int sinn = drehimpuls < 0 ? -1 : 1;
        if (const auto bahn = Kreisbahn({ort.x - zentrum.X, ort.y - zentrum.Y}, zentrum.Masse, k.Masse, sinn);
            bahn && std::isfinite(vz.x) && std::isfinite(vz.y))
            v = {vz.x + bahn->x, vz.y + bahn->y};
    }
    GeschwindigkeitSetzen(k, v, art);
    return k;
}

bool ImpulsNullSetzen(KoerperSatz& satz, Bewegungsart art)
{
    double masse = 0, px = 0, py = 0;
    for (const Koerper& k : satz) {
        const Vektor v = Geschwindigkeit(k, art);
        masse += k.Masse;
        px += k.Masse * v.x;
        py += k.Masse * v.y;
    }
    const Vektor schwerpunkt{px / masse, py / masse};
    if (!std::isfinite(schwerpunkt.x) || !std::isfinite(schwerpunkt.y) || (schwerpunkt.x == 0 && schwerpunkt.y == 0))
        return false;
    for (Koerper& k : satz) {
        const Vektor v = Geschwindigkeit(k, art);
        GeschwindigkeitSetzen(k, {v.x - schwerpunkt.x, v.y - schwerpunkt.y}, art);
    }
    return true;
}

std::optional<KoerperSatz> AlsStartzustand(const KoerperSatz& sim, double intervall)
{
    const double s = Sekunden(intervall);
    if (!Bekannt(s))
        return std::nullopt;
    KoerperSatz start = sim;
    for (Koerper& k : start) {
        const double vx = k.Vx(), vy = k.Vy();
        // Signed: at a negative interval the body moves against its displacement.
        k.Geschwindigkeit = std::hypot(vx, vy) / s;
        k.Richtung = RichtungGrad({vx, vy});
    }
    return start;
}
