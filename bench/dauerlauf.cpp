// SPDX-License-Identifier: GPL-3.0-or-later
// A long run: one million steps of three bodies through the run as the
// window's tick drives it (step, drawing, caption), printing the resident memory,
// the heap in use and the bytes of kept strokes as it goes. The strokes are
// kept for the next redraw up to a budget (16 MiB here, so that the run
// outgrows it: 60 bytes a step fill it after about 280 000 steps); apart
// from them memory must stay flat. At the end the window is redrawn at
// the same size, the kept strokes drawn and the rest computed.
//   build/bench/plavo_dauerlauf [steps] [budget in MiB]
// Exit status 1 when the heap in use apart from the kept strokes grew by more
// than 1 MiB after the first tenth of the run, or the strokes took more than
// the budget. The resident memory may still creep by a few hundred KiB while
// the allocator's free lists spread over more pages; it levels off.

#include "mainwindow/titel.h"
#include "sim/lauf.h"
#include "view/bildflaeche.h"
#include "view/laufbild.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <malloc.h>

namespace {

// Anonymous resident memory (heap, stacks): what a leak would make grow.
// File-backed pages (code of the libraries as it is first run) are left out.
long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("RssAnon:", 0) == 0)
            return std::atol(zeile.c_str() + 8);
    return -1;
}

Koerper K(const char* name, double masse, double x, double v, int32_t farbe)
{
    Koerper k;
    k.NameSetzen(QString::fromLatin1(name));
    k.Masse = masse;
    k.X = x;
    k.Geschwindigkeit = v;
    k.Richtung = 90;
    k.Farbe = farbe;
    return k;
}

// Bytes handed out by malloc and not freed: the leak measure that page
// rounding and the allocator's caches do not blur.
long HeapKiB()
{
    const struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    const long schritte = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::size_t budget = std::size_t(argc > 2 ? std::atol(argv[2]) : 16) << 20;

    // Sun, Earth and Mars on nearly circular orbits, one day per step: the
    // trails stay in the section, every step draws.
    ModPlavo mod;
    mod.KoerperStart = {K("Sonne", 333000, 0, 0, 0x00FFFF), K("Erde", 1, 1.496e11, 29780, 0xFF0000),
                        K("Mars", 0.107, 2.279e11, 24070, 0x0000FF)};
    mod.Intervall = 1;
    Arbeiter arbeiter;
    Lauf lauf(mod, arbeiter, budget);
    BildFlaeche flaeche;   // the window's surface at its starting size
    flaeche.GroesseSetzen(QSize(653, 532));
    flaeche.Scale(-2, -2, 2, 2);
    const LaufBild zeichnen(lauf, flaeche);
    if (lauf.Starten() != KeinFehler)
        return 2;

    const long abstand = std::max(1L, schritte / 10);
    QElapsedTimer uhr;
    uhr.start();
    long rssAnfang = 0, heapAnfang = 0;
    const Strichspeicher& speicher = lauf.Speicher();
    auto BehaltenKiB = [&speicher] { return long(speicher.Bytes() / 1024); };
    QString titel;
    std::printf("%10s %12s %12s %14s %10s\n", "Schritte", "RssAnon KiB", "Heap KiB", "Behalten KiB", "Sekunden");
    std::printf("%10d %12ld %12ld %14ld %10.1f\n", 0, ResidentKiB(), HeapKiB(), BehaltenKiB(), 0.0);
    for (long s = 1; s <= schritte; ++s) {
        if (lauf.Schritt() != KeinFehler)
            return 2;
        titel = TitelText(lauf.Schrittzahl(), mod.Intervall, mod.DateiName);
        if (s % abstand == 0) {
            const long rss = ResidentKiB(), heap = HeapKiB(), behalten = BehaltenKiB();
            if (s == abstand) {
                rssAnfang = rss - behalten;
                heapAnfang = heap - behalten;
            }
            std::printf("%10ld %12ld %12ld %14ld %10.1f\n", s, rss, heap, behalten, uhr.elapsed() / 1000.0);
            std::fflush(stdout);
        }
    }
    const long heapZuwachs = HeapKiB() - BehaltenKiB() - heapAnfang;
    std::printf("Titel: %s\n", qPrintable(titel));
    std::printf("Zuwachs nach dem ersten Zehntel ohne die Striche: Heap %ld KiB, RssAnon %ld KiB\n", heapZuwachs,
                ResidentKiB() - BehaltenKiB() - rssAnfang);
    std::printf("Behalten: %d von %ld Schritten, %zu Bytes, Budget %zu Bytes\n", speicher.Schritte(), schritte,
                speicher.Bytes(), budget);

    // A redraw: the kept strokes drawn, the rest computed.
    uhr.restart();
    lauf.NeuzeichnenBeginnen();
    lauf.NeuzeichnungAbschliessen();
    std::printf("Neuzeichnen: %.2f s, %d Schritte\n", uhr.elapsed() / 1000.0, lauf.Schrittzahl());
    return heapZuwachs > 1024 || speicher.Bytes() > budget ? 1 : 0;
}
