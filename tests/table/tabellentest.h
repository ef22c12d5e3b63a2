// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table window on the Qt grid with scripted input boxes and colour dialog,
// in a German locale, over a document set the test builds.

#include "support/koerperbau.h"
#include "model/dokument.h"
#include "model/koerperdatei.h"
#include "support/skriptdialog.h"
#include "table/frmtabelle.h"
#include "table/gitter.h"
#include "table/qtgitter.h"

#include <QHeaderView>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

// Double-clicks cell (r, c) of a shown grid with the mouse; row 0 and
// column 0 are the headers.
inline void GitterDoppelklick(QtGitter& q, int r, int c)
{
    if (r == 0) {
        QHeaderView* kopf = q.horizontalHeader();
        QTest::mouseDClick(kopf->viewport(), Qt::LeftButton, {},
                           QPoint(kopf->sectionViewportPosition(c - 1) + 3, kopf->height() / 2));
    } else if (c == 0) {
        QHeaderView* kopf = q.verticalHeader();
        QTest::mouseDClick(kopf->viewport(), Qt::LeftButton, {},
                           QPoint(kopf->width() / 2, kopf->sectionViewportPosition(r - 1) + 3));
    } else {
        const QModelIndex i = q.Modell().index(r - 1, c - 1);
        q.scrollTo(i);
        QTest::mouseDClick(q.viewport(), Qt::LeftButton, {}, q.visualRect(i).center());
    }
}

class Tabellentest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(alteLocale_); }

    Gitter& g() { return fenster.fgrKoerper(); }

    static Koerper Koerper_(const char* name, double masse, double x, double y, double v, double richtung,
                            int32_t farbe)
    {
        return NeuerKoerper(QString::fromUtf8(name), masse, x, y, v, richtung, farbe);
    }

    // A saved document of three bodies, loaded and shown in the table.
    void DreiKoerperZeigen()
    {
        dok.Laden(QStringLiteral("/tmp/drei.plv"), {Koerper_("Sonne", 332946, 0, 0, 0, 0, 0x00FFFF),
                                                    Koerper_("Erde", 1, 1.5e11, 0, 29780, 90, 0xFF0000),
                                                    Koerper_("Mond", 0.0123, 1.5038e11, 0, 30802, 90.5, 0)});
        fenster.Form_Load();
        fenster.Form_Activate();
    }

    // The colour of cell (r, c), read as the window reads it: through the current cell.
    int32_t Farbe(int r, int c)
    {
        g().RowSetzen(r);
        g().ColSetzen(c);
        return g().CellBackColor();
    }

    // Double-clicks cell (r, c) of the window, shown first if need be.
    void Doppelklick(int r, int c)
    {
        if (!fenster.isVisible()) {
            fenster.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
        }
        GitterDoppelklick(fenster.GitterWidget(), r, c);
    }

    QLocale alteLocale_;
    Dokument dok;
    const ModPlavo& mod = dok.Daten();
    SkriptRueckfragen fragen;
    SkriptStandarddialog cdg;
    FrmTabelle fenster{dok, fragen, cdg, nullptr};
};
