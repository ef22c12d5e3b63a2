// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files through the real Open command (scripted dialog): each one is
// either refused with a message, leaving the document as it was, or opened
// and simulated, a fault stopping the run with a message. Reading never
// creates or changes a file.

#include "model/codepage1252.h"
#include "support/fensterprobe.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Unendlich = std::numeric_limits<double>::infinity();

Koerper Roh(double masse, double x, double y, double v, double richtung)
{
    return NeuerKoerper(QStringLiteral("feindlich"), masse, x, y, v, richtung, 0xFF);
}

class FeindlicheDateien : public FensterProbe {
protected:
    // Everything in the folder: kind, size, time of change and, for small
    // regular files, a hash of the content.
    std::map<QString, QString> Bestand() const
    {
        std::map<QString, QString> b;
        QDirIterator it(ordner.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString p = it.next();
            const QFileInfo i = it.fileInfo();
            QString s = QStringLiteral("%1 %2 %3").arg(i.isSymLink() ? 'l' : i.isDir() ? 'd' : i.isFile() ? 'f' : 's')
                            .arg(i.isSymLink() ? 0 : i.size())
                            .arg(i.lastModified().toMSecsSinceEpoch());
            if (i.isFile() && !i.isSymLink() && i.size() < (64 << 20)) {
                QFile f(p);
                if (f.open(QIODevice::ReadOnly))
                    s += QLatin1Char(' ') + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
            }
            b[QDir(ordner.path()).relativeFilePath(p)] = s;
        }
        return b;
    }

    // A document to lose: a file of two bodies, opened and run for two steps,
    // still running.
    void Vorher()
    {
        LaufMitBild(Sonnensystem(), 2);
        ASSERT_TRUE(frage.Gemeldet.empty());
    }

    // Opens `pfad` and expects a refusal whose message names the file and says `grund`.
    void Abgelehnt(const QString& pfad, const QString& grund)
    {
        SCOPED_TRACE(pfad.toStdString());
        const KoerperSatz start = mod.KoerperStart, sim = frm->lauf().Stand().KoerperSim;
        const QString dateiName = mod.DateiName, titel = Titel();
        const int32_t schritte = frm->Schrittzahl();
        const QImage bild = frm->picPlavo().Flaeche().Image().copy();
        const auto bestand = Bestand();
        frage.Gemeldet.clear();

        Oeffnen(pfad);

        ASSERT_EQ(frage.Gemeldet.size(), 1u);
        const auto& m = frage.Gemeldet[0];
        EXPECT_EQ(m.Titel, QStringLiteral("Plavo"));
        EXPECT_EQ(m.Knoepfe, MsgKnoepfe::OK);
        EXPECT_EQ(m.Symbol, MsgSymbol::Kritisch);
        EXPECT_TRUE(m.Text.contains(QDir::toNativeSeparators(pfad))) << m.Text.toStdString();
        EXPECT_TRUE(m.Text.contains(grund)) << m.Text.toStdString();
        EXPECT_EQ(mod.KoerperStart, start);
        EXPECT_EQ(frm->lauf().Stand().KoerperSim, sim);
        EXPECT_EQ(mod.DateiName, dateiName);
        EXPECT_TRUE(mod.Gespeichert);
        EXPECT_EQ(Titel(), titel);
        EXPECT_EQ(frm->Schrittzahl(), schritte);
        EXPECT_TRUE(tim.Enabled()) << "a refused file does not stop the run";
        EXPECT_EQ(frm->picPlavo().Flaeche().Image(), bild);
        EXPECT_EQ(Bestand(), bestand);
    }

    // Opens `pfad`, which must load `n` bodies, and starts it. Returns after
    // `ticks` steps or at the first message, which must be a stopped run.
    // The result is the number of steps made.
    int GeoeffnetUndSimuliert(const QString& pfad, size_t n, int ticks)
    {
        SCOPED_TRACE(pfad.toStdString());
        const auto bestand = Bestand();
        const QByteArray bytes = Inhalt(pfad);
        frm->menStop_Click();
        frage.Gemeldet.clear();
        Oeffnen(pfad);
        EXPECT_TRUE(frage.Gemeldet.empty());
        EXPECT_EQ(mod.KoerperStart.size(), n);
        EXPECT_EQ(frm->lauf().Stand().KoerperSim.size(), n);
        EXPECT_EQ(BytesAusKoerpern(mod.KoerperStart), bytes.left(qsizetype(n) * DatensatzLaenge));
        EXPECT_EQ(mod.DateiName, pfad);
        EXPECT_EQ(Titel(), QStringLiteral("Plavo - [%1]").arg(QFileInfo(pfad).fileName()));
        EXPECT_EQ(frm->Schrittzahl(), 0);
        EXPECT_EQ(Bestand(), bestand);

        frm->menStart_Click();
        for (int i = 0; i < ticks && frage.Gemeldet.empty(); ++i) {
            const KoerperSatz sim = frm->lauf().Stand().KoerperSim;
            const int32_t schritte = frm->Schrittzahl();
            const QString titel = Titel();
            tim.Ticken();
            // A large system's step comes back from the worker.
            while (frm->lauf().SchrittUnterwegs())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (!frage.Gemeldet.empty()) {
                // All or nothing: the faulty step left no trace.
                EXPECT_EQ(BytesAusKoerpern(frm->lauf().Stand().KoerperSim), BytesAusKoerpern(sim));
                EXPECT_EQ(frm->Schrittzahl(), schritte);
                EXPECT_EQ(Titel(), titel);
            } else {
                EXPECT_EQ(frm->Schrittzahl(), schritte + 1);
            }
        }
        if (!frage.Gemeldet.empty()) {
            EXPECT_EQ(frage.Gemeldet.size(), 1u);
            EXPECT_EQ(frage.Gemeldet[0].Symbol, MsgSymbol::Kritisch);
            EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("Rechenfehler")))
                << frage.Gemeldet[0].Text.toStdString();
            EXPECT_FALSE(tim.Enabled());
        } else {
            EXPECT_TRUE(tim.Enabled());
        }
        EXPECT_EQ(Bestand(), bestand);
        EXPECT_EQ(Inhalt(pfad), bytes);
        return frm->Schrittzahl();
    }
};

}  // namespace

TEST_F(FeindlicheDateien, WhatHoldsNoBodyMoreThan32767OrIsNoFileIsRefused)
{
    Vorher();
    const QByteArray satz = BytesAusKoerpern(Sonnensystem()).left(DatensatzLaenge);
    ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("ordner.plv")));
    ASSERT_EQ(::symlink("nirgends.plv", Pfad(QStringLiteral("verwaist.plv")).toLocal8Bit().constData()), 0);

    Abgelehnt(Rohdatei(QStringLiteral("leer.plv"), {}), QStringLiteral("keinen Körper"));
    Abgelehnt(Rohdatei(QStringLiteral("58.plv"), satz.left(58)), QStringLiteral("keinen Körper"));
    Abgelehnt(Pfad(QStringLiteral("ordner.plv")), QStringLiteral("keine Datei"));
    Abgelehnt(Pfad(QStringLiteral("fehlt.plv")), QStringLiteral("nicht gefunden"));
    Abgelehnt(Pfad(QStringLiteral("verwaist.plv")), QStringLiteral("nicht gefunden"));
    Abgelehnt(QStringLiteral("/dev/null"), QStringLiteral("keine Datei"));
    EXPECT_FALSE(QFileInfo::exists(Pfad(QStringLiteral("fehlt.plv")))) << "reading never creates the file";
    EXPECT_FALSE(QFileInfo::exists(Pfad(QStringLiteral("nirgends.plv"))));

    // More than 32767 records are refused without reading them.
    Abgelehnt(Rohdatei(QStringLiteral("32768.plv"), satz.repeated(MaxKoerper + 1)), QStringLiteral("32767"));
    Abgelehnt(Rohdatei(QStringLiteral("32768_und_rest.plv"), satz.repeated(MaxKoerper + 1) + satz.left(20)),
              QStringLiteral("32767"));

    // Ten gigabytes of holes: refused at once by its size.
    const QString riesig = Pfad(QStringLiteral("riesig.plv"));
    {
        QFile f(riesig);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(10) << 30));
    }
    QElapsedTimer uhr;
    uhr.start();
    Abgelehnt(riesig, QStringLiteral("32767"));
    EXPECT_LT(uhr.elapsed(), 5000);
}

TEST_F(FeindlicheDateien, APipeIsRefusedWithoutWaitingForAWriter)
{
    Vorher();
    const QString rohr = Pfad(QStringLiteral("rohr.plv"));
    ASSERT_EQ(::mkfifo(rohr.toLocal8Bit().constData(), 0600), 0);

    // A guard: should Open ever wait on the pipe, give it an end of file after
    // a while and fail instead of hanging the suite.
    std::atomic<bool> fertig{false}, wartete{false};
    std::thread waechter([&] {
        const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!fertig && std::chrono::steady_clock::now() < frist) {
            const int fd = ::open(rohr.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {   // someone is reading
                wartete = true;
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    Abgelehnt(rohr, QStringLiteral("keine Datei"));
    fertig = true;
    waechter.join();
    EXPECT_FALSE(wartete);
}

TEST_F(FeindlicheDateien, NotANumberInfinitiesAndExtremesSimulateOrStopTheRunWithAMessage)
{
    const Koerper sonne = Roh(332946, 0, 0, 0, 0);
    struct Fall {
        const char* name;
        KoerperSatz koerper;
        int schritte;   // of 5; none: the run stopped with a message
    };
    const Fall faelle[] = {
        // Found by the first step.
        {"nan_masse.plv", {Roh(NaN, 0, 0, 0, 0), Roh(1, 1e11, 0, 3e4, 90)}, 0},
        {"unendliche_masse.plv", {Roh(Unendlich, 0, 0, 0, 0), Roh(1, 1e11, 0, 3e4, 90)}, 0},
        {"nan_lage.plv", {sonne, Roh(1, NaN, 1e11, 0, 0)}, 0},
        {"unendliche_lage.plv", {sonne, Roh(1, 1e11, -Unendlich, 0, 0)}, 0},
        {"nur_unendlich.plv", {Roh(0, Unendlich, Unendlich, 0, 0)}, 0},
        {"1e308.plv", {Roh(1, 1e308, 1e308, 0, 0), Roh(1, -1e308, -1e308, 0, 0)}, 0},   // distances overflow
        {"nah.plv", {Roh(1, 0, 0, 0, 0), Roh(1, 1e-110, 0, 0, 0)}, 0},   // a cube of zero: division by zero
        // Found by the start, which builds the displacements.
        {"nan_geschwindigkeit.plv", {sonne, Roh(1, 1e11, 0, NaN, 90)}, 0},
        {"unendliche_geschwindigkeit.plv", {sonne, Roh(1, 1e11, 0, Unendlich, 90)}, 0},
        {"unendliche_richtung.plv", {sonne, Roh(1, 1e11, 0, 3e4, Unendlich)}, 0},
        {"schnell.plv", {Roh(1, 0, 0, 1e308, 0)}, 0},   // the displacement per step overflows
        // A distance whose square is zero counts as the same place: no force.
        {"winzig.plv", {Roh(1, 0, 0, 0, 0), Roh(1, 5e-324, 0, 0, 0)}, 5},
        // Far out but alone: it moves on, off the picture.
        {"fern.plv", {Roh(1, 1e308, 1e308, 1e3, 45)}, 5},
    };
    for (const Fall& f : faelle) {
        const QString p = Datei(QString::fromUtf8(f.name), f.koerper);
        EXPECT_EQ(GeoeffnetUndSimuliert(p, f.koerper.size(), 5), f.schritte) << f.name;
        EXPECT_EQ(frage.Gemeldet.size(), f.schritte ? 0u : 1u) << f.name;
    }
    EXPECT_EQ(NichtWeiss(), 0);
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [fern.plv] - 10 Tage"));
}

TEST_F(FeindlicheDateien, NamesWithEveryByteValueOpenUnchanged)
{
    QByteArray bytes;
    for (int r = 0; r < 18; ++r) {   // 18 x 15 name bytes cover 0..255
        QByteArray satz(DatensatzLaenge, '\0');
        for (int i = 0; i < 15; ++i)
            satz[i] = char((r * 15 + i) & 0xFF);
        const Koerper k = Roh(r, r * 1e10, 0, 1e3, r * 20);
        satz.replace(15, DatensatzLaenge - 15, BytesAusKoerpern({k}).mid(15));
        bytes += satz;
    }
    const QString p = Rohdatei(QStringLiteral("namen.plv"), bytes);
    frm->show();
    EXPECT_EQ(GeoeffnetUndSimuliert(p, 18, 3), 3);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(mod.KoerperStart[size_t(b / 15)].Name[size_t(b % 15)], ZeichenAusCp1252(uint8_t(b))) << b;
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [namen.plv] - 6 Tage"));

    // Saved elsewhere, every byte comes back.
    cdg.Antworten.push_back(Pfad(QStringLiteral("kopie.plv")));
    frm->menSpUnter_Click();
    EXPECT_EQ(Inhalt(Pfad(QStringLiteral("kopie.plv"))), bytes);
}

TEST_F(FeindlicheDateien, Exactly32767RecordsOpenAndStep)
{
    // Every body at rest at the origin: no pair is apart, so the step is
    // all bookkeeping over 32767^2 pairs.
    const QByteArray satz = BytesAusKoerpern({Roh(1, 0, 0, 0, 0)});
    const QString p = Rohdatei(QStringLiteral("32767.plv"), satz.repeated(MaxKoerper) + satz.left(58));
    EXPECT_EQ(GeoeffnetUndSimuliert(p, size_t(MaxKoerper), 1), 1);
    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [32767.plv] - 2 Tage"));
}
