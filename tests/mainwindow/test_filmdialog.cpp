#include "mainwindow/filmdialog.h"

#include "support/skriptdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
template <typename T>
T* Feld(const Filmdialog& d, const char* name)
{
    T* feld = d.findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(feld) << name;
    return feld;
}
}  // namespace

TEST(Filmdialog, OffersWhatCanBeWrittenAsksForATargetBesideTheDocumentAndNeverTakesTheBodyFile)
{
    QTemporaryDir ordner;
    const QString dokument = ordner.filePath(QStringLiteral("system.plv"));
    QFile(dokument).open(QIODevice::WriteOnly);
    SkriptStandarddialog cdg;
    SkriptRueckfragen frage;
    const QString fehlt = QStringLiteral("Der installierten Bibliothek libavcodec fehlt ein VP9-Kodierer.");
    Filmdialog d(cdg, frage, {QString(), fehlt, QString(), QString()}, QSize(161, 91), dokument);

    // The defaults; a format that cannot be written is disabled and says why.
    const Filmwahl w = d.Wahl();
    EXPECT_EQ(w.Format, Filmformat::Mp4);
    EXPECT_EQ(w.Groesse, Filmgroesse::WieBild);
    EXPECT_EQ(w.SchritteProBild, 1);
    EXPECT_EQ(w.Bildrate, 30);
    EXPECT_TRUE(w.TageZeigen && w.KoerperZeigen && w.MassstabZeigen);
    EXPECT_EQ(Feld<QComboBox>(d, "groesse")->itemText(0), QStringLiteral("wie das Bild (160 × 90)"));
    EXPECT_EQ(Feld<QSpinBox>(d, "bildrate")->minimum(), 10);
    EXPECT_EQ(Feld<QSpinBox>(d, "bildrate")->maximum(), 60);
    auto* modell = qobject_cast<QStandardItemModel*>(Feld<QComboBox>(d, "format")->model());
    ASSERT_TRUE(modell);
    EXPECT_FALSE(modell->item(1)->isEnabled());
    EXPECT_EQ(modell->item(1)->toolTip(), fehlt);
    EXPECT_TRUE(modell->item(3)->isEnabled());
    Filmwahl webm;
    webm.Format = Filmformat::WebM;
    d.Vorschlagen(webm);
    EXPECT_EQ(d.Wahl().Format, Filmformat::Mp4);

    // "Film rechnen" without a target asks for one, proposing the document's
    // name; the body file itself is refused and the dialog stays open.
    cdg.Antworten = {dokument};
    Feld<QPushButton>(d, "filmRechnen")->click();
    ASSERT_EQ(cdg.Aufrufe.size(), 1u);
    EXPECT_EQ(cdg.Aufrufe[0].Filter, QStringLiteral("MP4-Videos (*.mp4)|*.mp4"));
    EXPECT_EQ(cdg.Aufrufe[0].FileName, ordner.filePath(QStringLiteral("system.mp4")));
    ASSERT_EQ(frage.Gemeldet.size(), 1u);
    EXPECT_TRUE(frage.Gemeldet[0].Text.contains(QStringLiteral("Körperdatei")));
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Wahl().Ziel.isEmpty());

    // Cancelling the save dialog keeps the dialog open too.
    cdg.Antworten = {std::nullopt};
    Feld<QPushButton>(d, "aufnahmeStarten")->click();
    EXPECT_NE(d.result(), QDialog::Accepted);

    const QString film = ordner.filePath(QStringLiteral("film.mp4"));
    cdg.Antworten = {film};
    Feld<QSpinBox>(d, "schritte")->setValue(250);
    Feld<QCheckBox>(d, "tage")->setChecked(false);
    Feld<QPushButton>(d, "filmRechnen")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    Filmwahl r = d.Wahl();
    EXPECT_EQ(r.Ablauf, Filmwahl::Art::Rechnen);
    EXPECT_EQ(r.Ziel, film);
    EXPECT_EQ(r.Schritte, 250);
    EXPECT_FALSE(r.TageZeigen);

    // The chosen name follows the format: a folder for the PNG series.
    Feld<QComboBox>(d, "format")->setCurrentIndex(int(Filmformat::PngSerie));
    EXPECT_EQ(d.Wahl().Ziel, ordner.filePath(QStringLiteral("film")));
    Feld<QComboBox>(d, "format")->setCurrentIndex(int(Filmformat::Gif));
    EXPECT_EQ(d.Wahl().Ziel, ordner.filePath(QStringLiteral("film.gif")));
}
