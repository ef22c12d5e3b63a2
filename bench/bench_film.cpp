// SPDX-License-Identifier: GPL-3.0-or-later
// A film of 1,000 frames of 1280 x 720 of the inner planets at half a day
// per step, with the default overlays (days, dots, scale bar): the frames
// alone, and the frames encoded to MP4, from kept strokes; and the whole
// film with the steps computed as it goes.
#include "benchlauf.h"

#include "model/koerperdatei.h"
#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "sim/laufstand.h"
#include "view/filmaufnahme.h"
#include "view/filmschreiber.h"

#include <QGuiApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Bilder = 1000;
const QSize Groesse(1280, 720);
// The inner planets out to Mars, with room around them.
constexpr Ausschnitt Bereich{4, 4, 0, 0};
const Filmueberlagen Ueberlagen{true, true, false, true, {}};

ModPlavo InnerePlaneten()
{
    ModPlavo mod;
    const DateiErgebnis datei = KoerperdateiLesen(QStringLiteral(PLAVO_BEISPIELORDNER "/innere_planeten.plv"));
    if (!datei.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(datei.Fehler));
        std::exit(1);
    }
    mod.KoerperStart = datei.Koerper;
    mod.Intervall = 0.5;
    return mod;
}

struct Schritt {
    std::vector<Strich> striche;
    KoerperSatz nachher;
};

const std::vector<Schritt>& Gerechnet()
{
    static const std::vector<Schritt> schritte = [] {
        const ModPlavo mod = InnerePlaneten();
        Laufstand stand;
        KoerperSimAufbauen(mod, stand);
        Rechenwerk werk;
        std::vector<Schritt> s;
        for (int i = 0; i < Bilder - 1; ++i) {
            const Schrittergebnis e = werk.Schritt(stand);
            s.push_back({{e.striche.begin(), e.striche.end()}, stand.KoerperSim});
        }
        return s;
    }();
    return schritte;
}

std::unique_ptr<Filmschreiber> Mp4(const QTemporaryDir& ordner, const ModPlavo& mod)
{
    Filmvorgabe v;
    v.Ziel = ordner.filePath(QStringLiteral("film.mp4"));
    v.Groesse = Groesse;
    v.Farben = Filmbild::Spurfarben(mod.KoerperStart);
    QString fehler;
    auto s = Filmschreiber::Oeffnen(v, fehler);
    if (!s) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        std::exit(1);
    }
    return s;
}

void BM_FilmBilder(benchmark::State& state)
{
    const ModPlavo mod = InnerePlaneten();
    const auto& schritte = Gerechnet();
    for (auto _ : state) {
        Filmbild bild(Groesse, FilmAusschnitt(Bereich, Groesse));
        benchmark::DoNotOptimize(bild.Bild(mod.KoerperStart, 0, Ueberlagen));
        for (std::size_t i = 0; i < schritte.size(); ++i) {
            bild.Striche(schritte[i].striche);
            benchmark::DoNotOptimize(bild.Bild(schritte[i].nachher, double(i + 1) * mod.Intervall, Ueberlagen));
        }
    }
}

void BM_FilmMp4(benchmark::State& state)
{
    const ModPlavo mod = InnerePlaneten();
    const auto& schritte = Gerechnet();
    for (auto _ : state) {
        QTemporaryDir ordner;
        Filmaufnahme film(Mp4(ordner, mod), Bereich, Ueberlagen);
        film.Bild(mod.KoerperStart, 0);
        for (std::size_t i = 0; i < schritte.size(); ++i) {
            film.Striche(schritte[i].striche);
            film.Bild(schritte[i].nachher, double(i + 1) * mod.Intervall);
        }
        if (film.Beenden() || film.Bilder() != Bilder)
            state.SkipWithError("the film was not written");
        state.counters["MB"] = double(QFileInfo(ordner.filePath(QStringLiteral("film.mp4"))).size()) / 1e6;
    }
}

}  // namespace

BENCHMARK(BM_FilmBilder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FilmMp4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    // The overlays' text needs the platform's fonts.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    return BenchmarksLaufen(argc, argv);
}
