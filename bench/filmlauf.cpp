// SPDX-License-Identifier: GPL-3.0-or-later
// Films made through the main window, as a user makes them.
//
//   build/bench/plavo_filmlauf live [bodies=100] [steps=2000] [film [k=1]]
//       The run at Verzögerungszeit 1 for that many steps, with "film" while
//       recording every k-th step to a 1920 x 1080 MP4. Prints the run's
//       steps per second up to Anhalten and the processor time the window's
//       thread spent on each, and then, separately, how long the film took
//       to finish behind it. Run it with and without "film" in turn and
//       compare: what the recording costs the run.
//   build/bench/plavo_filmlauf rechnen [frames=1000]
//       "Film rechnen" of innere_planeten.plv to a 1280 x 720 MP4, from the
//       menu until the film is closed.
//
// Offscreen unless a display is chosen; the film goes to a temporary folder.

#include "mainwindow/filmbefehle.h"
#include "mainwindow/frmplavo.h"
#include "mainwindow/zeitgeber.h"
#include "planetensystem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The processor time of the calling thread: the window's, which runs the
// simulation and hands the film its strokes, whatever other threads take.
double FadenSekunden()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

int Zahl(int argc, char** argv, int i, int vorgabe)
{
    return argc > i ? std::atoi(argv[i]) : vorgabe;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool rechnen = argc > 1 && std::strcmp(argv[1], "rechnen") == 0;
    QTemporaryDir ordner;
    Filmwahl wahl;
    wahl.Format = Filmformat::Mp4;
    wahl.Ziel = ordner.filePath(QStringLiteral("film.mp4"));

    Dokument dok;
    FrmPlavoDienste dienste;
    dienste.programmBeenden = [] {};
    dienste.filmFragen = [&wahl](Filmdialog&) { return std::optional<Filmwahl>(wahl); };
    FrmPlavo frm(dok, dienste);
    frm.show();
    QApplication::processEvents();
    QElapsedTimer uhr;

    if (rechnen) {
        const int bilder = Zahl(argc, argv, 2, 1000);
        if (!frm.DateiOeffnen(QStringLiteral(PLAVO_BEISPIELORDNER "/innere_planeten.plv")))
            return 1;
        QApplication::processEvents();
        wahl.Ablauf = Filmwahl::Art::Rechnen;
        wahl.Groesse = Filmgroesse::Hd720;
        wahl.Schritte = bilder - 1;
        uhr.start();
        frm.menFilm_Click();
        while (frm.film().Rechnet())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
        std::printf("Film rechnen: %d Schritte, 1280 x 720 MP4 (%.1f MB) in %.2f s\n", frm.Schrittzahl(),
                    double(QFileInfo(wahl.Ziel).size()) / 1e6, sekunden);
        return frm.Schrittzahl() == bilder - 1 ? 0 : 1;
    }

    const int koerper = Zahl(argc, argv, 2, 100);
    const int32_t schritte = Zahl(argc, argv, 3, 2000);
    const bool film = argc > 4 && std::strcmp(argv[4], "film") == 0;
    const ModPlavo system = Planetensystem(koerper);
    dok.KoerperUebernehmen(system.KoerperStart);
    dok.IntervallSetzen(system.Intervall);
    frm.timPlavo().SetInterval(1);
    wahl.Groesse = Filmgroesse::Hd1080;
    wahl.SchritteProBild = Zahl(argc, argv, 5, 1);
    QApplication::processEvents();

    QTimer wache;
    wache.setInterval(1);
    QObject::connect(&wache, &QTimer::timeout, [&] {
        // Not quit(): that would close the window, which asks about the changed bodies.
        if (frm.Schrittzahl() >= schritte)
            QCoreApplication::exit(0);
    });
    wache.start();
    uhr.start();
    const double faden0 = FadenSekunden();
    if (film)
        frm.menFilm_Click();
    else
        frm.menStart_Click();
    app.exec();
    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
    const double faden = FadenSekunden() - faden0;
    // Anhalten leaves the frames still pending to the worker; the film is
    // closed once they are written.
    uhr.restart();
    frm.menStop_Click();
    int ausstehend = 0;
    if (const Filmfertigstellung* f = frm.film().Fertigstellung())
        ausstehend = f->Fortschritt()->maximum() - f->Fortschritt()->value();
    while (frm.film().Aufnahme())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double fertigstellen = double(uhr.nsecsElapsed()) / 1e9;
    std::printf("%d Körper, %d Schritte%s: %.1f Schritte/s", koerper, frm.Schrittzahl(),
                film ? qPrintable(QStringLiteral(", Film 1920 x 1080, ein Bild alle %1 Schritte").arg(wahl.SchritteProBild)) : "",
                double(frm.Schrittzahl()) / sekunden);
    std::printf(", %.0f µs Prozessorzeit des Fensterfadens je Schritt", faden * 1e6 / std::max(1, frm.Schrittzahl()));
    if (film)
        std::printf("; danach %d Bilder fertiggestellt in %.2f s", ausstehend, fertigstellen);
    std::printf("\n");
    if (film && !QFileInfo::exists(wahl.Ziel))
        return 1;
    return 0;
}
