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
    EXPECT_EQ(cdg.Aufrufe.back().FileName, Pfad(QStringLiteral("lauf.plv"))) << "proposes the last file chosen";
    EXPECT_EQ(QImage(bmp, "BMP").convertToFormat(QImage::Format_RGB32), bild);

    const QString pdf = Pfad(QStringLiteral("lauf.pdf"));
    cdg.Drucker = std::make_unique<QPrinter>();
    cdg.Drucker->setOutputFormat(QPrinter::PdfFormat);
    cdg.Drucker->setOutputFileName(pdf);
    cdg.Antworten = {QStringLiteral("2")};
    Menue("menDrucken")->trigger();
    EXPECT_EQ(PdfSeitenzahl(pdf), 2);

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
