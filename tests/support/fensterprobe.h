// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on scripted dialogs, message boxes and timer, with a
// temporary folder for real body files. The table window and the end of the
// program are only counted.

#include "mainwindow/frmplavo.h"
#include "model/koerperdatei.h"
#include "support/skriptdialog.h"
#include "support/koerperbau.h"
#include "support/skriptzeitgeber.h"
#include "view/picplavo.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class FensterProbe : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    SkriptZeitgeber tim;
    int tabelleGezeigt = 0;
    int beendet = 0;
    std::function<void()> inDerTabelle;   // what the user does while the table is shown
    std::unique_ptr<FrmPlavo> frm;

    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        FrmPlavoDienste d;
        d.cdgPlavo = &cdg;
        d.rueckfragen = &frage;
        d.timPlavo = &tim;
        d.tabelleZeigen = [this] {
            ++tabelleGezeigt;
            if (inDerTabelle)
                inDerTabelle();
        };
        d.programmBeenden = [this] { ++beendet; };
        frm = std::make_unique<FrmPlavo>(dok, d);
    }

    QString Pfad(const QString& name) const { return ordner.filePath(name); }

    static Koerper K(const char* name, double masse, double xAE, double yAE, double v, double richtung, int32_t farbe)
    {
        return NeuerKoerper(QString::fromUtf8(name), masse, xAE * 1.5e11, yAE * 1.5e11, v, richtung, farbe);
    }
    static KoerperSatz Sonnensystem()
    {
        return {K("Sonne", 332946, 0, 0, 0, 0, 0x00FFFF), K("Erde", 1, 0.5, 0, 42000, 90, 0xFF0000)};
    }
    static KoerperSatz Zwillinge()
    {
        return {K("Castor", 300000, -0.3, 0, 15000, 270, 0x0000FF), K("Pollux", 300000, 0.3, 0, 15000, 90, 0x00FF00),
                K("Staub", 0.001, 0, 0.8, 30000, 180, 0x808080)};
    }

    QString Datei(const QString& name, const KoerperSatz& koerper)
    {
        const QString p = Pfad(name);
        EXPECT_TRUE(KoerperdateiSchreiben(p, koerper).ok());
        return p;
    }
    QString Rohdatei(const QString& name, const QByteArray& bytes)
    {
        const QString p = Pfad(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }
    static QByteArray Inhalt(const QString& pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
    }

    // Opens `pfad` on an unchanged document.
    void Oeffnen(const QString& pfad)
    {
        cdg.Antworten.push_back(pfad);
        frm->menOeffnen_Click();
    }
    // The window on screen (offscreen), running `koerper` from lauf.plv with
    // `schritte` steps drawn.
    void LaufMitBild(const KoerperSatz& koerper, int schritte)
    {
        frm->show();
        Oeffnen(Datei(QStringLiteral("lauf.plv"), koerper));
        frm->menStart_Click();
        tim.Ticken(schritte);
        ASSERT_EQ(frm->Schrittzahl(), schritte);
        ASSERT_GT(NichtWeiss(), 0);
        cdg.Aufrufe.clear();
    }
    // A commit of the table with the first mass changed.
    void Aendern()
    {
        KoerperSatz k = mod.KoerperStart;
        k[0].Masse += 1;
        dok.KoerperUebernehmen(k);
    }

    QAction* Menue(const char* name) const { return frm->Menue(QString::fromUtf8(name)); }
    QString Titel() const { return frm->windowTitle(); }

    int NichtWeiss() const
    {
        const QImage& bild = frm->picPlavo().Flaeche().Image();
        int n = 0;
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x)
                n += (bild.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }
};
