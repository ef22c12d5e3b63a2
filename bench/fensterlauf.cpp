// SPDX-License-Identifier: GPL-3.0-or-later
// The main window running a large system on its own timer, as a user has it:
// how long the user-interface thread is ever blocked, and how many steps a
// second the run makes. A heartbeat timer (5 ms) on the user-interface thread
// notes the longest gap between its beats; the gap less 5 ms is the longest
// time nothing else could run there (painting, menus, keys).
//
//   build/bench/plavo_fensterlauf [bodies=32767] [steps=50] [energie]
//
// With "energie" the Energiebilanz window is open the whole time. The system
// is a star and a ring of planets (Planetensystem), at Verzögerungszeit 1.
// The source only uses what the window offered before the run had an owner
// of its own, so it builds against older versions too, for a comparison on
// the same machine in the same run.

#include "mainwindow/frmplavo.h"
#include "mainwindow/zeitgeber.h"
#include "planetensystem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <class F>
int32_t Schritte(const F& f)
{
    if constexpr (requires { f.Schrittzahl(); })
        return f.Schrittzahl();
    else
        return f.Schrittzahl;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int koerper = argc > 1 ? std::atoi(argv[1]) : 32767;
    const int32_t schritte = argc > 2 ? std::atoi(argv[2]) : 50;
    const bool energie = argc > 3 && std::strcmp(argv[3], "energie") == 0;

    Dokument dok;
    FrmPlavo frm(dok);
    frm.show();
    const ModPlavo system = Planetensystem(koerper);
    dok.KoerperUebernehmen(system.KoerperStart);
    dok.IntervallSetzen(system.Intervall);
    frm.timPlavo().SetInterval(1);
    if (energie)
        frm.menEnergie_Click();
    QApplication::processEvents();

    // Measured from the first step shown on: the first one also chooses the kernel.
    constexpr qint64 Schlag = 5;
    QElapsedTimer uhr, seitSchlag;
    qint64 laengste = 0;
    int32_t ab = -1;
    QTimer herz;
    herz.setTimerType(Qt::PreciseTimer);
    herz.setInterval(int(Schlag));
    QObject::connect(&herz, &QTimer::timeout, [&] {
        const int32_t n = Schritte(frm);
        if (ab < 0 && n >= 1) {
            ab = n;
            uhr.start();
        } else if (ab >= 0) {
            laengste = std::max(laengste, seitSchlag.nsecsElapsed());
        }
        seitSchlag.start();
        if (ab >= 0 && n >= ab + schritte)
            QCoreApplication::exit(0);   // quit() would close the window, which asks to save
    });
    seitSchlag.start();
    herz.start();
    frm.menStart_Click();
    app.exec();

    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
    const double blockiert = std::max(0.0, double(laengste) / 1e6 - double(Schlag));
    std::printf("%d Körper, %d Schritte%s: %.3f Schritte/s, längste Blockade %.1f ms\n", koerper,
                Schritte(frm) - ab, energie ? ", Energiebilanz offen" : "", double(Schritte(frm) - ab) / sekunden,
                blockiert);
    frm.menStop_Click();
    return 0;
}
