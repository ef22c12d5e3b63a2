// SPDX-License-Identifier: GPL-3.0-or-later
#include "bildbefehle.h"

#include "mainwindow/ablageort.h"
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

namespace {
bool IstPng(const QString& pfad)
{
    return QFileInfo(pfad).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
}
}  // namespace

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

std::optional<QString> Bildbefehle::menBild_Click()
{
    // These stay set after the command; the body-file commands set their own.
    // The bitmap comes first, as it always has; PNG is smaller and opens everywhere.
    cdg_.Filter = QStringLiteral("Plavo-Dateien (*.bmp)|*.bmp|PNG-Bilder (*.png)|*.png");
    cdg_.DefaultExt = QStringLiteral("*.bmp");
    // A name of the dialog's previous use may be the body file: Enter and "Ja"
    // would put a picture in place of the bodies.
    if (LetztesBild && !LetztesBild->isEmpty())
        cdg_.FileName = *LetztesBild;
    else
        cdg_.FileName = Speichervorschlag(Dokument, QStringLiteral("bmp"), QStandardPaths::PicturesLocation);
    cdg_.FilterIndex = IstPng(cdg_.FileName) ? 2 : 1;
    if (!cdg_.ShowSave())
        return std::nullopt;
    const QString pfad = cdg_.FileName;
    if (UeberschreibtKoerperdatei(pfad, Dokument, QStringLiteral("Das Bild wurde nicht gespeichert"), frage_))
        return std::nullopt;
    if (LetztesBild)
        *LetztesBild = pfad;
    // A bitmap whatever the name, unless PNG was chosen or the name asks for it.
    const bool png = cdg_.FilterIndex == 2 || IstPng(pfad);
    if (const auto fehler = png ? BildSchreiben(flaeche_.Image(), pfad, "PNG") : BitmapSchreiben(flaeche_.Image(), pfad)) {
        frage_.MsgBox(QStringLiteral("Das Bild konnte nicht in der Datei „%1“ gespeichert werden.\n\n%2")
                          .arg(QDir::toNativeSeparators(pfad), *fehler),
                      Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
        return std::nullopt;
    }
    return pfad;
}

bool Bildbefehle::menDrucken_Click()
{
    cdg_.Flags = cdlPDNoSelection | cdlPDNoPageNums;
    if (!cdg_.ShowPrinter())
        return false;
    const int kopien = cdg_.Copies;
    QPrinter* drucker = cdg_.Printer();
    bool gedruckt = false;
    if (drucker) {
        // The copies become pages of their own; a printer that made copies
        // itself would multiply them again.
        drucker->setCopyCount(1);
        const std::unique_ptr<Drucker> job = fabrik_(*drucker);
        gedruckt = BildDrucken(flaeche_.Image(), kopien, *job, Pixelverhaeltnis);
    }
    if (!gedruckt)
        frage_.MsgBox(QStringLiteral("Das Bild konnte nicht gedruckt werden.\n\n"
                                     "Bitte prüfen Sie, ob der Drucker bereit ist, und versuchen Sie es erneut."),
                      Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
    return gedruckt;
}
