// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/filmaufzeichnung.h"
#include "view/filmschreiber.h"
#include "view/pngserie.h"

#include "sim/berechnung.h"
#include "sim/lauf.h"
#include "support/filmlesen.h"
#include "support/koerperbau.h"
#include "view/bildausgabe.h"
#include "view/bildflaeche.h"
#include "view/dateisenke.h"
#include "view/laufbild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// A sun and three planets on circles of 0.4 to 0.9 AE; five days a step
// moves them several pixels on a small film.
ModPlavo Sonnensystem()
{
    ModPlavo mod;
    mod.Intervall = 5;
    mod.KoerperStart = {
        NeuerKoerper(QStringLiteral("Sonne"), 333000, 0, 0, 0, 0, 0x00C0FF),
        NeuerKoerper(QStringLiteral("Innen"), 1, 0.4 * MeterProAE, 0, 47000, 90, 0x0000FF),
        NeuerKoerper(QStringLiteral("Mitte"), 1, -0.7 * MeterProAE, 0, 35600, 270, 0x00A000),
        NeuerKoerper(QStringLiteral("Aussen"), 1, 0, 0.9 * MeterProAE, 31400, 180, 0xFF0000),
    };
    return mod;
}

constexpr Ausschnitt Standard{2, 2, 0, 0};

// The run with its picture export at the film's size and section: a surface
// that draws what the run announces, as the window's picture does.
struct Probelauf {
    ModPlavo mod = Sonnensystem();
    Arbeiter arbeiter;
    Lauf lauf{mod, arbeiter};
    BildFlaeche flaeche;
    LaufBild bild{lauf, flaeche};
    QString bmp;

    Probelauf(QSize groesse, const QString& bmpPfad)
        : bmp(bmpPfad)
    {
        const Ausschnitt a = FilmAusschnitt(Standard, groesse);
        flaeche.GroesseSetzen(groesse);
        flaeche.Scale(-a.Breite / 2 + a.XOffset, -a.Hoehe / 2 + a.YOffset, a.Breite / 2 + a.XOffset,
                      a.Hoehe / 2 + a.YOffset);
        EXPECT_EQ(lauf.Starten(), KeinFehler);
    }
    // What "Bild speichern" writes now.
    QImage Export() const
    {
        EXPECT_EQ(BitmapSchreiben(flaeche.Image(), bmp), std::nullopt);
        return QImage(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    }
    void Schritte(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(lauf.Schritt(), KeinFehler);
    }
    std::unique_ptr<Filmaufzeichnung> Aufzeichnen(std::unique_ptr<Filmschreiber> schreiber, int k,
                                                  const Filmueberlagen& ueberlagen, const Bezugssystem& bezug = {})
    {
        auto a = std::make_unique<Filmaufzeichnung>(lauf, arbeiter, std::move(schreiber), Standard, ueberlagen, k,
                                                    bezug);
        a->Beginnen();
        lauf.NeuzeichnungAbschliessen();
        return a;
    }
};

std::unique_ptr<Filmschreiber> Oeffnen(Filmformat format, const QString& ziel, QSize groesse,
                                       Senkenfabrik senken = {})
{
    Filmvorgabe v;
    v.Format = format;
    v.Ziel = ziel;
    v.Groesse = groesse;
    v.Farben = Filmbild::Spurfarben(Sonnensystem().KoerperStart);
    v.Senken = std::move(senken);
    QString fehler;
    auto s = Filmschreiber::Oeffnen(v, fehler);
    EXPECT_TRUE(s) << fehler.toStdString();
    return s;
}

Filmueberlagen Keine()
{
    return {false, false, false, false, {}};
}

QStringList Eintraege(const QString& ordner)
{
    return QDir(ordner).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

TEST(Film, PngFramesWithoutOverlaysAreTheBitmapExportFrameForFrameAndOverlaysStayOffTheTrails)
{
    QTemporaryDir ordner;
    // The picture is 161 x 91 pixels: the film takes it rounded down to even.
    const QSize groesse = FilmPixel(Filmgroesse::WieBild, QSize(161, 91));
    ASSERT_EQ(groesse, QSize(160, 90));
    const QString serie = ordner.filePath(QStringLiteral("film"));
    const QString mitUeberlagen = ordner.filePath(QStringLiteral("mit"));
    Probelauf p(groesse, ordner.filePath(QStringLiteral("export.bmp")));
    Filmbild spuren(groesse, FilmAusschnitt(Standard, groesse));
    QObject::connect(&p.lauf, &Lauf::schrittGemacht, [&spuren](std::span<const Strich> s) { spuren.Striche(s); });

    // Begun in the middle of a run: the first frame holds the trail so far.
    p.Schritte(3);
    auto ohne = p.Aufzeichnen(Oeffnen(Filmformat::PngSerie, serie, groesse), 3, Keine());
    auto mit = p.Aufzeichnen(Oeffnen(Filmformat::PngSerie, mitUeberlagen, groesse), 3,
                             {true, true, true, true, QStringLiteral("Bezugssystem: Sonne")});
    std::vector<QImage> bitmaps{p.Export()};
    for (int i = 1; i <= 3; ++i) {
        p.Schritte(2);
        // The window is resized meanwhile: the run redraws, the film keeps its size and section.
        if (i == 2) {
            p.lauf.Neuzeichnen();
            p.lauf.NeuzeichnungAbschliessen();
        }
        p.Schritte(1);
        bitmaps.push_back(p.Export());
    }
    ASSERT_EQ(ohne->Beenden(), std::nullopt);
    ASSERT_EQ(mit->Beenden(), std::nullopt);

    // Steps 3, 6, 9 and 12, and nothing else in the folder.
    QStringList namen;
    for (int i = 0; i < 4; ++i)
        namen << PngSerie::Dateiname(i);
    EXPECT_EQ(Eintraege(serie), namen);
    for (int i = 0; i < 4; ++i) {
        const QImage bild = QImage(QDir(serie).filePath(PngSerie::Dateiname(i)), "PNG").convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(bild, bitmaps[size_t(i)]) << "frame " << i;
    }
    QImage weiss(groesse, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    EXPECT_NE(bitmaps[0], weiss);

    // The section is fitted, not stretched: 2 AE high fills the 90 rows, so
    // an AE is 45 pixels across as well as down.
    EXPECT_DOUBLE_EQ(FilmAusschnitt(Standard, groesse).Breite, 2.0 * 160 / 90);
    EXPECT_DOUBLE_EQ(FilmAusschnitt(Standard, groesse).Hoehe, 2.0);

    // With overlays every frame shows more than the trails, yet the trails
    // underneath stay the export's.
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(QImage(QDir(mitUeberlagen).filePath(PngSerie::Dateiname(i)), "PNG").convertToFormat(QImage::Format_RGB32),
                  bitmaps[size_t(i)]);
    const QImage vorher = spuren.Spuren().copy();
    EXPECT_EQ(vorher, bitmaps.back());
    spuren.Bild(p.lauf.Jetzt(), 60, {true, true, true, true, QStringLiteral("Bezugssystem: Sonne")});
    EXPECT_EQ(spuren.Spuren(), vorher);
    // No hidden working folder stays behind.
    EXPECT_EQ(Eintraege(ordner.path()), (QStringList{QStringLiteral("export.bmp"), QStringLiteral("film"), QStringLiteral("mit")}));
}

TEST(Film, PngFramesInABodysOrATurningFrameAreThePicturesBitmapExportInThatFrameAndFollowItsChange)
{
    const QSize groesse(160, 90);
    // Begun in the first frame, changed to the second while recording.
    const std::pair<Bezugssystem, Bezugssystem> faelle[] = {
        {Bezugssystem::EinKoerper(1), Bezugssystem::Mitrotierend(0, 3)},
        {Bezugssystem::Mitrotierend(0, 3), Bezugssystem::Schwerpunkt()},
        {Bezugssystem(), Bezugssystem::EinKoerper(2)}};
    for (const auto& [bezug, danach] : faelle) {
        QTemporaryDir ordner;
        const QString serie = ordner.filePath(QStringLiteral("film"));
        Probelauf p(groesse, ordner.filePath(QStringLiteral("export.bmp")));
        p.bild.BezugSetzen(bezug);
        p.Schritte(3);
        auto film = p.Aufzeichnen(Oeffnen(Filmformat::PngSerie, serie, groesse), 2, Keine(), bezug);
        std::vector<QImage> bitmaps{p.Export()};
        for (int i = 1; i <= 4; ++i) {
            p.Schritte(1);
            // A redraw from the kept strokes, as after a zoom of the window.
            if (i == 2) {
                p.lauf.Neuzeichnen();
                p.lauf.NeuzeichnungAbschliessen();
            }
            // The picture's frame changes, as from the menu: the run redraws in it.
            if (i == 3) {
                p.bild.BezugSetzen(danach);
                film->BezugSetzen(danach, QString(), false);
                p.lauf.Neuzeichnen();
                p.lauf.NeuzeichnungAbschliessen();
            }
            p.Schritte(1);
            bitmaps.push_back(p.Export());
        }
        ASSERT_EQ(film->Beenden(), std::nullopt);
        ASSERT_EQ(Eintraege(serie).size(), 5u);
        for (int i = 0; i < 5; ++i) {
            const QImage bild =
                QImage(QDir(serie).filePath(PngSerie::Dateiname(i)), "PNG").convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(bild, bitmaps[size_t(i)]) << "frame " << i << ", frame of reference " << int(bezug.Typ());
        }
    }
}

TEST(Film, Mp4WebmAndGifDecodeToEveryFrameAtTheirSizeEndingAtTheExport)
{
    QTemporaryDir ordner;
    const QSize groesse(192, 108);
    struct Fall {
        Filmformat format;
        const char* name;
        double toleranz;
    };
    const Fall faelle[] = {{Filmformat::Mp4, "film.mp4", 3},
                           {Filmformat::WebM, "film.webm", 3},
                           {Filmformat::Gif, "film.gif", 0.5}};
    Probelauf p(groesse, ordner.filePath(QStringLiteral("export.bmp")));
    std::vector<std::unique_ptr<Filmaufzeichnung>> aufnahmen;
    for (const Fall& f : faelle) {
        if (const auto grund = Filmschreiber::NichtVerfuegbar(f.format)) {
            ADD_FAILURE() << f.name << ": " << grund->toStdString();
            continue;
        }
        aufnahmen.push_back(
            p.Aufzeichnen(Oeffnen(f.format, ordner.filePath(QString::fromLatin1(f.name)), groesse), 1, Keine()));
    }
    // The first frame is step 0: an empty picture.
    QImage weiss(groesse, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    EXPECT_EQ(p.Export(), weiss);
    p.Schritte(20);
    const QImage letztes = p.Export();
    for (auto& a : aufnahmen)
        ASSERT_EQ(a->Beenden(), std::nullopt);

    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const Dekodiert d = Dekodieren(ordner.filePath(QString::fromLatin1(f.name)));
        EXPECT_EQ(d.bilder, 21);
        EXPECT_EQ(d.groesse, groesse);
        ASSERT_FALSE(d.letztes.isNull());
        EXPECT_LT(Abweichung(d.letztes, letztes), f.toleranz);
    }
}

namespace {
// A disk with `frei` bytes left for every file written through it.
struct VolleSenke : Filmsenke {
    std::unique_ptr<Filmsenke> datei;
    std::shared_ptr<int64_t> frei;
    QString fehler;
    bool Schreiben(const uint8_t* daten, int64_t anzahl) override
    {
        if (!fehler.isEmpty())
            return false;
        if (anzahl > *frei) {
            fehler = QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
            return false;
        }
        *frei -= anzahl;
        return datei->Schreiben(daten, anzahl);
    }
    bool Springen(int64_t stelle) override { return fehler.isEmpty() && datei->Springen(stelle); }
    int64_t Stelle() const override { return datei->Stelle(); }
    int64_t Groesse() const override { return datei->Groesse(); }
    QString Fehler() const override { return fehler.isEmpty() ? datei->Fehler() : fehler; }
    std::optional<QString> Uebernehmen() override
    {
        if (!fehler.isEmpty()) {
            datei->Verwerfen();
            return fehler;
        }
        return datei->Uebernehmen();
    }
    void Verwerfen() override { datei->Verwerfen(); }
};
}  // namespace

TEST(Film, AFullDiskOrNoFrameLeavesNoFileOfTheTargetsNameAndAnOldFilmIntact)
{
    const QSize groesse(128, 96);
    // New noise in every frame: no encoder can make it small.
    uint32_t z = 1;
    const auto rauschen = [&z, groesse] {
        QImage bild(groesse, QImage::Format_RGB32);
        for (int y = 0; y < groesse.height(); ++y)
            for (int x = 0; x < groesse.width(); ++x) {
                z = z * 1664525u + 1013904223u;
                bild.setPixel(x, y, 0xFF000000u | (z >> 8));
            }
        return bild;
    };
    const std::pair<Filmformat, const char*> formate[] = {{Filmformat::Mp4, "film.mp4"},
                                                          {Filmformat::WebM, "film.webm"},
                                                          {Filmformat::Gif, "film.gif"},
                                                          {Filmformat::PngSerie, "film"}};
    for (const auto& [format, name] : formate) {
        SCOPED_TRACE(name);
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath(QString::fromLatin1(name));

        // A folder that is not there is named in the reason, before any frame.
        Filmvorgabe fehlt;
        fehlt.Format = format;
        fehlt.Ziel = ordner.filePath(QStringLiteral("fehlt/") + QString::fromLatin1(name));
        fehlt.Groesse = groesse;
        QString warum;
        EXPECT_FALSE(Filmschreiber::Oeffnen(fehlt, warum));
        EXPECT_TRUE(warum.contains(QStringLiteral("existiert nicht"))) << warum.toStdString();

        // A recording that ends before its first frame writes nothing.
        auto leer = Oeffnen(format, ziel, groesse);
        ASSERT_TRUE(leer);
        EXPECT_EQ(leer->Abschliessen(), std::nullopt);
        EXPECT_EQ(leer->Bilder(), 0);
        EXPECT_EQ(Eintraege(ordner.path()), QStringList());

        // An old film of that name survives a failed new one.
        if (format != Filmformat::PngSerie) {
            QFile alt(ziel);
            ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
            alt.write("alt");
        }
        const auto frei = std::make_shared<int64_t>(20000);
        const Senkenfabrik voll = [frei](const QString& pfad, QString& fehler) -> std::unique_ptr<Filmsenke> {
            auto datei = Dateisenke::Oeffnen(pfad, fehler);
            if (!datei)
                return nullptr;
            auto s = std::make_unique<VolleSenke>();
            s->datei = std::move(datei);
            s->frei = frei;
            return s;
        };
        auto film = Oeffnen(format, ziel, groesse, voll);
        ASSERT_TRUE(film);
        bool gescheitert = false;
        for (int i = 0; i < 30 && !gescheitert; ++i)
            gescheitert = !film->Bild(rauschen());
        const auto grund = film->Abschliessen();
        ASSERT_TRUE(grund.has_value());
        EXPECT_TRUE(grund->contains(QStringLiteral("kein Platz"))) << grund->toStdString();
        if (format == Filmformat::PngSerie) {
            EXPECT_EQ(Eintraege(ordner.path()), QStringList());
        } else {
            EXPECT_EQ(Eintraege(ordner.path()), QStringList{QString::fromLatin1(name)});
            QFile alt(ziel);
            ASSERT_TRUE(alt.open(QIODevice::ReadOnly));
            EXPECT_EQ(alt.readAll(), QByteArray("alt"));
        }
    }
}
