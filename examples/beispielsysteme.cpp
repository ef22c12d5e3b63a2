// SPDX-License-Identifier: GPL-3.0-or-later
#include "beispielsysteme.h"

#include "sim/berechnung.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double Mu = GravitationsParameter;   // m^3/s^2 per Earth mass
constexpr double AE = MeterProAE;

constexpr int32_t Rgb(int r, int g, int b)
{
    return int32_t(r | (g << 8) | (b << 16));
}

// A body with its true state at the start: position (m) and velocity (m/s).
struct Zustand {
    const char* name;
    double masse;
    double x, y, vx, vy;
    int32_t farbe;
};

// Body `b` at `grad` degrees (from +x towards +y) and distance r from body
// `a`, moving at `v` relative to it, at right angles, the same way round as
// every orbit here.
void Bahnpunkt(const Zustand& a, Zustand& b, double r, double grad, double v)
{
    // Exact on the axes, so the table shows 0 there and not 1e-5 metres.
    const double w = grad * std::numbers::pi / 180.0;
    const bool achse = std::fmod(grad, 90.0) == 0.0;
    const double ex = achse ? std::round(std::cos(w)) : std::cos(w);
    const double ey = achse ? std::round(std::sin(w)) : std::sin(w);
    b.x = a.x + r * ex;
    b.y = a.y + r * ey;
    b.vx = a.vx - v * ey;
    b.vy = a.vy + v * ex;
}

double Kreisgeschwindigkeit(double masse, double r)
{
    return std::sqrt(Mu * masse / r);
}

// Bodies `a` and `b` on circular orbits about their common centre of mass,
// which stays where `a` was; `zusatz` scales the squared speed.
void Kreisbahn(Zustand& a, Zustand& b, double r, double grad, double zusatz = 1.0)
{
    const double mab = a.masse + b.masse;
    const double v = Kreisgeschwindigkeit(mab, r) * std::sqrt(zusatz);
    const Zustand mitte = a;
    Bahnpunkt(mitte, b, r * a.masse / mab, grad, v * a.masse / mab);
    Bahnpunkt(mitte, a, r * b.masse / mab, grad + 180, v * b.masse / mab);
}

// Moves the bodies `tragen` together so that the whole system has its centre
// of mass at rest at the origin.
void SchwerpunktRuhtImUrsprung(std::vector<Zustand>& k, std::initializer_list<size_t> tragen)
{
    double m = 0, sx = 0, sy = 0, px = 0, py = 0;
    for (const Zustand& z : k) {
        m += z.masse;
        sx += z.masse * z.x;
        sy += z.masse * z.y;
        px += z.masse * z.vx;
        py += z.masse * z.vy;
    }
    double mt = 0;
    for (size_t i : tragen)
        mt += k[i].masse;
    for (size_t i : tragen) {
        k[i].x -= sx / mt;
        k[i].y -= sy / mt;
        k[i].vx -= px / mt;
        k[i].vy -= py / mt;
    }
}

// Document set from true start states: each velocity is taken back half an
// interval, v(-h/2) = v(0) - h/2 * a(0), which is what the step expects.
// Without it a circular orbit comes out as an ellipse of eccentricity about
// h * omega / 2, which would carry the Earth out of the section.
KoerperSatz Festschreiben(const std::vector<Zustand>& k)
{
    const double h = BeispielIntervall * 86400.0;
    KoerperSatz satz;
    for (const Zustand& z : k) {
        double ax = 0, ay = 0;
        for (const Zustand& q : k) {
            const double dx = q.x - z.x, dy = q.y - z.y;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 0) {
                ax += Mu * q.masse * dx / (r * r * r);
                ay += Mu * q.masse * dy / (r * r * r);
            }
        }
        const double vx = z.vx - h / 2 * ax;
        const double vy = z.vy - h / 2 * ay;
        Koerper kp;
        kp.NameSetzen(QString::fromUtf8(z.name));
        kp.Masse = z.masse;
        kp.X = z.x;
        kp.Y = z.y;
        kp.Geschwindigkeit = std::hypot(vx, vy);
        kp.Richtung = std::atan2(vy, vx) * 180.0 / std::numbers::pi;
        kp.Farbe = z.farbe;
        satz.push_back(kp);
    }
    return satz;
}

const int32_t Sonnengelb = Rgb(255, 190, 0);

// The Sun with Mercury, Venus and the Earth, each on a circular orbit at its
// mean distance; the Earth's orbit nearly touches the edges of the section.
KoerperSatz InnerePlaneten()
{
    std::vector<Zustand> k = {
        {"Sonne", Sonnenmasse, 0, 0, 0, 0, Sonnengelb},
        {"Merkur", 0.0553, 0, 0, 0, 0, Rgb(128, 128, 128)},
        {"Venus", 0.815, 0, 0, 0, 0, Rgb(220, 150, 40)},
        {"Erde", 1.0, 0, 0, 0, 0, Rgb(0, 80, 255)},
    };
    const double radius[] = {5.79e10, 1.082e11, 1.496e11};
    const double grad[] = {30, 150, 270};
    for (size_t i = 1; i < k.size(); ++i)
        Bahnpunkt(k[0], k[i], radius[i - 1], grad[i - 1],
                  Kreisgeschwindigkeit(k[0].masse + k[i].masse, radius[i - 1]));
    SchwerpunktRuhtImUrsprung(k, {0});
    return Festschreiben(k);
}

// The Sun, the Earth and the Moon: the Earth and the Moon circle their common
// centre of mass, which circles the Sun at the Earth's distance. In the
// default section the Moon's trail lies within a pixel of the Earth's.
KoerperSatz SonneErdeMond()
{
    Zustand sonne{"Sonne", Sonnenmasse, 0, 0, 0, 0, Sonnengelb};
    Zustand erde{"Erde", 1.0, 0, 0, 0, 0, Rgb(0, 80, 255)};
    Zustand mond{"Mond", 0.0123, 0, 0, 0, 0, Rgb(110, 110, 110)};
    // The Earth-Moon pair as one body of their joint mass.
    Zustand paar{"", erde.masse + mond.masse, 0, 0, 0, 0, 0};
    Kreisbahn(sonne, paar, 1.496e11, 0);
    erde.x = paar.x, erde.y = paar.y, erde.vx = paar.vx, erde.vy = paar.vy;
    Kreisbahn(erde, mond, 3.844e8, 90);
    std::vector<Zustand> k = {sonne, erde, mond};
    SchwerpunktRuhtImUrsprung(k, {0});
    return Festschreiben(k);
}

// Two stars of 1 and 0.5 solar masses on a circular orbit, and a light planet
// around both. A planet around a binary stays only beyond about 2.4 times the
// stars' distance, so the stars are 0.3 AE apart and the planet circles at
// 0.9 AE, where all of it fits the section.
KoerperSatz Doppelstern()
{
    Zustand a{"Stern A", Sonnenmasse, 0, 0, 0, 0, Sonnengelb};
    Zustand b{"Stern B", 0.5 * Sonnenmasse, 0, 0, 0, 0, Rgb(255, 80, 0)};
    Zustand p{"Planet", 1.0, 0, 0, 0, 0, Rgb(0, 150, 60)};
    const double abstand = 0.3 * AE;
    const double bahn = 0.9 * AE;
    Kreisbahn(a, b, abstand, 0);
    // Seen from afar the pair pulls a little harder than one point of the same
    // mass (its mean quadrupole): v^2 = G M / r * (1 + 3/4 q (d/r)^2),
    // q = m_a m_b / (m_a + m_b)^2.
    const double q = a.masse * b.masse / ((a.masse + b.masse) * (a.masse + b.masse));
    const double zusatz = 1.0 + 0.75 * q * (abstand / bahn) * (abstand / bahn);
    Zustand paar{"", a.masse + b.masse, 0, 0, 0, 0, 0};
    Kreisbahn(paar, p, bahn, 90, zusatz);
    std::vector<Zustand> k = {a, b, p};
    SchwerpunktRuhtImUrsprung(k, {0, 1});
    return Festschreiben(k);
}

// The figure-eight of three equal masses, one solar mass each. Its widest
// point lies 1.08 length units from the centre, so the unit is 0.9 AE to keep
// the whole figure inside the section.
KoerperSatz Achterbahn()
{
    const double m = Sonnenmasse;
    const double laenge = 0.9 * AE;
    const double geschw = std::sqrt(Mu * m / laenge);   // velocity unit, m/s
    std::vector<Zustand> k = {
        {"Stern 1", m, Acht::X * laenge, Acht::Y * laenge, -Acht::VX / 2 * geschw, -Acht::VY / 2 * geschw,
         Rgb(220, 0, 0)},
        {"Stern 2", m, -Acht::X * laenge, -Acht::Y * laenge, -Acht::VX / 2 * geschw, -Acht::VY / 2 * geschw,
         Rgb(0, 150, 0)},
        {"Stern 3", m, 0, 0, Acht::VX * geschw, Acht::VY * geschw, Rgb(0, 60, 255)},
    };
    return Festschreiben(k);
}

// The Sun and the Earth with a ring of sixty small bodies between 0.45 and
// 0.85 AE, enough to keep both processors busy. Each ring body weighs as much
// as a large asteroid, so the ring hardly disturbs itself; the Earth pulls
// the outer ones into slightly wavy orbits. Colours run from red inside to
// blue outside, so the ring's inner bodies can be seen overtaking the outer.
KoerperSatz Planetoidenring()
{
    constexpr int anzahl = 60;
    std::vector<Zustand> k = {
        {"Sonne", Sonnenmasse, 0, 0, 0, 0, Sonnengelb},
        {"Erde", 1.0, 0, 0, 0, 0, Rgb(0, 80, 255)},
    };
    Bahnpunkt(k[0], k[1], 1.496e11, 0, Kreisgeschwindigkeit(k[0].masse + 1.0, 1.496e11));
    std::vector<std::string> namen;   // the names the entries of k point to
    for (int i = 0; i < anzahl; ++i)
        namen.push_back("Planetoid " + std::to_string(i + 1));
    for (int i = 0; i < anzahl; ++i) {
        const double anteil = double(i) / (anzahl - 1);
        const double r = (0.45 + 0.4 * anteil) * AE;
        // 137.5 degrees apart, so neighbours in radius are spread round the ring.
        const double grad = std::fmod(i * 137.5 + 7.0, 360.0);
        Zustand z{namen[size_t(i)].c_str(), 1.5e-4, 0, 0, 0, 0,
                  Rgb(int(std::lround(230 - 200 * anteil)), 60, int(std::lround(30 + 200 * anteil)))};
        Bahnpunkt(k[0], z, r, grad, Kreisgeschwindigkeit(k[0].masse + z.masse, r));
        k.push_back(z);
    }
    SchwerpunktRuhtImUrsprung(k, {0});
    return Festschreiben(k);
}

// The Sun and Jupiter, brought in to 0.85 AE so that all fits the section
// and a year passes in 286 days, with 24 massless trojans near the points
// that lead and trail Jupiter by 60°. Each starts at rest in the frame that
// turns with the pair, on the circle through its point, up to 18° nearer
// Jupiter or 32° farther from it, and swings about the point on a tadpole
// orbit: a still picture in that frame, a smear round the orbit in the fixed
// one. A small swing takes about twelve of Jupiter's years.
KoerperSatz SonneJupiterTrojaner()
{
    const double a = 0.85 * AE;
    std::vector<Zustand> k = {
        {"Sonne", Sonnenmasse, 0, 0, 0, 0, Sonnengelb},
        {"Jupiter", 317.8, 0, 0, 0, 0, Rgb(200, 120, 60)},
    };
    Kreisbahn(k[0], k[1], a, 0);
    const double omega = Kreisgeschwindigkeit(k[0].masse + k[1].masse, a) / a;
    // The points lie at the distance a from both, so at r from the centre of mass.
    const double mu = k[1].masse / (k[0].masse + k[1].masse);
    const double r = a * std::sqrt(1 - mu + mu * mu);
    const double l4 = std::atan2(std::sqrt(3.0) / 2, 0.5 - mu) * 180.0 / std::numbers::pi;
    // Degrees away from Jupiter (positive) or towards it.
    const double versatz[] = {-18, -14, -10, -6, -3, 3, 6, 10, 15, 20, 26, 32};
    std::vector<std::string> namen;   // the names the entries of k point to
    for (const char* punkt : {"L4", "L5"})
        for (size_t i = 0; i < std::size(versatz); ++i)
            namen.push_back(std::string("Trojaner ") + punkt + "-" + std::to_string(i + 1));
    size_t n = 0;
    for (const double seite : {1.0, -1.0})
        for (const double grad : versatz) {
            const double w = seite * (l4 + grad) * std::numbers::pi / 180.0;
            const int ton = int(n % std::size(versatz)) * 8;
            Zustand z{namen[n].c_str(), 0, r * std::cos(w), r * std::sin(w), 0, 0,
                      seite > 0 ? Rgb(0, 110 + ton, 40) : Rgb(30, 60, 140 + ton)};
            // Turning with the pair about their centre of mass at the origin.
            z.vx = -omega * z.y;
            z.vy = omega * z.x;
            k.push_back(z);
            ++n;
        }
    SchwerpunktRuhtImUrsprung(k, {0});
    return Festschreiben(k);
}

}  // namespace

std::vector<Beispiel> Beispiele()
{
    return {
        {QStringLiteral("innere_planeten.plv"), InnerePlaneten()},
        {QStringLiteral("sonne_erde_mond.plv"), SonneErdeMond()},
        {QStringLiteral("doppelstern.plv"), Doppelstern()},
        {QStringLiteral("achterbahn.plv"), Achterbahn()},
        {QStringLiteral("planetoidenring.plv"), Planetoidenring()},
        {QStringLiteral("trojaner.plv"), SonneJupiterTrojaner()},
    };
}
