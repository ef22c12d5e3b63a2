#include "mainwindow/qtstandarddialog.h"
#include "support/fensterprobe.h"
#include "support/pdfseiten.h"

#include <QApplication>
#include <QPrintDialog>
#include <QTimer>

namespace {
using BildBefehle = FensterProbe;
}

// The menu items reach the export and the printing, which take what the
// surface shows at that moment and leave the run, the picture and the body
// file dialog alone.
TEST_F(BildBefehle, ExportAndPrintTheCurrentPictureWhileTheRunGoesOn)
{
    frm->show();
    Oeffnen(Datei(QStringLiteral("lauf.plv"), Sonnensystem()));
    Menue("menStart")->trigger();
    ASSERT_EQ(tim.Ticken(5), 5);
    const QImage bild = frm->picPlavo().Flaeche().Image();
    ASSERT_GT(NichtWeiss(), 0);

    const QString bmp = Pfad(QStringLiteral("lauf.bmp"));
    cdg.Antworten = {bmp};
    Menue("menBild")->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, bmp) << "the document's name as a bitmap, never the body file";
    EXPECT_EQ(QImage(bmp, "BMP").convertToFormat(QImage::Format_RGB32), bild);

    const QString pdf = Pfad(QStringLiteral("lauf.pdf"));
    cdg.Drucker = std::make_unique<QPrinter>();
    cdg.Drucker->setOutputFormat(QPrinter::PdfFormat);
    cdg.Drucker->setOutputFileName(pdf);
    cdg.Antworten = {QStringLiteral("2")};
    Menue("menDrucken")->trigger();
    EXPECT_EQ(PdfSeitenzahl(pdf), 2);
    // Printed losslessly: every page holds the exported bitmap pixel for pixel
    // (stored as JPEG, the two trails came out in hundreds of blurred colours).
    const QImage exportiert = QImage(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    for (int seite = 1; seite <= 2; ++seite) {
        const std::vector<QImage> bilder = PdfBildobjekte(pdf, seite);
        if (bilder.empty())
            GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
        ASSERT_EQ(bilder.size(), 1u) << seite;
        EXPECT_TRUE(bilder[0].convertToFormat(QImage::Format_RGB32) == exportiert) << "page " << seite;
    }

    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_TRUE(tim.Enabled()) << "neither command stops the run";
    EXPECT_EQ(frm->Schrittzahl, 5);
    EXPECT_EQ(frm->picPlavo().Flaeche().Image(), bild);
    EXPECT_EQ(tim.Ticken(), 1);

    // The bitmap filter stays until a body-file command sets its own.
    EXPECT_EQ(cdg.Filter, QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp"));
    cdg.Antworten = {std::nullopt};
    Menue("menSpUnter")->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().Filter, QStringLiteral("Plavo-Dateien (*.plv)|*.plv"));
    EXPECT_EQ(cdg.Aufrufe.back().DefaultExt, QStringLiteral("*.plv"));
}

// Each kind of file has its own proposal, and the picture never replaces the
// open body file: Enter on a proposed body file would have lost the bodies.
TEST_F(BildBefehle, SaveDialogsProposeTheirOwnKindAndThePictureNeverReplacesTheBodyFile)
{
    frm->show();
    const QString plv = Pfad(QStringLiteral("koerper.plv"));
    cdg.Antworten = {plv};
    Menue("menSpUnter")->trigger();
    ASSERT_EQ(Inhalt(plv).size(), 59);
    const QByteArray koerper = Inhalt(plv);

    // The body file chosen as the picture's target: refused, and said why.
    cdg.Antworten = {plv};
    Menue("menBild")->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, Pfad(QStringLiteral("koerper.bmp")));
    EXPECT_EQ(Inhalt(plv), koerper);
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("nicht gespeichert"))) << frage.Gemeldet[0].Text.toStdString();
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("Körperdatei")));
    EXPECT_EQ(Titel(), QStringLiteral("Plavo - [koerper.plv]"));
    EXPECT_TRUE(mod.Gespeichert);

    // Also under another spelling of the same path.
    cdg.Antworten = {ordner.path() + QStringLiteral("/./koerper.plv")};
    Menue("menBild")->trigger();
    EXPECT_EQ(Inhalt(plv), koerper);
    EXPECT_EQ(frage.Gemeldet.size(), 2u);

    // A picture saved: proposed again by the export, never by the body-file commands.
    const QString bild = Pfad(QStringLiteral("bild.bmp"));
    cdg.Antworten = {bild};
    Menue("menBild")->trigger();
    EXPECT_TRUE(QImage(bild, "BMP").size() == frm->picPlavo().Flaeche().Image().size());
    cdg.Antworten = {std::nullopt};
    Menue("menBild")->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, bild);
    cdg.Antworten = {std::nullopt};
    Menue("menSpUnter")->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, plv);
    Aendern();
    cdg.Antworten = {std::nullopt};
    frage.Antworten = {MsgAntwort::Nein};
    frm->menOeffnen_Click();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, plv);
    EXPECT_EQ(frage.Gemeldet.size(), 3u);
}

// Flags 12: the real print dialog offers neither a selection nor a page range
// (Qt's own dialog would still offer a range for the print server).
TEST(Druckdialog, OffersOnlyTheWholeOutputUnderFlags12)
{
    QtStandarddialog cdg(nullptr);
    cdg.Flags = cdlPDNoSelection | cdlPDNoPageNums;
    bool bereichVersteckt = false;
    bool gefunden = false;
    QTimer waechter;
    int versuche = 0;
    // Looks for the dialog once it is shown, notes what it offers and closes it.
    QObject::connect(&waechter, &QTimer::timeout, [&] {
        QPrintDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QPrintDialog*>(w); d && d->isVisible())
                dialog = d;
        if (!dialog && ++versuche < 500)
            return;
        waechter.stop();
        if (dialog) {
            gefunden = true;
            if (QWidget* bereich = dialog->findChild<QWidget*>(QStringLiteral("gbPrintRange")))
                bereichVersteckt = bereich->isHidden();
            dialog->reject();
        }
    });
    waechter.start(10);
    EXPECT_FALSE(cdg.ShowPrinter()) << "closed without printing";
    ASSERT_TRUE(gefunden);
    EXPECT_TRUE(bereichVersteckt);
}
