#include "bildbefehle.h"

#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "mainwindow/titel.h"
#include "mainwindow/ueberschreibschutz.h"
#include "view/bildausgabe.h"
#include "view/bildflaeche.h"
#include "view/qtdrucker.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>

Bildbefehle::Bildbefehle(const BildFlaeche& flaeche, Standarddialog& cdg, Rueckfragen& rueckfragen,
                         DruckerFabrik fabrik)
    : flaeche_(flaeche)
    , cdg_(cdg)
    , frage_(rueckfragen)
    , fabrik_(std::move(fabrik))
{
    if (!fabrik_)
        fabrik_ = [](QPrinter& p) { return std::make_unique<QtDrucker>(p); };
}

void Bildbefehle::menBild_Click()
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
    if (UeberschreibtKoerperdatei(pfad, Dokument, QStringLiteral("Das Bild wurde nicht gespeichert"), frage_))
        return;
    if (LetztesBild)
        *LetztesBild = pfad;
    if (const auto fehler = BitmapSchreiben(flaeche_.Image(), pfad))
        frage_.MsgBox(QStringLiteral("Das Bild konnte nicht in der Datei „%1“ gespeichert werden.\n\n%2")
                          .arg(QDir::toNativeSeparators(pfad), *fehler),
                      Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

void Bildbefehle::menDrucken_Click()
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
                      Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
}
