// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmdialog.h"

#include "mainwindow/ablageort.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "mainwindow/titel.h"
#include "view/bildausgabe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <limits>

namespace {
QSpinBox* Zahlfeld(int von, int bis, int wert, const char* name)
{
    auto* feld = new QSpinBox;
    feld->setRange(von, bis);
    feld->setValue(wert);
    feld->setObjectName(QString::fromLatin1(name));
    return feld;
}
}  // namespace

Filmdialog::Filmdialog(Standarddialog& cdg, Rueckfragen& rueckfragen, const std::array<QString, 4>& gruende,
                       QSize bildgroesse, const QString& dokument, QWidget* parent)
    : QDialog(parent)
    , cdg_(cdg)
    , frage_(rueckfragen)
    , gruende_(gruende)
    , dokument_(dokument)
{
    setWindowTitle(QStringLiteral("Film aufnehmen"));

    format_ = new QComboBox;
    format_->setObjectName(QStringLiteral("format"));
    format_->addItems({QStringLiteral("MP4 (H.264)"), QStringLiteral("WebM (VP9)"), QStringLiteral("Animiertes GIF"),
                       QStringLiteral("PNG-Bildfolge in einem Ordner")});
    if (auto* modell = qobject_cast<QStandardItemModel*>(format_->model()))
        for (int i = 0; i < 4; ++i)
            if (!Verfuegbar(i)) {
                modell->item(i)->setEnabled(false);
                modell->item(i)->setToolTip(gruende_[std::size_t(i)]);
            }

    const QSize bild = FilmPixel(Filmgroesse::WieBild, bildgroesse);
    groesse_ = new QComboBox;
    groesse_->setObjectName(QStringLiteral("groesse"));
    groesse_->addItems({QStringLiteral("wie das Bild (%1 × %2)").arg(bild.width()).arg(bild.height()),
                        QStringLiteral("1280 × 720"), QStringLiteral("1920 × 1080")});

    schritteProBild_ = Zahlfeld(1, std::numeric_limits<int32_t>::max(), 1, "schritteProBild");
    schritteProBild_->setPrefix(QStringLiteral("ein Bild alle "));
    schritteProBild_->setSuffix(QStringLiteral(" Schritte"));
    // "alle 1 Schritte" does not read.
    schritteProBild_->setSpecialValueText(QStringLiteral("jeden Schritt ein Bild"));
    bildrate_ = Zahlfeld(KleinsteBildrate, GroessteBildrate, StandardBildrate, "bildrate");
    bildrate_->setSuffix(QStringLiteral(" Bilder pro Sekunde"));

    tage_ = new QCheckBox(QStringLiteral("vergangene &Tage"));
    tage_->setObjectName(QStringLiteral("tage"));
    tage_->setChecked(true);
    koerper_ = new QCheckBox(QStringLiteral("&Körper und Namen wie unter Optionen"));
    koerper_->setObjectName(QStringLiteral("koerper"));
    koerper_->setChecked(true);
    massstab_ = new QCheckBox(QStringLiteral("&Maßstab in AE"));
    massstab_->setObjectName(QStringLiteral("massstab"));
    massstab_->setChecked(true);
    auto* einblendungen = new QGroupBox(QStringLiteral("Einblendungen"));
    auto* spalte = new QVBoxLayout(einblendungen);
    spalte->addWidget(tage_);
    spalte->addWidget(koerper_);
    spalte->addWidget(massstab_);

    ziel_ = new QLineEdit;
    ziel_->setObjectName(QStringLiteral("ziel"));
    ziel_->setReadOnly(true);
    ziel_->setMinimumWidth(280);
    durchsuchen_ = new QPushButton(QStringLiteral("&Durchsuchen..."));
    durchsuchen_->setObjectName(QStringLiteral("durchsuchen"));
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(ziel_, 1);
    zeile->addWidget(durchsuchen_);

    schritte_ = Zahlfeld(1, std::numeric_limits<int32_t>::max(), 1000, "schritte");
    schritte_->setSuffix(QStringLiteral(" Schritte"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), format_);
    form->addRow(QStringLiteral("&Größe:"), groesse_);
    form->addRow(QStringLiteral("&Bilder:"), schritteProBild_);
    form->addRow(QStringLiteral("&Wiedergabe:"), bildrate_);
    form->addRow(einblendungen);
    // A label beside a row of two needs its buddy named, or its "&" shows.
    auto* zielText = new QLabel(QStringLiteral("&Ziel:"));
    zielText->setBuddy(durchsuchen_);
    form->addRow(zielText, zeile);
    form->addRow(QStringLiteral("Film &rechnen über:"), schritte_);

    auto* knoepfe = new QDialogButtonBox;
    aufnahme_ = knoepfe->addButton(QStringLiteral("Aufnahme starten"), QDialogButtonBox::AcceptRole);
    aufnahme_->setObjectName(QStringLiteral("aufnahmeStarten"));
    rechnen_ = knoepfe->addButton(QStringLiteral("Film rechnen"), QDialogButtonBox::AcceptRole);
    rechnen_->setObjectName(QStringLiteral("filmRechnen"));
    QPushButton* abbrechen = knoepfe->addButton(QDialogButtonBox::Cancel);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(knoepfe);
    // Only once the button is the dialog's does it become its default; made
    // so before, the dialog took the first button it found ("Durchsuchen...")
    // for Enter.
    aufnahme_->setDefault(true);

    // The buttons decide themselves whether the dialog closes: a missing or
    // refused target keeps it open.
    knoepfe->disconnect(this);
    connect(aufnahme_, &QPushButton::clicked, this, [this] { Starten(Filmwahl::Art::Aufnahme); });
    connect(rechnen_, &QPushButton::clicked, this, [this] { Starten(Filmwahl::Art::Rechnen); });
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(durchsuchen_, &QPushButton::clicked, this, [this] { Durchsuchen(); });
    connect(format_, &QComboBox::currentIndexChanged, this, [this] { FormatGewechselt(); });

    Vorschlagen(Filmwahl{});
}

QString Filmdialog::Filter(Filmformat format)
{
    switch (format) {
    case Filmformat::WebM:
        return QStringLiteral("WebM-Videos (*.webm)|*.webm");
    case Filmformat::Gif:
        return QStringLiteral("Animierte GIF-Bilder (*.gif)|*.gif");
    case Filmformat::PngSerie:
        return QStringLiteral("Ordner für die PNG-Bilder (*)|*");
    case Filmformat::Mp4:
        break;
    }
    return QStringLiteral("MP4-Videos (*.mp4)|*.mp4");
}

QString Filmdialog::Endung(Filmformat format)
{
    switch (format) {
    case Filmformat::WebM:
        return QStringLiteral("webm");
    case Filmformat::Gif:
        return QStringLiteral("gif");
    case Filmformat::PngSerie:
        return QString();
    case Filmformat::Mp4:
        break;
    }
    return QStringLiteral("mp4");
}

void Filmdialog::Vorschlagen(const Filmwahl& wahl)
{
    int index = int(wahl.Format);
    for (int i = 0; i < 4 && !Verfuegbar(index); ++i)
        index = i;
    aufnahme_->setEnabled(Verfuegbar(index));
    rechnen_->setEnabled(Verfuegbar(index));
    {
        // The target follows the format below, not the other way round.
        const QSignalBlocker sperre(format_);
        format_->setCurrentIndex(index);
    }
    groesse_->setCurrentIndex(int(wahl.Groesse));
    schritteProBild_->setValue(wahl.SchritteProBild);
    bildrate_->setValue(wahl.Bildrate);
    tage_->setChecked(wahl.TageZeigen);
    koerper_->setChecked(wahl.KoerperZeigen);
    massstab_->setChecked(wahl.MassstabZeigen);
    ziel_->setText(wahl.Ziel);
    schritte_->setValue(wahl.Schritte);
    FormatGewechselt();
}

Filmwahl Filmdialog::Wahl() const
{
    Filmwahl w;
    w.Format = Filmformat(format_->currentIndex());
    w.Groesse = Filmgroesse(groesse_->currentIndex());
    w.SchritteProBild = schritteProBild_->value();
    w.Bildrate = bildrate_->value();
    w.TageZeigen = tage_->isChecked();
    w.KoerperZeigen = koerper_->isChecked();
    w.MassstabZeigen = massstab_->isChecked();
    w.Ziel = QDir::fromNativeSeparators(ziel_->text());
    w.Ablauf = art_;
    w.Schritte = schritte_->value();
    return w;
}

void Filmdialog::FormatGewechselt()
{
    // A chosen target keeps its name and takes the format's extension; a
    // PNG series is a folder without one.
    const QString pfad = ziel_->text();
    if (pfad.isEmpty())
        return;
    const QFileInfo info(pfad);
    const QString endung = Endung(Filmformat(format_->currentIndex()));
    static const QStringList bekannte = {QStringLiteral("mp4"), QStringLiteral("webm"), QStringLiteral("gif")};
    const QString stamm = bekannte.contains(info.suffix(), Qt::CaseInsensitive) ? info.completeBaseName() : info.fileName();
    const QString name = endung.isEmpty() ? stamm : stamm + QLatin1Char('.') + endung;
    ziel_->setText(QDir::toNativeSeparators(info.dir().filePath(name)));
}

bool Filmdialog::Durchsuchen()
{
    const Filmformat format = Filmformat(format_->currentIndex());
    cdg_.Filter = Filter(format);
    const QString endung = Endung(format);
    cdg_.DefaultExt = endung.isEmpty() ? QString() : QStringLiteral("*.") + endung;
    if (!ziel_->text().isEmpty())
        cdg_.FileName = QDir::fromNativeSeparators(ziel_->text());
    else
        // Beside the body file and named after it (never the body file
        // itself), or in the user's own folder for a shipped example.
        cdg_.FileName = Speichervorschlag(dokument_, endung,
                                          format == Filmformat::Mp4 || format == Filmformat::WebM
                                              ? QStandardPaths::MoviesLocation
                                              : QStandardPaths::PicturesLocation);
    if (!cdg_.ShowSave())
        return false;
    if (Koerperdatei(cdg_.FileName))
        return false;
    ziel_->setText(QDir::toNativeSeparators(cdg_.FileName));
    bestaetigt_ = cdg_.FileName;
    return true;
}

bool Filmdialog::Koerperdatei(const QString& pfad)
{
    if (!GleicheDatei(pfad, dokument_))
        return false;
    frage_.MsgBox(QStringLiteral("„%1“ ist die Körperdatei des geöffneten Dokuments und würde überschrieben."
                                 "\n\nBitte wählen Sie einen anderen Namen für den Film.")
                      .arg(QDir::toNativeSeparators(pfad)),
                  DokumentTitel(QString()), MsgKnoepfe::OK, MsgSymbol::Warnung);
    return true;
}

void Filmdialog::Starten(Filmwahl::Art art)
{
    if (ziel_->text().isEmpty() && !Durchsuchen())
        return;
    // The document may have been saved under this name since it was chosen.
    const Filmwahl wahl = Wahl();
    if (Koerperdatei(wahl.Ziel))
        return;
    // A name typed or kept from the last film would replace an earlier film
    // without a word; the save dialog has asked already.
    if (wahl.Format != Filmformat::PngSerie && QFileInfo(wahl.Ziel).isFile() && !GleicheDatei(wahl.Ziel, bestaetigt_)
        && frage_.MsgBox(QStringLiteral("„%1“ gibt es schon.\n\nSoll der Film die Datei ersetzen?")
                             .arg(QDir::toNativeSeparators(wahl.Ziel)),
                         DokumentTitel(QString()), MsgKnoepfe::JaNein, MsgSymbol::Frage)
               != MsgAntwort::Ja)
        return;
    art_ = art;
    accept();
}

std::optional<Filmwahl> Filmdialog::Fragen()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Wahl();
}
