#include "mainwindow/frmplavo.h"
#include "mainwindow/qtstandarddialog.h"
#include "mainwindow/zeitgeber.h"
#include "support/pdfseiten.h"
#include "support/skriptdialog.h"
#include "view/picplavo.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

// The window's menu items reach the export and the printing, which take what
// the surface shows at that moment and leave the run alone.
TEST(FrmPlavoBild, ExportAndPrintTheCurrentPictureWhileTheRunGoesOn)
{
    QTemporaryDir dir;
    ModPlavo mod;
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    FrmPlavo fenster(mod, {&cdg, &frage, nullptr, {}});
    fenster.show();
    QApplication::processEvents();

    Koerper k;
    k.Masse = 1;
    k.X = 0.5 * 1.5e11;
    k.Geschwindigkeit = 30000;
    k.Richtung = 90;
    k.Farbe = 0x00C000;
    mod.KoerperStart = {k};
    fenster.Menue(QStringLiteral("menStart"))->trigger();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(fenster.Berechnung());
    const QImage bild = fenster.picPlavo().Flaeche().Image();
    ASSERT_TRUE(bild.pixelColor(bild.width() * 3 / 4, bild.height() / 2) == QColor(0, 0xC0, 0))
        << "the body starts half an AE right of the centre";

    const QString bmp = dir.filePath(QStringLiteral("lauf.bmp"));
    cdg.Antworten = {bmp};
    fenster.Menue(QStringLiteral("menBild"))->trigger();
    EXPECT_EQ(QImage(bmp, "BMP").convertToFormat(QImage::Format_RGB32), bild);

    const QString pdf = dir.filePath(QStringLiteral("lauf.pdf"));
    cdg.Drucker = std::make_unique<QPrinter>();
    cdg.Drucker->setOutputFormat(QPrinter::PdfFormat);
    cdg.Drucker->setOutputFileName(pdf);
    cdg.Antworten = {QStringLiteral("2")};
    fenster.Menue(QStringLiteral("menDrucken"))->trigger();
    EXPECT_EQ(PdfSeitenzahl(pdf), 2);

    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_TRUE(fenster.timPlavo().Enabled()) << "neither command stops the run";
    EXPECT_EQ(fenster.Schrittzahl, 5);
    EXPECT_EQ(fenster.picPlavo().Flaeche().Image(), bild);
    EXPECT_EQ(cdg.Filter, QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp"));
    fenster.Menue(QStringLiteral("menStop"))->trigger();
}

// Flags 12: the real print dialog offers neither a selection nor a page range
// (Qt's own dialog would still offer a range for the print server).
TEST(FrmPlavoBild, PrintDialogOffersOnlyTheWholeOutput)
{
    QtStandarddialog cdg(nullptr);
    cdg.Flags = cdlPDNoSelection | cdlPDNoPageNums;
    bool bereichVersteckt = false;
    bool gefunden = false;
    QTimer waechter;
    int versuche = 0;
    QObject::connect(&waechter, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
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
