// SPDX-License-Identifier: GPL-3.0-or-later
// The example files as a user meets them: opened, built at half a day per
// step and run, with the published figures as the yardstick.

#include "beispielsysteme.h"
#include "model/koerperdatei.h"
#include "sim/aufbau.h"
#include "sim/berechnung.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const QDir Ordner(QStringLiteral(PLAVO_BEISPIELORDNER));

// Remembers the farthest coordinate drawn, in AE: the default section shows
// -1 to 1 on both axes.
struct Rahmen {
    double Weitestes = 0;

    void Zeichnen(std::span<const Strich> striche)
    {
        for (const Strich& s : striche) {
            Merken(s.x, s.y);
            Merken(s.x + s.dx, s.y + s.dy);
        }
    }

private:
    void Merken(double x, double y) { Weitestes = std::max({Weitestes, std::abs(x), std::abs(y)}); }
};

struct Punkt {
    double x, y;
};

double Abstand(Punkt a, Punkt b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

struct Lauf {
    ModPlavo mod;
    Laufstand stand;
    Rechenwerk werk;
    Rahmen flaeche;

    explicit Lauf(const QString& datei)
    {
        const DateiErgebnis e = KoerperdateiLesen(Ordner.filePath(datei));
        EXPECT_TRUE(e.ok()) << e.Fehler.toStdString();
        mod.KoerperStart = e.Koerper;
        mod.Intervall = 0.5;
        EXPECT_EQ(KoerperSimAufbauen(mod, stand), KeinFehler);
    }

    // Steps until `bis` steps have been computed in all.
    void Bis(int bis)
    {
        while (stand.Schrittzahl < bis) {
            const Schrittergebnis e = werk.Schritt(stand);
            ASSERT_EQ(e.fehler, KeinFehler) << "step " << stand.Schrittzahl;
            flaeche.Zeichnen(e.striche);
        }
    }

    size_t Index(const QString& name) const
    {
        for (size_t i = 0; i < mod.KoerperStart.size(); ++i)
            if (mod.KoerperStart[i].NameText().trimmed() == name)
                return i;
        ADD_FAILURE() << "no body named " << name.toStdString();
        return 0;
    }
    Punkt Start(size_t i) const { return {mod.KoerperStart[i].X, mod.KoerperStart[i].Y}; }
    Punkt Jetzt(size_t i) const { return {stand.KoerperSim[i].X, stand.KoerperSim[i].Y}; }
};

int Schritte(double sekunden)
{
    return int(std::lround(sekunden / (0.5 * 86400.0)));
}

// Kepler's third law for two bodies r metres apart.
double Umlaufzeit(double r, double masse)
{
    return 2 * std::numbers::pi * std::sqrt(r * r * r / (GravitationsParameter * masse));
}

}  // namespace

TEST(Beispiele, CommittedFilesAreWhatTheGeneratorWrites)
{
    for (const Beispiel& b : Beispiele()) {
        QFile f(Ordner.filePath(b.Datei));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << b.Datei.toStdString();
        EXPECT_EQ(f.readAll(), BytesAusKoerpern(b.Koerper))
            << b.Datei.toStdString() << " is stale: cmake --build build --target beispiele";
    }
}

TEST(Beispiele, NoTotalMomentumAndEveryOrbitTurnsFromXTowardsY)
{
    for (const Beispiel& b : Beispiele()) {
        SCOPED_TRACE(b.Datei.toStdString());
        double px = 0, py = 0, summe = 0;
        for (const Koerper& k : b.Koerper) {
            const double w = k.Richtung * std::numbers::pi / 180;
            const double vx = k.Geschwindigkeit * std::cos(w), vy = k.Geschwindigkeit * std::sin(w);
            px += k.Masse * vx;
            py += k.Masse * vy;
            summe += k.Masse * k.Geschwindigkeit;
            // Angular momentum about the centre of mass at the origin; the
            // figure-eight's bodies do not circle it.
            if (b.Datei != QStringLiteral("achterbahn.plv") && std::hypot(k.X, k.Y) > 0.01 * MeterProAE) {
                EXPECT_GT(k.X * vy - k.Y * vx, 0) << k.NameText().trimmed().toStdString();
            }
        }
        EXPECT_LT(std::hypot(px, py), 1e-12 * summe);
    }
}

TEST(Beispiele, InnerPlanetsComeBackAfterOnePeriod)
{
    Lauf l(QStringLiteral("innere_planeten.plv"));
    const size_t sonne = l.Index(QStringLiteral("Sonne"));
    struct Planet {
        size_t i;
        double r;
        int periode;
    };
    std::vector<Planet> planeten;
    for (const char* name : {"Merkur", "Venus", "Erde"}) {
        const size_t i = l.Index(QString::fromUtf8(name));
        const double r = Abstand(l.Start(i), l.Start(sonne));
        const double masse = l.mod.KoerperStart[sonne].Masse + l.mod.KoerperStart[i].Masse;
        planeten.push_back({i, r, Schritte(Umlaufzeit(r, masse))});
    }
    EXPECT_EQ(planeten.back().periode, 730) << "a year of half days";

    std::vector<int> halt;
    for (const Planet& p : planeten)
        halt.insert(halt.end(), {p.periode / 2, p.periode});
    std::sort(halt.begin(), halt.end());
    for (int n : halt) {
        l.Bis(n);
        for (const Planet& p : planeten) {
            SCOPED_TRACE(l.mod.KoerperStart[p.i].NameText().trimmed().toStdString());
            if (n == p.periode / 2) {
                EXPECT_GT(Abstand(l.Jetzt(p.i), l.Start(p.i)), 1.9 * p.r) << "half way round";
            }
            if (n == p.periode) {
                EXPECT_LT(Abstand(l.Jetzt(p.i), l.Start(p.i)), 0.02 * p.r);
            }
        }
    }
    EXPECT_LE(l.flaeche.Weitestes, 1.0);
}

TEST(Beispiele, FigureEightClosesAfterOnePeriod)
{
    Lauf l(QStringLiteral("achterbahn.plv"));
    // The length unit and the mass are read from the file.
    const double laenge = Abstand(l.Start(0), l.Start(2)) / std::hypot(Acht::X, Acht::Y);
    const double masse = l.mod.KoerperStart[0].Masse;
    const double zeiteinheit = std::sqrt(laenge * laenge * laenge / (GravitationsParameter * masse));
    const int periode = Schritte(Acht::Periode * zeiteinheit);

    // All three run along the same curve a third of a period apart.
    l.Bis(periode / 3);
    for (size_t i = 0; i < 3; ++i) {
        double naechster = 1e300;
        for (size_t j = 0; j < 3; ++j)
            if (j != i)
                naechster = std::min(naechster, Abstand(l.Jetzt(i), l.Start(j)));
        EXPECT_LT(naechster, 0.02 * laenge) << "body " << i + 1 << " on another's place";
    }
    l.Bis(periode);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_LT(Abstand(l.Jetzt(i), l.Start(i)), 0.01 * laenge) << "body " << i + 1;
    EXPECT_LE(l.flaeche.Weitestes, 1.0);
}

TEST(Beispiele, NothingLeavesTheSectionAndNothingIsLost)
{
    // A year and a bit: longer than every period in the examples.
    const int schritte = 800;
    for (const Beispiel& b : Beispiele()) {
        SCOPED_TRACE(b.Datei.toStdString());
        Lauf l(b.Datei);
        l.Bis(schritte);
        EXPECT_LE(l.flaeche.Weitestes, 1.0);
        EXPECT_GT(l.flaeche.Weitestes, 0.3) << "something moved";
    }

    // The Moon stays with the Earth (the Sun stretches its orbit by about 5%
    // within a year), the planet with the two stars.
    Lauf mond(QStringLiteral("sonne_erde_mond.plv"));
    Lauf doppel(QStringLiteral("doppelstern.plv"));
    const size_t erde = mond.Index(QStringLiteral("Erde")), m = mond.Index(QStringLiteral("Mond"));
    const size_t planet = doppel.Index(QStringLiteral("Planet"));
    const double bahn = std::hypot(doppel.Start(planet).x, doppel.Start(planet).y);
    for (int n = 10; n <= schritte; n += 10) {
        mond.Bis(n);
        doppel.Bis(n);
        EXPECT_NEAR(Abstand(mond.Jetzt(erde), mond.Jetzt(m)), 3.844e8, 0.08 * 3.844e8) << "step " << n;
        EXPECT_NEAR(std::hypot(doppel.Jetzt(planet).x, doppel.Jetzt(planet).y), bahn, 0.03 * bahn)
            << "step " << n;
    }
}

TEST(Beispiele, RingStaysARingForAYear)
{
    // Sixty bodies: the step runs on both threads here.
    Lauf l(QStringLiteral("planetoidenring.plv"));
    ASSERT_GE(l.mod.KoerperStart.size(), 60u);
    const size_t sonne = l.Index(QStringLiteral("Sonne"));
    std::vector<size_t> ring;
    std::vector<double> radius;
    for (size_t i = 0; i < l.mod.KoerperStart.size(); ++i)
        if (l.mod.KoerperStart[i].NameText().startsWith(QStringLiteral("Planetoid"))) {
            ring.push_back(i);
            radius.push_back(Abstand(l.Start(i), l.Start(sonne)));
        }
    ASSERT_EQ(ring.size(), 60u);
    EXPECT_GT(*std::min_element(radius.begin(), radius.end()), 0.4 * MeterProAE);
    EXPECT_LT(*std::max_element(radius.begin(), radius.end()), 0.9 * MeterProAE);

    for (int n = 73; n <= 730; n += 73) {
        l.Bis(n);
        for (size_t k = 0; k < ring.size(); ++k) {
            const double r = Abstand(l.Jetzt(ring[k]), l.Jetzt(sonne));
            EXPECT_NEAR(r, radius[k], 0.03 * radius[k]) << "Planetoid " << k + 1 << ", step " << n;
        }
    }
    EXPECT_LE(l.flaeche.Weitestes, 1.0);
}
