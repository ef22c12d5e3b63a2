#include "bildausgabe.h"

#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "view/bildflaeche.h"
#include "view/qtdrucker.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QSaveFile>
#include <limits>

namespace {
const QString Titel = QStringLiteral("Plavo");

QString Grund(const QSaveFile& datei)
{
    QString grund;
    switch (datei.error()) {
    case QFileDevice::PermissionsError:
        grund = QStringLiteral("Der Zugriff wurde verweigert.");
        break;
    case QFileDevice::OpenError:
        grund = QStringLiteral("Die Datei kann nicht angelegt werden.");
        break;
    case QFileDevice::RenameError:
        grund = QStringLiteral("Die vorhandene Datei kann nicht ersetzt werden.");
        break;
    default:
        grund = QStringLiteral("Beim Schreiben ist ein Fehler aufgetreten.");
        break;
    }
    if (!datei.errorString().isEmpty())
        grund += QStringLiteral(" (") + datei.errorString() + QLatin1Char(')');
    return grund;
}
}  // namespace

std::optional<QString> BitmapSchreiben(const QImage& bild, const QString& pfad)
{
    if (pfad.isEmpty())
        return QStringLiteral("Es wurde kein Dateiname angegeben.");
    if (bild.isNull())
        return QStringLiteral("Für ein Bild dieser Größe reicht der Arbeitsspeicher nicht.");
    // The bitmap's header counts its bytes in 32 bits, and many programs read
    // them as signed: 2 GiB is the most a bitmap file can hold.
    const qint64 zeile = (qint64(bild.width()) * (bild.depth() == 32 ? 24 : bild.depth()) + 31) / 32 * 4;
    if (54 + 1024 + zeile * bild.height() > std::numeric_limits<qint32>::max())
        return QStringLiteral("Ein Bild von %1 × %2 Pixeln ist zu groß für eine Bitmap-Datei (höchstens 2 GiB). "
                              "Bitte verkleinern Sie das Fenster.")
            .arg(bild.width())
            .arg(bild.height());
    const QFileInfo info(pfad);
    if (!info.absoluteDir().exists())
        return QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(info.absolutePath()));

    // Written beside the target and renamed over it at the end, so a failure
    // never leaves half a bitmap or destroys the old file. Where the folder
    // forbids new files but the file itself may be overwritten, write it directly.
    QSaveFile datei(pfad);
    datei.setDirectWriteFallback(true);
    if (!datei.open(QIODevice::WriteOnly))
        return Grund(datei);
    // The format is named: the extension the user chose does not matter.
    if (!bild.save(&datei, "BMP")) {
        datei.cancelWriting();
        return datei.error() != QFileDevice::NoError ? Grund(datei)
                                                     : QStringLiteral("Das Bild konnte nicht umgewandelt werden.");
    }
    if (!datei.commit())
        return Grund(datei);
    return std::nullopt;
}

bool GleicheDatei(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

bool BildDrucken(const QImage& bild, int kopien, Drucker& drucker)
{
    for (int k = 1; k <= kopien; ++k) {
        drucker.PaintPicture(bild, 0, 0);
        drucker.NewPage();
    }
    drucker.EndDoc();
    return !drucker.Fehler();
}

Bildausgabe::Bildausgabe(const BildFlaeche& flaeche, Standarddialog& cdg, Rueckfragen& rueckfragen,
                         DruckerFabrik fabrik)
    : flaeche_(flaeche)
    , cdg_(cdg)
    , frage_(rueckfragen)
    , fabrik_(std::move(fabrik))
{
    if (!fabrik_)
        fabrik_ = [](QPrinter& p) { return std::make_unique<QtDrucker>(p); };
}

void Bildausgabe::menBild_Click()
{
    // These stay set after the command; the body-file commands set their own.
    cdg_.Filter = QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp");
    cdg_.DefaultExt = QStringLiteral("*.bmp");
    // A name of the dialog's previous use may be the body file: Enter and "Ja"
    // would put a picture in place of the bodies.
    if (LetztesBild && !LetztesBild->isEmpty())
        cdg_.FileName = *LetztesBild;
    else if (!Dokument.isEmpty())
        cdg_.FileName = QFileInfo(Dokument).dir().filePath(QFileInfo(Dokument).completeBaseName() + QStringLiteral(".bmp"));
    else
        cdg_.FileName.clear();
    if (!cdg_.ShowSave())
        return;
    const QString pfad = cdg_.FileName;
    if (GleicheDatei(pfad, Dokument)) {
        frage_.MsgBox(QStringLiteral("Das Bild wurde nicht gespeichert: „%1“ ist die Körperdatei des geöffneten "
                                     "Dokuments und würde überschrieben.\n\nBitte wählen Sie einen anderen Dateinamen.")
                          .arg(QDir::toNativeSeparators(pfad)),
                      Titel, MsgKnoepfe::OK, MsgSymbol::Warnung);
        return;
    }
    if (LetztesBild)
        *LetztesBild = pfad;
    if (const auto fehler = BitmapSchreiben(flaeche_.Image(), pfad))
        frage_.MsgBox(QStringLiteral("Das Bild konnte nicht in der Datei „%1“ gespeichert werden.\n\n%2")
                          .arg(QDir::toNativeSeparators(pfad), *fehler),
                      Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

void Bildausgabe::menDrucken_Click()
{
    cdg_.Flags = cdlPDNoSelection | cdlPDNoPageNums;
    if (!cdg_.ShowPrinter())
        return;
    const int kopien = cdg_.Copies;
    QPrinter* drucker = cdg_.Printer();
    bool gedruckt = false;
    if (drucker) {
        // The copies become pages of their own; a printer that made copies
        // itself would multiply them again.
        drucker->setCopyCount(1);
        const std::unique_ptr<Drucker> job = fabrik_(*drucker);
        QImage bild = flaeche_.Image();
        bild.setDevicePixelRatio(Pixelverhaeltnis > 0 ? Pixelverhaeltnis : 1.0);
        gedruckt = BildDrucken(bild, kopien, *job);
    }
    if (!gedruckt)
        frage_.MsgBox(QStringLiteral("Das Bild konnte nicht gedruckt werden.\n\n"
                                     "Bitte prüfen Sie, ob der Drucker bereit ist, und versuchen Sie es erneut."),
                      Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
}
