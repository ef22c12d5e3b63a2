// SPDX-License-Identifier: GPL-3.0-or-later
#include "beispiele.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#ifndef PLAVO_BEISPIELE_RELATIV
#define PLAVO_BEISPIELE_RELATIV "../share/plavo/examples"
#endif

namespace {
struct Bekannt {
    const char* datei;
    const char* titel;
};
// From the simplest system to the busiest one.
constexpr Bekannt BekannteBeispiele[] = {
    {"innere_planeten.plv", "&Innere Planeten"},
    {"sonne_erde_mond.plv", "&Sonne, Erde und Mond"},
    {"doppelstern.plv", "&Doppelstern mit Planet"},
    {"achterbahn.plv", "D&rei Sterne auf einer Acht"},
    {"planetoidenring.plv", "&Planetoidenring"},
    {"trojaner.plv", "Sonne, &Jupiter und Trojaner"},
};
}  // namespace

QString BeispielOrdner(const QString& programmOrdner)
{
    const QString ordner =
        QDir::cleanPath(QDir(programmOrdner).absoluteFilePath(QStringLiteral(PLAVO_BEISPIELE_RELATIV)));
    return BeispieleIn(ordner).empty() ? QString() : ordner;
}

std::vector<Beispieldatei> BeispieleIn(const QString& ordner)
{
    std::vector<Beispieldatei> gefunden;
    if (ordner.isEmpty())
        return gefunden;
    const QDir dir(ordner);
    for (const Bekannt& b : BekannteBeispiele) {
        const QFileInfo datei(dir.filePath(QString::fromUtf8(b.datei)));
        if (datei.isFile() && datei.isReadable())
            gefunden.push_back({QString::fromUtf8(b.titel), datei.absoluteFilePath()});
    }
    return gefunden;
}

void BeispielmenueFuellen(QMenu& menue, const std::vector<Beispieldatei>& beispiele,
                          const std::function<void(const QString&)>& oeffnen)
{
    menue.clear();
    for (const Beispieldatei& b : beispiele) {
        QAction* a = menue.addAction(b.Titel);
        a->setData(b.Pfad);
        QObject::connect(a, &QAction::triggered, &menue, [oeffnen, pfad = b.Pfad] { oeffnen(pfad); });
    }
    menue.menuAction()->setEnabled(!beispiele.empty());
}
