// A film of 1,000 frames of 1280 x 720 of the inner planets at half a day
// per step, with the default overlays (days, dots, scale bar): the frames
// alone, and the frames encoded to MP4, from kept strokes; and the whole
// film with the steps computed as it goes.
#include "benchlauf.h"

#include "model/koerperdatei.h"
#include "sim/aufbau.h"
#include "sim/berechnung.h"
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

// Keeps each step's strokes, as the run hands them out.
class Sammler : public Zeichenflaeche {
public:
    std::vector<Strich> striche;
    void Cls() override {}
    void Scale(double, double, double, double) override {}
    float ScaleWidth() const override { return 1; }
    float ScaleHeight() const override { return 1; }
    void Line(float, float, float, float, int32_t) override {}
    void PSet(float, float, int32_t) override {}
    void Striche(const Strich* s, std::size_t n) override { striche.assign(s, s + n); }
};

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
    KoerperSimAufbauen(mod);
    return mod;
}

struct Schritt {
    std::vector<Strich> striche;
    KoerperSatz nachher;
};

const std::vector<Schritt>& Gerechnet()
{
    static const std::vector<Schritt> schritte = [] {
        ModPlavo mod = InnerePlaneten();
        Rechenwerk werk;
        int32_t schrittzahl = 0;
        std::vector<Schritt> s;
        for (int i = 0; i < Bilder - 1; ++i) {
            Sammler sammler;
            werk.Schritt(mod.KoerperSim, mod.Intervall, schrittzahl, sammler);
            s.push_back({sammler.striche, mod.KoerperSim});
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
        benchmark::DoNotOptimize(bild.Bild(mod.KoerperSim, 0, Ueberlagen));
        for (std::size_t i = 0; i < schritte.size(); ++i) {
            bild.Striche(schritte[i].striche.data(), schritte[i].striche.size());
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
        Filmaufnahme film(Mp4(ordner, mod), Bereich, 1, Ueberlagen);
        film.Beginnen(mod.KoerperSim, 0, mod.Intervall);
        for (std::size_t i = 0; i < schritte.size(); ++i)
            film.Schritt(schritte[i].striche.data(), schritte[i].striche.size(), schritte[i].nachher,
                         int32_t(i + 1), mod.Intervall);
        if (film.Beenden() || film.Bilder() != Bilder)
            state.SkipWithError("the film was not written");
        state.counters["MB"] = double(QFileInfo(ordner.filePath(QStringLiteral("film.mp4"))).size()) / 1e6;
    }
}

void BM_FilmMp4MitSchritten(benchmark::State& state)
{
    for (auto _ : state) {
        ModPlavo mod = InnerePlaneten();
        QTemporaryDir ordner;
        Filmaufnahme film(Mp4(ordner, mod), Bereich, 1, Ueberlagen);
        Rechenwerk werk;
        int32_t schrittzahl = 0;
        film.Beginnen(mod.KoerperSim, 0, mod.Intervall);
        for (int i = 1; i < Bilder; ++i) {
            Sammler sammler;
            werk.Schritt(mod.KoerperSim, mod.Intervall, schrittzahl, sammler);
            film.Schritt(sammler.striche.data(), sammler.striche.size(), mod.KoerperSim, schrittzahl, mod.Intervall);
        }
        if (film.Beenden() || film.Bilder() != Bilder)
            state.SkipWithError("the film was not written");
    }
}

}  // namespace

BENCHMARK(BM_FilmBilder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FilmMp4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FilmMp4MitSchritten)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    // The overlays' text needs the platform's fonts.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    return BenchmarksLaufen(argc, argv);
}
