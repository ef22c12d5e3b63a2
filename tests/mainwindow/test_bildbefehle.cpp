// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/qtstandarddialog.h"
#include "support/fensterprobe.h"
#include "support/pdfseiten.h"

#include "sim/aufbau.h"
#include "sim/berechnung.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <bit>
#include <charconv>
#include <set>

namespace {
using BildBefehle = FensterProbe;

// The fields of one CSV row; quoted fields may hold separators and doubled quotes.
QStringList CsvFelder(const QString& zeile)
{
    QStringList felder(1);
    bool zitat = false;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        const QChar c = zeile[i];
        if (c == u'"' && zitat && i + 1 < zeile.size() && zeile[i + 1] == u'"')
            felder.back() += zeile[++i];
        else if (c == u'"')
            zitat = !zitat;
        else if (c == u';' && !zitat)
            felder << QString();
        else
            felder.back() += c;
    }
    return felder;
}

double Zahl(QString text)
{
    const std::string s = text.replace(u',', u'.').toStdString();
    double wert = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(s.data(), s.data() + s.size(), wert);
    return wert;
}

// Until the export has ended and its menu item is offered again.
void ExportAbwarten(QAction* eintrag)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!eintrag->isEnabled() && uhr.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // Outside an event loop, what was left for deletion waits for this.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

// The rows come from a replay of the run from the document set: every chosen
// step equals the run bit for bit after reading the text back, in the German
// spreadsheet format; the window's run goes on untouched meanwhile.
TEST_F(BildBefehle, OrbitDataEqualTheRunBitForBitAndACancelLeavesNoFile)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    KoerperSatz drei = Zwillinge();
    drei[2].NameSetzen(QStringLiteral("=\"Staub\"; Ä"));
    Oeffnen(Datei(QStringLiteral("drei.plv"), drei));
    dok.IntervallSetzen(0.5);
    Menue("menStart")->trigger();
    ASSERT_EQ(tim.Ticken(50), 50);
    const KoerperSatz lauf = frm->lauf().Stand().KoerperSim;

    const QString csv = Pfad(QStringLiteral("drei.csv"));
    cdg.Antworten = {csv};
    frage.Eingaben = {QStringLiteral("7")};
    QAction* eintrag = Menue("menBahndaten");
    eintrag->trigger();
    EXPECT_EQ(cdg.Aufrufe.back().FileName, csv) << "proposes the body file's name";
    EXPECT_EQ(cdg.Aufrufe.back().Filter, QStringLiteral("CSV-Dateien (*.csv)|*.csv"));
    EXPECT_EQ(frage.Gefragt.back().Vorgabe, QStringLiteral("1"));
    EXPECT_EQ(cdg.FileName, Pfad(QStringLiteral("drei.plv"))) << "the body-file commands still propose the body file";
    EXPECT_EQ(tim.Ticken(3), 3);
    ExportAbwarten(eintrag);
    ASSERT_TRUE(eintrag->isEnabled());
    EXPECT_TRUE(frage.Gemeldet.empty());
    EXPECT_EQ(frm->Schrittzahl(), 53);

    QByteArray bytes = Inhalt(csv);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList zeilen = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(zeilen.takeLast(), QString());
    EXPECT_EQ(zeilen.takeFirst(), QStringLiteral("Schritt;Tage;Körper;Name;x (m);y (m);vx (m/s);vy (m/s)"));
    const std::set<int> gewaehlt{0, 7, 14, 21, 28, 35, 42, 49, 50};
    ASSERT_EQ(zeilen.size(), qsizetype(gewaehlt.size() * 3));

    // An independent replay of the run.
    Laufstand nach;
    ASSERT_EQ(KoerperSimAufbauen(drei, 0.5, nach), KeinFehler);
    Rechenwerk werk;
    const double sekunden = 0.5 * 86400;
    qsizetype z = 0;
    for (int s : gewaehlt) {
        while (nach.Schrittzahl < s)
            ASSERT_EQ(werk.Schritt(nach).fehler, KeinFehler);
        for (int k = 0; k < 3; ++k, ++z) {
            const QStringList f = CsvFelder(zeilen[z]);
            ASSERT_EQ(f.size(), 8) << zeilen[z].toStdString();
            const Koerper& soll = nach.KoerperSim[size_t(k)];
            EXPECT_EQ(f[0].toInt(), s);
            EXPECT_EQ(Zahl(f[1]), s * 0.5);
            EXPECT_EQ(f[2].toInt(), k + 1);
            EXPECT_EQ(std::bit_cast<uint64_t>(Zahl(f[4])), std::bit_cast<uint64_t>(soll.X)) << zeilen[z].toStdString();
            EXPECT_EQ(std::bit_cast<uint64_t>(Zahl(f[5])), std::bit_cast<uint64_t>(soll.Y));
            EXPECT_EQ(std::bit_cast<uint64_t>(Zahl(f[6])), std::bit_cast<uint64_t>(soll.Vx() / sekunden));
            EXPECT_EQ(std::bit_cast<uint64_t>(Zahl(f[7])), std::bit_cast<uint64_t>(soll.Vy() / sekunden));
        }
    }
    EXPECT_TRUE(BitGleich(nach.KoerperSim, lauf)) << "the last rows are what the window computed";
    EXPECT_EQ(CsvFelder(zeilen[2])[3], QStringLiteral("'=\"Staub\"; Ä")) << "a formula-like name stays text";
    EXPECT_TRUE(zeilen[0].startsWith(QStringLiteral("0;0;1;\"Castor\";-4,5E+10;0;")))
        << zeilen[0].toStdString();

    // Seen from the centre of mass the numbers stay the fixed frame's, and the header says so.
    frm->menBezugSchwerpunkt_Click();
    const QString schwerpunkt = Pfad(QStringLiteral("schwerpunkt.csv"));
    cdg.Antworten = {schwerpunkt};
    frage.Eingaben = {QStringLiteral("7")};
    eintrag->trigger();
    ExportAbwarten(eintrag);
    QStringList imSchwerpunkt = QString::fromUtf8(Inhalt(schwerpunkt).mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(imSchwerpunkt.takeFirst(),
              QStringLiteral("Schritt;Tage;Körper;Name;x (m, festes Bezugssystem);y (m, festes Bezugssystem);"
                             "vx (m/s, festes Bezugssystem);vy (m/s, festes Bezugssystem)"));
    EXPECT_EQ(imSchwerpunkt.mid(0, 24), zeilen.mid(0, 24));
    frm->menBezugFest_Click();

    // A cancel, a failed write and a spacing that is no whole number leave no
    // file, and the open body file as the target is refused untouched.
    const QStringList vorher = QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden);
    QFile plv(Pfad(QStringLiteral("drei.plv")));
    ASSERT_TRUE(plv.open(QIODevice::ReadOnly));
    const QByteArray koerperdatei = plv.readAll();
    plv.close();
    cdg.Antworten = {Pfad(QStringLiteral("abbruch.csv"))};
    frage.Eingaben = {QStringLiteral("1")};
    eintrag->trigger();
    ASSERT_EQ(frm->findChildren<QProgressDialog*>().size(), 1) << "the first export cleaned up";
    auto* fortschritt = frm->findChild<QProgressDialog*>();
    ASSERT_NE(fortschritt->findChild<QPushButton*>(), nullptr);
    fortschritt->findChild<QPushButton*>()->click();
    ExportAbwarten(eintrag);
    cdg.Antworten = {Pfad(QStringLiteral("fehlt/x.csv")), Pfad(QStringLiteral("halb.csv")),
                     Pfad(QStringLiteral("drei.plv"))};
    frage.Eingaben = {QStringLiteral("1"), QStringLiteral("0,5")};
    eintrag->trigger();
    eintrag->trigger();
    eintrag->trigger();
    QApplication::processEvents();
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), vorher);
    ASSERT_TRUE(plv.open(QIODevice::ReadOnly));
    EXPECT_EQ(plv.readAll(), koerperdatei);
    EXPECT_EQ(frage.Gemeldet.size(), 3u) << "the missing folder, the spacing and the body file are reported, the cancel is not";
    EXPECT_TRUE(eintrag->isEnabled());
    QLocale::setDefault(QLocale::c());
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
    EXPECT_EQ(frm->Schrittzahl(), 5);
    EXPECT_EQ(frm->picPlavo().Flaeche().Image(), bild);
    EXPECT_EQ(tim.Ticken(), 1);

    // The picture filter stays until a body-file command sets its own.
    EXPECT_EQ(cdg.Filter, QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp|PNG-Bilder (*.png)|*.png"));
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
