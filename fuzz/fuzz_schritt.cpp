// SPDX-License-Identifier: GPL-3.0-or-later
// Building the working set and a few steps with drawing, on arbitrary bodies
// (NaN, infinities, huge and tiny values), an arbitrary interval, a small
// image and an arbitrary visible section.
//
// Properties:
//  - the build is all or nothing: on a fault the working set is unchanged,
//    otherwise it copies the document set and its displacements are finite;
//  - a step is all or nothing: on a fault the bodies, the step count and the
//    caption are unchanged and it gives no strokes to draw; otherwise the
//    count grows by one, every new value is finite, there is a stroke per
//    body and the caption is the step's caption;
//  - drawing stays inside the image, whatever the coordinates;
//  - the same start gives the same bits and the same picture again (the
//    redraw replays the run and relies on this);
//  - every kernel the processor has, on one thread and shared with the
//    helper, gives the velocity pass the literal loop's bits and faults.

#include "pruefen.h"
#include "sim/aufbau.h"
#include "mainwindow/titel.h"
#include "sim/berechnung.h"
#include "sim/kernwahl.h"
#include "view/bildflaeche.h"

#include <QRect>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Takes values from the front of the input; an exhausted input gives zeros.
class Leser {
public:
    Leser(const uint8_t* daten, size_t groesse)
        : p_(daten)
        , rest_(groesse)
    {
    }

    bool Leer() const { return rest_ == 0; }

    uint8_t Byte()
    {
        if (rest_ == 0)
            return 0;
        --rest_;
        return *p_++;
    }

    template <typename T>
    T Roh()
    {
        uint8_t b[sizeof(T)] = {};
        for (auto& x : b)
            x = Byte();
        T wert;
        std::memcpy(&wert, b, sizeof wert);
        return wert;
    }

    // One byte picks a telling value, or says that eight raw bytes follow.
    double Wert()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        static constexpr double besondere[] = {
            0.0, -0.0, 1.0, -1.0, 2.0, 0.5, 90.0, 1.5e11, -1.5e11, 3e4, 333000.0,
            1e308, -1e308, std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
            std::numeric_limits<double>::denorm_min(), 1e-300, 1e154, inf, -inf,
            std::numeric_limits<double>::quiet_NaN(),
        };
        constexpr size_t anzahl = sizeof besondere / sizeof besondere[0];
        const uint8_t wahl = Byte();
        return wahl < anzahl ? besondere[wahl] : Roh<double>();
    }

private:
    const uint8_t* p_;
    size_t rest_;
};

uint64_t Bits(double d)
{
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

struct Eingabe {
    KoerperSatz koerper;
    double intervall = 2.0;
    int schritte = 1;
    int32_t schrittzahl = 0;
    QSize groesse{16, 16};
    double x1 = -1, y1 = -1, x2 = 1, y2 = 1;
};

Eingabe Zerlegen(const uint8_t* daten, size_t groesse)
{
    Leser l(daten, groesse);
    Eingabe e;
    const uint8_t steuer = l.Byte();
    e.schritte = 1 + l.Byte() % 8;
    e.groesse = QSize(1 + l.Byte() % 48, 1 + l.Byte() % 48);
    e.intervall = l.Wert();
    // Near the end of the counter the step must refuse instead of wrapping.
    if (steuer & 2)
        e.schrittzahl = std::numeric_limits<int32_t>::max() - (steuer >> 4) % 4;
    if (steuer & 1) {
        e.x1 = l.Wert();
        e.y1 = l.Wert();
        e.x2 = l.Wert();
        e.y2 = l.Wert();
    }
    while (e.koerper.size() < 12 && (e.koerper.empty() || !l.Leer())) {
        Koerper k;
        k.Masse = l.Wert();
        k.X = l.Wert();
        k.Y = l.Wert();
        k.Geschwindigkeit = l.Wert();
        k.Richtung = l.Wert();
        k.Farbe = l.Roh<int32_t>();
        e.koerper.push_back(k);
    }
    return e;
}

struct Ergebnis {
    KoerperSatz sim;
    int32_t schrittzahl;
    QImage bild;
};

Ergebnis Laufen(const Eingabe& e, const KoerperSatz& anfang)
{
    Laufstand stand;
    stand.KoerperSim = anfang;
    stand.Intervall = e.intervall;
    stand.Schrittzahl = e.schrittzahl;
    const QString dateiName = QStringLiteral("/tmp/x.plv");
    BildFlaeche flaeche;
    flaeche.GroesseSetzen(e.groesse);
    flaeche.Scale(e.x1, e.y1, e.x2, e.y2);
    flaeche.GeaendertNehmen();
    Rechenwerk werk;

    for (int s = 0; s < e.schritte; ++s) {
        const Laufstand vorher = stand;
        std::optional<QString> titel;
        // Drawn as the picture draws a step: every stroke it gave back.
        const Schrittergebnis ergebnis = werk.Schritt(stand);
        flaeche.Striche(ergebnis.striche);
        if (ergebnis.fehler == KeinFehler)
            titel = TitelText(stand.Schrittzahl, stand.Intervall, dateiName);
        const QRect geaendert = flaeche.GeaendertNehmen();
        PRUEFEN(geaendert.isEmpty() || QRect(QPoint(0, 0), e.groesse).contains(geaendert));
        if (ergebnis.fehler != KeinFehler) {
            PRUEFEN(BitGleich(stand, vorher));
            PRUEFEN(ergebnis.striche.empty());
            PRUEFEN(geaendert.isEmpty());
            PRUEFEN(!titel);
            if (vorher.Schrittzahl == std::numeric_limits<int32_t>::max())
                PRUEFEN(ergebnis.fehler & FehlerZaehlerUeberlauf);
            break;
        }
        PRUEFEN(stand.Schrittzahl == vorher.Schrittzahl + 1);
        PRUEFEN(stand.KoerperSim.size() == vorher.KoerperSim.size());
        PRUEFEN(ergebnis.striche.size() == vorher.KoerperSim.size());
        for (const Koerper& k : stand.KoerperSim)
            PRUEFEN(std::isfinite(k.X) && std::isfinite(k.Y) && std::isfinite(k.Vx()) && std::isfinite(k.Vy()));
        PRUEFEN(titel && *titel == TitelText(stand.Schrittzahl, stand.Intervall, dateiName));
        PRUEFEN(titel->startsWith(QStringLiteral("Plavo - [x.plv] - ")) && titel->endsWith(QStringLiteral(" Tage")));
    }
    return {stand.KoerperSim, stand.Schrittzahl, flaeche.Image()};
}

// The velocity pass of `koerper`, repeated `mal` times one after the other
// (repeats stand on each other: coincident groups, and more rows than one
// group of the widest kernel), through the reference and through every kernel.
void KerneVergleichen(const KoerperSatz& koerper, size_t mal, double intervall)
{
    const size_t n = koerper.size() * mal;
    std::vector<double> x(n), y(n), m(n), vx(n), vy(n);
    for (size_t i = 0; i < n; ++i) {
        const Koerper& k = koerper[i % koerper.size()];
        x[i] = k.X;
        y[i] = k.Y;
        m[i] = k.Masse;
        vx[i] = k.Vx();
        vy[i] = k.Vy();
    }
    const double dt = intervall * 86400.0;
    const double K = dt * dt * GravitationsParameter;
    std::vector<double> sollX = vx, sollY = vy;
    FlagsLoeschen();
    GeschwindigkeitenReferenz(n, x.data(), y.data(), m.data(), sollX.data(), sollY.data(), K);
    const unsigned sollFehler = FlagsAlsFehler();
    auto gleich = [](const std::vector<double>& a, const std::vector<double>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (Bits(a[i]) != Bits(b[i]) && !(std::isnan(a[i]) && std::isnan(b[i])))
                return false;
        return true;
    };
    for (const Befehlssatz satz : {Befehlssatz::Skalar, Befehlssatz::Avx2, Befehlssatz::Avx512}) {
        if (!BefehlssatzVerfuegbar(satz))
            continue;
        for (const Aufteilung aufteilung : {Aufteilung::Allein, Aufteilung::Geteilt}) {
            std::vector<double> istX = vx, istY = vy;
            FlagsLoeschen();
            const unsigned fehler = GeschwindigkeitenMit(satz, aufteilung, n, x.data(), y.data(), m.data(),
                                                         istX.data(), istY.data(), K);
            PRUEFEN(fehler == sollFehler);
            PRUEFEN(gleich(istX, sollX) && gleich(istY, sollY));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    const Eingabe e = Zerlegen(daten, groesse);

    Laufstand gebaut;
    gebaut.KoerperSim = KoerperSatz(e.koerper.size());
    gebaut.Intervall = -e.intervall;
    const Laufstand vorher = gebaut;
    const unsigned fehler = KoerperSimAufbauen(e.koerper, e.intervall, gebaut);
    if (fehler != KeinFehler) {
        PRUEFEN(BitGleich(gebaut, vorher));
        // The step also meets what a build would refuse: an opened file's
        // motion fields and a resumed run are stepped without a new build.
        gebaut.KoerperSim = e.koerper;
    } else {
        PRUEFEN(gebaut.KoerperSim.size() == e.koerper.size());
        PRUEFEN(Bits(gebaut.Intervall) == Bits(e.intervall));
        for (size_t i = 0; i < e.koerper.size(); ++i) {
            const Koerper& s = e.koerper[i];
            const Koerper& k = gebaut.KoerperSim[i];
            PRUEFEN(k.Name == s.Name && Bits(k.Masse) == Bits(s.Masse) && Bits(k.X) == Bits(s.X)
                    && Bits(k.Y) == Bits(s.Y) && k.Farbe == s.Farbe);
            PRUEFEN(std::isfinite(k.Vx()) && std::isfinite(k.Vy()));
        }
    }

    KerneVergleichen(gebaut.KoerperSim, 1, e.intervall);
    KerneVergleichen(gebaut.KoerperSim, 4, e.intervall);

    const Ergebnis erster = Laufen(e, gebaut.KoerperSim);
    const Ergebnis zweiter = Laufen(e, gebaut.KoerperSim);
    PRUEFEN(BitGleich(erster.sim, zweiter.sim));
    PRUEFEN(erster.schrittzahl == zweiter.schrittzahl);
    PRUEFEN(erster.bild == zweiter.bild);
    return 0;
}
