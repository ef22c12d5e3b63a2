// SPDX-License-Identifier: GPL-3.0-or-later
#include "bahndatenexport.h"

#include "mainwindow/ablageort.h"
#include "mainwindow/rueckfragen.h"
#include "mainwindow/standarddialog.h"
#include "mainwindow/titel.h"
#include "mainwindow/ueberschreibschutz.h"
#include "model/zahltext.h"
#include "view/bildausgabe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QProgressDialog>
#include <cmath>
#include <limits>
#include <utility>

namespace {
// Long enough for a step of a few thousand bodies, short enough that the
// progress dialog answers at once.
constexpr int ScheibeMs = 30;
// Written out in pieces, so a long export needs little memory.
constexpr size_t PufferGrenze = 1 << 20;

BahndatenFormat FormatDesBenutzers(bool festesBezugssystem)
{
    if (QLocale().decimalPoint() == QStringLiteral(","))
        return {';', ',', festesBezugssystem};
    return {',', '.', festesBezugssystem};
}

QString Rechenfehler(unsigned fehler)
{
    return QStringLiteral("Die Bahndaten wurden nicht gespeichert.\n\n") + FehlerText(fehler);
}

QString Vorschlag(const QString& dateiName)
{
    if (dateiName.isEmpty())
        return QStringLiteral("Bahndaten.csv");
    return Speichervorschlag(dateiName, QStringLiteral("csv"), QStandardPaths::DocumentsLocation);
}
}  // namespace

Bahndatenexport* Bahndatenexport::Starten(QWidget* fenster, const ModPlavo& mod, int32_t schrittzahl,
                                          Standarddialog& cdg, Rueckfragen& rueckfragen, Eingriffe eingriffe,
                                          bool festesBezugssystem)
{
    // The body-file commands propose the file chosen last; that stays a body file.
    const QString bisher = cdg.FileName;
    cdg.Filter = QStringLiteral("CSV-Dateien (*.csv)|*.csv");
    cdg.DefaultExt = QStringLiteral("*.csv");
    cdg.FileName = Vorschlag(mod.DateiName);
    const bool gewaehlt = cdg.ShowSave() && !cdg.FileName.isEmpty();
    const QString pfad = cdg.FileName;
    cdg.FileName = bisher;
    if (!gewaehlt)
        return nullptr;
    // The dialog may be pointed at the document's own file; the bodies are worth more.
    if (UeberschreibtKoerperdatei(pfad, mod.DateiName, QStringLiteral("Die Bahndaten wurden nicht gespeichert"),
                                  rueckfragen))
        return nullptr;

    const int32_t vorgabe = BahndatenAbstand(schrittzahl, mod.KoerperStart.size());
    const std::optional<QString> antwort = rueckfragen.InputBox(
        (schrittzahl == 1 ? QStringLiteral("Jeden wievielten Schritt ausgeben? (1 Schritt berechnet)")
                          : QStringLiteral("Jeden wievielten Schritt ausgeben? (%1 Schritte berechnet)").arg(schrittzahl)),
        Programmtitel(),
        QString::number(vorgabe));
    if (!antwort)
        return nullptr;
    const std::optional<double> abstand = TextZuZahl(*antwort);
    if (!abstand || !(*abstand >= 1 && *abstand <= std::numeric_limits<int32_t>::max())
        || std::trunc(*abstand) != *abstand) {
        rueckfragen.MsgBox(QStringLiteral("Bitte geben Sie als Abstand eine ganze Zahl ab 1 ein."),
                           Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Warnung);
        return nullptr;
    }

    auto* export_ = new Bahndatenexport(fenster, mod, schrittzahl, int32_t(*abstand), pfad, rueckfragen,
                                        std::move(eingriffe), festesBezugssystem);
    // One that fails at once has reported it and goes by itself.
    return export_->Oeffnen() ? export_ : nullptr;
}

Bahndatenexport::Bahndatenexport(QWidget* fenster, const ModPlavo& mod, int32_t schrittzahl, int32_t abstand,
                                 const QString& pfad, Rueckfragen& rueckfragen, Eingriffe eingriffe,
                                 bool festesBezugssystem)
    : QObject(fenster)
    , pfad_(pfad)
    , frage_(rueckfragen)
    , wiedergabe_(mod, schrittzahl, abstand, FormatDesBenutzers(festesBezugssystem), std::move(eingriffe))
    , datei_(pfad)
{
    datei_.setDirectWriteFallback(false);
    scheiben_.setInterval(0);
    connect(&scheiben_, &QTimer::timeout, this, &Bahndatenexport::Scheibe);

    fortschritt_ = new QProgressDialog(QStringLiteral("Die Bahndaten werden berechnet und gespeichert..."),
                                       QStringLiteral("Abbrechen"), 0, std::max(schrittzahl, 1), fenster);
    fortschritt_->setWindowTitle(Programmtitel());
    fortschritt_->setWindowModality(Qt::WindowModal);
    fortschritt_->setMinimumDuration(500);
    fortschritt_->setAutoClose(false);
    fortschritt_->setAutoReset(false);
    fortschritt_->setValue(0);
    connect(fortschritt_, &QProgressDialog::canceled, this, &Bahndatenexport::Abbrechen);
    connect(fortschritt_, &QDialog::rejected, this, &Bahndatenexport::Abbrechen);
}

Bahndatenexport::~Bahndatenexport()
{
    // Whatever was not committed is discarded with the file object.
    delete fortschritt_;
}

void Bahndatenexport::Verwerfen()
{
    // A commit after the cancel removes the temporary file at once (a failed
    // commit has removed it already).
    if (!datei_.isOpen())
        return;
    datei_.cancelWriting();
    datei_.commit();
}

void Bahndatenexport::Scheitern(const QString& text)
{
    Verwerfen();
    frage_.MsgBox(text, Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Kritisch);
    Beenden(false);
}

QString Bahndatenexport::Schreibfehler(const QString& grund) const
{
    return QStringLiteral("Die Bahndaten konnten nicht in der Datei „%1“ gespeichert werden.\n\n%2")
        .arg(QDir::toNativeSeparators(pfad_), grund);
}

bool Bahndatenexport::Oeffnen()
{
    if (!datei_.open(QIODevice::WriteOnly)) {
        Scheitern(QStringLiteral("Die Datei „%1“ kann nicht angelegt werden.\n\n%2")
                      .arg(QDir::toNativeSeparators(pfad_), datei_.errorString()));
        return false;
    }
    // UTF-8 with its byte order mark, by which spreadsheets recognise it.
    puffer_ = "\xEF\xBB\xBF";
    const unsigned fehler = wiedergabe_.Beginnen(puffer_);
    if (fehler != KeinFehler) {
        Scheitern(Rechenfehler(fehler));
        return false;
    }
    scheiben_.start();
    return true;
}

void Bahndatenexport::Scheibe()
{
    if (fertig_)
        return;
    if (fortschritt_ && fortschritt_->wasCanceled()) {
        Abbrechen();
        return;
    }
    QElapsedTimer uhr;
    uhr.start();
    unsigned fehler = KeinFehler;
    while (!wiedergabe_.Fertig() && fehler == KeinFehler && uhr.elapsed() < ScheibeMs) {
        fehler = wiedergabe_.Weiter(puffer_, 1);
        if (puffer_.size() >= PufferGrenze && !Schreiben())
            return;
    }
    if (fehler != KeinFehler) {
        Scheitern(Rechenfehler(fehler));
        return;
    }
    if (wiedergabe_.Fertig()) {
        if (!Schreiben())
            return;
        if (!datei_.commit()) {
            Scheitern(Schreibfehler(datei_.errorString()));
            return;
        }
        Beenden(true);
        return;
    }
    // A modal progress dialog handles events inside setValue: this slice is
    // over by then, and the timer is stopped so that no slice runs inside it.
    scheiben_.stop();
    if (fortschritt_)
        fortschritt_->setValue(wiedergabe_.Schritt());
    if (!fertig_)
        scheiben_.start();
}

bool Bahndatenexport::Schreiben()
{
    const auto n = qint64(puffer_.size());
    if (datei_.write(puffer_.data(), n) != n) {
        Scheitern(Schreibfehler(datei_.errorString()));
        return false;
    }
    puffer_.clear();
    return true;
}

void Bahndatenexport::Abbrechen()
{
    if (fertig_)
        return;
    Verwerfen();
    Beenden(false);
}

void Bahndatenexport::Beenden(bool geschrieben)
{
    fertig_ = true;
    scheiben_.stop();
    if (fortschritt_)
        fortschritt_->hide();
    emit beendet(geschrieben);
    deleteLater();
}
