// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/bildbefehle.h"
#include "view/bildausgabe.h"

#include "sim/aufbau.h"
#include "sim/berechnung.h"
#include "support/pdfseiten.h"
#include "support/skriptdialog.h"
#include "view/bildflaeche.h"
#include "view/drucker.h"
#include "view/qtdrucker.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/resource.h>

namespace {

constexpr int32_t Rot = 0x0000FF;   // red in the low byte

// A 200 x 100 surface showing 2 x 1 AE around the origin: 100 pixels per AE.
struct Szene {
    BildFlaeche flaeche;
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    Laufstand stand;
    Rechenwerk werk;

    Szene()
    {
        flaeche.GroesseSetzen(QSize(200, 100));
        flaeche.Scale(-1, -0.5, 1, 0.5);
        // One red body at (-0.5 AE, 0) moving along +x by 86400 s * 86400 m/s
        // = 0.0497664 AE (4.97664 pixels) per one-day step.
        Koerper k;
        k.Masse = 1;
        k.X = -0.5 * MeterProAE;
        k.Geschwindigkeit = 86400;
        k.Farbe = Rot;
        EXPECT_EQ(KoerperSimAufbauen({k}, 1, stand), KeinFehler);
    }
    void Schritte(int n)
    {
        for (int i = 0; i < n; ++i) {
            const Schrittergebnis e = werk.Schritt(stand);
            ASSERT_EQ(e.fehler, KeinFehler);
            flaeche.Striche(e.striche);
        }
    }
    QString letztesBild;
    Bildbefehle Ausgabe(Bildbefehle::DruckerFabrik fabrik = {})
    {
        Bildbefehle a(flaeche, cdg, frage, std::move(fabrik));
        a.LetztesBild = &letztesBild;
        return a;
    }
};

QImage BitmapLesen(const QString& pfad)
{
    QFile f(pfad);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "BM") << "Windows bitmap header";
    QImageReader leser(pfad);
    leser.setDecideFormatFromContent(true);
    EXPECT_EQ(leser.format(), QByteArray("bmp"));
    return leser.read().convertToFormat(QImage::Format_RGB32);
}

// Records the calls of a print job; can be told to fail.
class SkriptDrucker : public Drucker {
public:
    explicit SkriptDrucker(QString& protokoll, bool scheitert)
        : p_(protokoll)
        , scheitert_(scheitert)
    {
    }
    void PaintPicture(const QImage& bild, double x, double y) override
    {
        p_ += QStringLiteral("P(%1x%2@%3,%4) ").arg(bild.width()).arg(bild.height()).arg(x).arg(y);
    }
    void NewPage() override { p_ += QStringLiteral("N "); }
    void EndDoc() override { p_ += QStringLiteral("E"); }
    bool Fehler() const override { return scheitert_; }

private:
    QString& p_;
    bool scheitert_;
};

// A picture of a giant window, 28,000 x 28,000 pixels (3 GB), over memory
// that is only taken where it is written: a white top-left corner of
// `weiss`, the rest black, as zero pages cost nothing until touched.
struct RiesenBild {
    static constexpr int Seite = 28000;
    void* speicher = MAP_FAILED;
    QImage bild;
    explicit RiesenBild(QSize weiss)
    {
        const std::size_t bytes = std::size_t(Seite) * Seite * 4;
        speicher = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (speicher == MAP_FAILED)
            return;
        bild = QImage(static_cast<uchar*>(speicher), Seite, Seite, Seite * 4, QImage::Format_RGB32);
        for (int y = 0; y < weiss.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(bild.scanLine(y)), weiss.width(), qRgb(255, 255, 255));
    }
    ~RiesenBild()
    {
        bild = QImage();
        if (speicher != MAP_FAILED)
            munmap(speicher, std::size_t(Seite) * Seite * 4);
    }
};

}  // namespace

TEST(Bildausgabe, ExportsExactlyTheSurfacePixelsAsABitmapReplacingTheOldFile)
{
    QTemporaryDir dir;
    Szene s;
    // Any extension: the content is a bitmap all the same.
    const QString pfad = dir.filePath(QStringLiteral("bahn.plv"));

    // Before any step: a white bitmap of the surface's size.
    s.cdg.Antworten = {pfad};
    s.Ausgabe().menBild_Click();
    ASSERT_EQ(s.cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(s.cdg.Aufrufe[0].Art, QStringLiteral("Save"));
    EXPECT_EQ(s.cdg.Aufrufe[0].Filter, QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp|PNG-Bilder (*.png)|*.png"));
    EXPECT_EQ(s.cdg.Aufrufe[0].DefaultExt, QStringLiteral("*.bmp"));
    QImage weiss(200, 100, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    EXPECT_EQ(BitmapLesen(pfad), weiss);

    // Ten steps draw the trail from column 50 to floor(50 + 49.7664) = 99 in row 50.
    s.Schritte(10);
    QImage erwartet = weiss;
    for (int x = 50; x <= 99; ++x)
        erwartet.setPixel(x, 50, qRgb(255, 0, 0));
    ASSERT_EQ(s.flaeche.Image(), erwartet);

    // The dialog proposes the last picture; the export replaces it.
    s.cdg.Antworten = {s.cdg.FileName};
    s.Ausgabe().menBild_Click();
    EXPECT_EQ(s.cdg.Aufrufe[1].FileName, pfad);
    EXPECT_EQ(BitmapLesen(pfad), erwartet);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bahn.plv")}) << "no temporary file left";
    EXPECT_TRUE(s.frage.Gemeldet.empty());
    // The bitmap values stay for the next use of the dialog.
    EXPECT_EQ(s.cdg.Filter, QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp|PNG-Bilder (*.png)|*.png"));

    // PNG, the second type, by its name; after a PNG the dialog stands on
    // that type, and a name without suffix is written as PNG too.
    const QString png = dir.filePath(QStringLiteral("bahn.png"));
    const QString gewaehlt = dir.filePath(QStringLiteral("gewaehlt"));
    for (const QString& ziel : {png, gewaehlt}) {
        s.cdg.Antworten = {ziel};
        s.Ausgabe().menBild_Click();
        QFile f(ziel);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8)) << ziel.toStdString();
        EXPECT_EQ(QImage(ziel, "PNG").convertToFormat(QImage::Format_RGB32), erwartet);
    }
    EXPECT_EQ(s.cdg.Aufrufe.back().FilterIndex, 2) << "the last picture, a PNG, is proposed as one";
}

TEST(Bildausgabe, CancelWritesNothingAndFailuresAreReported)
{
    QTemporaryDir dir;
    Szene s;
    s.Schritte(3);
    const QImage vorher = s.flaeche.Image();

    s.cdg.Antworten = {std::nullopt};
    s.Ausgabe().menBild_Click();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(s.frage.Gemeldet.empty());

    // A folder that does not exist: a message, and the folder is not created.
    const QString fehlt = dir.filePath(QStringLiteral("fehlt/bahn.bmp"));
    s.cdg.Antworten = {fehlt};
    s.Ausgabe().menBild_Click();
    ASSERT_EQ(s.frage.Gemeldet.size(), 1u);
    const auto& m = s.frage.Gemeldet[0];
    EXPECT_EQ(m.Titel, QStringLiteral("Plavo"));
    EXPECT_EQ(m.Knoepfe, MsgKnoepfe::OK);
    EXPECT_TRUE(m.Text.contains(QDir::toNativeSeparators(fehlt))) << m.Text.toStdString();
    EXPECT_TRUE(m.Text.contains(QStringLiteral("existiert nicht"))) << m.Text.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // A name that is taken by a folder: reported, the folder untouched.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner.bmp")));
    s.cdg.Antworten = {dir.filePath(QStringLiteral("ordner.bmp"))};
    s.Ausgabe().menBild_Click();
    EXPECT_EQ(s.frage.Gemeldet.size(), 2u);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("ordner.bmp"))).isDir());

    EXPECT_EQ(s.flaeche.Image(), vorher) << "the picture itself never changes";
}

TEST(Bildausgabe, PrintsOnePagePerCopyWithoutTheDialogsCopies)
{
    Szene s;
    QString protokoll;
    bool scheitert = false;
    QPrinter* benutzt = nullptr;
    auto fabrik = [&](QPrinter& p) {
        benutzt = &p;
        return std::make_unique<SkriptDrucker>(protokoll, scheitert);
    };

    // Cancel: no job at all.
    s.cdg.Antworten = {std::nullopt};
    s.Ausgabe(fabrik).menDrucken_Click();
    EXPECT_EQ(s.cdg.Aufrufe.at(0).Flags, 12) << "no selection, no page range";
    EXPECT_EQ(benutzt, nullptr);

    // As if the print dialog had set 3 copies on the printer.
    s.cdg.Printer()->setCopyCount(3);
    s.cdg.Antworten = {QStringLiteral("3")};
    s.Ausgabe(fabrik).menDrucken_Click();
    EXPECT_EQ(benutzt, s.cdg.Printer());
    EXPECT_EQ(protokoll, QStringLiteral("P(200x100@0,0) N P(200x100@0,0) N P(200x100@0,0) N E"));
    EXPECT_EQ(s.cdg.Printer()->copyCount(), 1) << "the printer must not multiply the pages again";
    EXPECT_TRUE(s.frage.Gemeldet.empty());

    // A job the printer reports as failed is not passed off as printed.
    scheitert = true;
    s.cdg.Antworten = {QStringLiteral("1")};
    s.Ausgabe(fabrik).menDrucken_Click();
    ASSERT_EQ(s.frage.Gemeldet.size(), 1u);
    EXPECT_EQ(s.frage.Gemeldet[0].Titel, QStringLiteral("Plavo"));
    EXPECT_TRUE(s.frage.Gemeldet[0].Text.contains(QStringLiteral("nicht gedruckt")));
}

TEST(Bildausgabe, ThreeCopiesToPdfAreThreePagesWithThePictureUpperLeftAtItsOwnSize)
{
    QTemporaryDir dir;
    Szene s;
    // A 96 x 48 picture (1 x 0.5 inch), filled so that its extent shows on paper.
    s.flaeche.GroesseSetzen(QSize(96, 48));
    s.flaeche.Scale(0, 0, 96, 48);
    for (int y = 0; y < 48; ++y)
        s.flaeche.Line(0.5f, y + 0.5f, 95.0f, 0.0f, 0x804000);

    const QString pdf = dir.filePath(QStringLiteral("druck.pdf"));
    s.cdg.Drucker = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& p = *s.cdg.Drucker;
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(pdf);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageMargins(QMarginsF(10, 20, 10, 10), QPageLayout::Millimeter);
    s.cdg.Antworten = {QStringLiteral("3")};
    s.Ausgabe().menDrucken_Click();
    EXPECT_TRUE(s.frage.Gemeldet.empty());
    EXPECT_EQ(PdfSeitenzahl(pdf), 3) << "one job, one page per copy, no empty page at the end";

    const std::vector<QImage> seiten = PdfSeitenBilder(pdf, 96);
    if (seiten.empty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: placement not checked";
    ASSERT_EQ(seiten.size(), 3u);
    // At 96 dpi the picture is 96 x 48 again, its corner at the margins: 10 mm, 20 mm.
    const QRectF erwartet(10 / 25.4 * 96, 20 / 25.4 * 96, 96, 48);
    for (const QImage& seite : seiten) {
        const QRect r = DunklerBereich(seite);
        EXPECT_NEAR(r.left(), erwartet.left(), 1.0);
        EXPECT_NEAR(r.top(), erwartet.top(), 1.0);
        EXPECT_NEAR(r.width(), 96, 1.0);
        EXPECT_NEAR(r.height(), 48, 1.0);
    }

    // On a screen with a device pixel ratio of 2 the same window has twice the
    // pixels in each direction; on paper it is just as large.
    s.flaeche.GroesseSetzen(QSize(192, 96));
    s.flaeche.Scale(0, 0, 192, 96);
    for (int y = 0; y < 96; ++y)
        s.flaeche.Line(0.5f, y + 0.5f, 191.0f, 0.0f, 0x804000);
    const QString pdf2 = dir.filePath(QStringLiteral("druck2.pdf"));
    p.setOutputFileName(pdf2);
    s.cdg.Antworten = {QStringLiteral("1")};
    Bildbefehle scharf = s.Ausgabe();
    scharf.Pixelverhaeltnis = 2;
    scharf.menDrucken_Click();
    const std::vector<QImage> seite2 = PdfSeitenBilder(pdf2, 96);
    ASSERT_EQ(seite2.size(), 1u);
    const QRect r = DunklerBereich(seite2[0]);
    EXPECT_NEAR(r.width(), 96, 1.0);
    EXPECT_NEAR(r.height(), 48, 1.0);
}

TEST(Bildausgabe, AGiantPictureGoesToThePrinterOnlyAsFarAsThePageReachesAndIsNoBitmap)
{
    // White where the A4 page (10 mm and 20 mm margins, 190 x 267 mm, 718 x
    // 1009 pixels at 96 per inch) shows it, with a dark 96 x 48 block in the
    // corner and a dark column at x = 700 to 709 reaching over the page's
    // bottom edge; black beyond.
    RiesenBild riesig(QSize(900, 1200));
    if (riesig.bild.isNull())
        GTEST_SKIP() << "no address space for a 3 GB picture";
    QImage& bild = riesig.bild;
    for (int y = 0; y < 48; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(bild.scanLine(y)), 96, qRgb(128, 64, 0));
    for (int y = 900; y < 1200; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(bild.scanLine(y)) + 700, 10, qRgb(128, 64, 0));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("riesig.pdf"));
    QPrinter p(QPrinter::HighResolution);
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(pdf);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageMargins(QMarginsF(10, 20, 10, 10), QPageLayout::Millimeter);
    {
        QtDrucker drucker(p);
        EXPECT_TRUE(BildDrucken(bild, 1, drucker));
    }
    EXPECT_EQ(PdfSeitenzahl(pdf), 1);
    EXPECT_LT(QFileInfo(pdf).size(), 1 << 20) << "a page's worth of pixels, not the window's";

    const std::vector<QImage> bilder = PdfBildobjekte(pdf, 1);
    const std::vector<QImage> seiten = PdfSeitenBilder(pdf, 96);
    if (bilder.empty() || seiten.empty())
        GTEST_SKIP() << "pdfimages or pdftoppm (poppler-utils) is not installed: contents not checked";
    // The page is 718 x 1009 pixels of the picture; what reaches the printer may
    // reach one pixel beyond it on each side, never more.
    ASSERT_EQ(bilder.size(), 1u);
    EXPECT_LE(bilder[0].width(), 720);
    EXPECT_LE(bilder[0].height(), 1011);
    EXPECT_GE(bilder[0].width(), 718);
    EXPECT_GE(bilder[0].height(), 1009);

    // At 96 dpi the corner block is 96 x 48 at the margins, and the column
    // is cut at the bottom of the printable area.
    ASSERT_EQ(seiten.size(), 1u);
    const QPointF ecke(10 / 25.4 * 96, 20 / 25.4 * 96);
    const QRect block = DunklerBereich(seiten[0].copy(0, 0, 300, 200));
    EXPECT_NEAR(block.left(), ecke.x(), 1.0);
    EXPECT_NEAR(block.top(), ecke.y(), 1.0);
    EXPECT_NEAR(block.width(), 96, 1.0);
    EXPECT_NEAR(block.height(), 48, 1.0);
    const QRect saeule = DunklerBereich(seiten[0].copy(300, 200, seiten[0].width() - 300, seiten[0].height() - 200))
                             .translated(300, 200);
    EXPECT_NEAR(saeule.left(), ecke.x() + 700, 1.5);
    EXPECT_NEAR(saeule.width(), 10, 1.0);
    EXPECT_NEAR(saeule.top(), ecke.y() + 900, 1.5);
    EXPECT_NEAR(saeule.bottom(), (297 - 10) / 25.4 * 96, 1.0) << "cut at the bottom margin";

    // The same window on a screen of device pixel ratio 2: the page shows
    // twice the picture's pixels each way, and nothing else reaches the
    // printer; the picture is not copied whole on the way (3 GB).
    rusage vorher{};
    getrusage(RUSAGE_SELF, &vorher);
    const QString pdf2 = dir.filePath(QStringLiteral("riesig2.pdf"));
    p.setOutputFileName(pdf2);
    {
        QtDrucker drucker(p);
        EXPECT_TRUE(BildDrucken(bild, 1, drucker, 2.0));
    }
    rusage nachher{};
    getrusage(RUSAGE_SELF, &nachher);
    EXPECT_LT(nachher.ru_maxrss - vorher.ru_maxrss, 512L * 1024) << "KiB more at the peak";
    const std::vector<QImage> bilder2 = PdfBildobjekte(pdf2, 1);
    ASSERT_EQ(bilder2.size(), 1u);
    EXPECT_LE(bilder2[0].width(), 2 * 718 + 2);
    EXPECT_LE(bilder2[0].height(), 2 * 1009 + 2);
    EXPECT_GE(bilder2[0].width(), 2 * 718);
    const QRect block2 = DunklerBereich(PdfSeitenBilder(pdf2, 96)[0].copy(0, 0, 300, 200));
    EXPECT_NEAR(block2.width(), 48, 1.0) << "96 device pixels are half an inch";

    // A picture that could not even be held is reported, not printed as a blank page.
    {
        QtDrucker drucker(p);
        EXPECT_FALSE(BildDrucken(QImage(), 1, drucker));
    }

    // No bitmap file can hold it: a German reason, and no file is left behind.
    const QString bmp = dir.filePath(QStringLiteral("riesig.bmp"));
    const std::optional<QString> fehler = BitmapSchreiben(bild, bmp);
    ASSERT_TRUE(fehler.has_value());
    EXPECT_TRUE(fehler->contains(QStringLiteral("zu groß"))) << fehler->toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("riesig.bmp*")}, QDir::Files | QDir::Hidden).isEmpty());
}
