// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmplavo.h"

#include "mainwindow/bahndatenexport.h"
#include "mainwindow/beispiele.h"
#include "mainwindow/bildbefehle.h"
#include "mainwindow/dateiablage.h"
#include "mainwindow/fensterplatz.h"
#include "mainwindow/filmbefehle.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/plavoicon.h"
#include "mainwindow/qtrueckfragen.h"
#include "mainwindow/qtstandarddialog.h"
#include "mainwindow/qtzeitgeber.h"
#include "mainwindow/statusleiste.h"
#include "mainwindow/titel.h"
#include "view/ausschnittumalle.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <cmath>

namespace {
// Twips (1/1440 inch) to pixels at the screen's logical resolution.
int TwipsZuPixel(int twips, qreal dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}
}  // namespace

FrmPlavo::FrmPlavo(Dokument& dokument, FrmPlavoDienste dienste, QWidget* parent)
    : QMainWindow(parent)
    , dokument_(dokument)
    , mod_(dokument.Daten())
    , cdg_(dienste.cdgPlavo)
    , frage_(dienste.rueckfragen)
    , tim_(dienste.timPlavo)
    , tabelleZeigen_(std::move(dienste.tabelleZeigen))
    , tabelleZeigenBei_(std::move(dienste.tabelleZeigenBei))
    , programmBeenden_(std::move(dienste.programmBeenden))
    , lauf_(mod_, arbeiter_)
{
    if (!cdg_) {
        eigenerCdg_ = std::make_unique<QtStandarddialog>(this);
        cdg_ = eigenerCdg_.get();
    }
    if (!frage_) {
        eigeneFrage_ = std::make_unique<QtRueckfragen>(this);
        frage_ = eigeneFrage_.get();
    }
    if (!tim_)
        tim_ = new QtZeitgeber(this);
    if (!programmBeenden_) {
        // The document is settled by now, so closing the window asks nothing more.
        programmBeenden_ = [this] {
            close();
            QCoreApplication::quit();
        };
    }
    koerperWaehlen_ = std::move(dienste.koerperWaehlen);
    befehle_ = std::make_unique<Dokumentbefehle>(dokument_, *cdg_, *frage_);
    film_ = std::make_unique<Filmbefehle>(*this, *cdg_, *frage_, std::move(dienste.filmFragen));
    tim_->SetInterval(100);
    tim_->Timer = [this] { timPlavo_Timer(); };

    setObjectName(QStringLiteral("frmPlavo"));
    setWindowTitle(Programmtitel());
    setWindowIcon(PlavoIcon());
    pic_ = new PicPlavo(this);
    pic_->setObjectName(QStringLiteral("picPlavo"));
    setCentralWidget(pic_);
    status_ = new Statusleiste(lauf_, this);
    setStatusBar(status_);
    connect(this, &FrmPlavo::laeuftGeaendert, status_, &Statusleiste::LaufZeigen);
    LaufVerbinden();
    // Qt repaints a whole window whose colours differ when inactive, at every
    // dialog; a giant window takes seconds for that. Nothing here needs them.
    QPalette farben = palette();
    for (int rolle = 0; rolle < QPalette::NColorRoles; ++rolle)
        farben.setBrush(QPalette::Inactive, QPalette::ColorRole(rolle),
                        farben.brush(QPalette::Active, QPalette::ColorRole(rolle)));
    setPalette(farben);
    setAcceptDrops(true);
    MenuesAnlegen();
    film_->MenuesZeigen();
    AnsichtAnlegen();
    FormAnlegen();
    Laufen(false);
    DokumentVerbinden();

    // Client area 9795 x 7980 twips, centred on the screen; the status bar comes below it.
    QScreen* schirm = QGuiApplication::primaryScreen();
    const qreal dpi = schirm ? schirm->logicalDotsPerInch() : 96.0;
    const QSize client(TwipsZuPixel(9795, dpi), TwipsZuPixel(7980, dpi));
    resize(client.width(), client.height() + menuBar()->sizeHint().height() + status_->sizeHint().height());
    if (schirm) {
        QRect r = geometry();
        r.moveCenter(schirm->availableGeometry().center());
        move(r.topLeft());
    }
    Form_Load();
}

FrmPlavo::~FrmPlavo()
{
    tim_->Timer = nullptr;
    // The energy window reads the run: it goes before the run does, not
    // with the window's children after it. Nothing the run announces from
    // here on reaches a window that is going.
    delete energie_;
    film_.reset();
    lauf_.disconnect();
    // The document outlives the window; its commands stop reaching the run.
    dokument_.disconnect(this);
    dokument_.BegleitungSetzen({});
}

QAction* FrmPlavo::Menue(const QString& name) const
{
    for (QAction* a : findChildren<QAction*>())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void FrmPlavo::Caption(const QString& text)
{
    QString t = text;
    setWindowTitle(t.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void FrmPlavo::Form_Load()
{
    ansicht_.Setzen(Ausschnitt{});
    dokument_.Anfangen();
}

void FrmPlavo::resizeEvent(QResizeEvent* ereignis)
{
    QMainWindow::resizeEvent(ereignis);
    Form_Resize();
}

void FrmPlavo::menEnergie_Click()
{
    if (!energie_) {
        energie_ = new FrmEnergie(lauf_, arbeiter_, this);
        // Beside the main window, so the picture stays in view; never over the menu bar.
        DanebenLegen(*energie_, *this);
        // F5, Ctrl+Q, F6 and the rest work while the energy window has the focus, too.
        for (QAction* a : findChildren<QAction*>())
            if (!a->shortcut().isEmpty())
                energie_->addAction(a);
    }
    energie_->show();
    energie_->raise();
    energie_->activateWindow();
}

void FrmPlavo::menTabelle_Click()
{
    // The table commits with OK, through the document; the run goes on behind it until then.
    if (tabelleZeigen_)
        tabelleZeigen_();
}

void FrmPlavo::menRueckgaengig_Click()
{
    dokument_.Rueckgaengig();
}

void FrmPlavo::menWiederherstellen_Click()
{
    dokument_.Wiederherstellen();
}

void FrmPlavo::BearbeitenAnzeigen()
{
    const auto anzeigen = [](QAction* eintrag, const QString& wort, const QString& befehl) {
        eintrag->setEnabled(!befehl.isEmpty());
        eintrag->setText(befehl.isEmpty() ? wort : wort + QStringLiteral(": ") + befehl);
    };
    anzeigen(Menue(QStringLiteral("menRückgängig")), QStringLiteral("&Rückgängig"), dokument_.RueckgaengigText());
    anzeigen(Menue(QStringLiteral("menWiederherstellen")), QStringLiteral("&Wiederherstellen"),
             dokument_.WiederherstellenText());
}

void FrmPlavo::DokumentVerbinden()
{
    // Every change of the document, from whichever command, its undo or its
    // redo, reaches the run through the same door; the picture, the dots and
    // the energy window follow the run. A step in flight comes first, as if
    // the change came after its tick.
    connect(&dokument_, &Dokument::vorAenderung, &lauf_, &Lauf::SchrittAbschliessen);
    // The frame follows its bodies before the run draws the changed set in it.
    connect(&dokument_, &Dokument::koerperGeaendert, this, [this] { BezugNachfuehren(false); });
    connect(&dokument_, &Dokument::geladen, this, [this] { BezugNachfuehren(true); });
    connect(&dokument_, &Dokument::koerperGeaendert, &lauf_, &Lauf::KoerperGeaendert);
    connect(&dokument_, &Dokument::intervallGeaendert, &lauf_, &Lauf::IntervallGeaendert);
    connect(&dokument_, &Dokument::geladen, this, &FrmPlavo::DokumentGeladen);
    connect(&dokument_, &Dokument::stapelGeaendert, this, &FrmPlavo::BearbeitenAnzeigen);
    connect(&dokument_, &Dokument::koerperGeaendert, this, &FrmPlavo::BezugHinweisen);
    connect(&dokument_, &Dokument::geladen, this, &FrmPlavo::BezugHinweisen);
}

void FrmPlavo::DokumentGeladen()
{
    // The whole working set at once, so that a running simulation goes on
    // with the loaded bodies from their start values.
    ladefehler_ = lauf_.DokumentGeladen();
}

// The document commands settle the document; the run follows the document's
// signals, and what else follows is done here.
void FrmPlavo::menNeu_Click() { DokumentFolgen(befehle_->Neu()); }
void FrmPlavo::menOeffnen_Click() { DokumentFolgen(befehle_->Oeffnen()); }
void FrmPlavo::menSpeichern_Click() { DokumentFolgen(befehle_->Speichern()); }
void FrmPlavo::menSpUnter_Click() { DokumentFolgen(befehle_->SpeichernUnter()); }

void FrmPlavo::menEnde_Click()
{
    // A film being recorded is asked about first: Exit settles the document for good.
    const std::optional<Filmbefehle::Schluss> film = film_->SchliessenFragen();
    if (!film)
        return;
    const Dokumentfolge folge = befehle_->Ende();
    DokumentFolgen(folge);
    if (!folge.beenden)
        return;
    film_->Schliessen(*film);
    programmBeenden_();
}

bool FrmPlavo::DateiOeffnen(const QString& pfad)
{
    const Dokumentfolge folge = befehle_->DateiOeffnen(pfad);
    DokumentFolgen(folge);
    return folge.geladen;
}

bool FrmPlavo::BeispielOeffnen(const QString& pfad)
{
    const Dokumentfolge folge = befehle_->BeispielOeffnen(pfad);
    // An example shows all its bodies and their orbits, round, whatever the
    // section was; before a start on opening, so nothing is drawn twice.
    if (folge.geladen)
        if (const std::optional<Ausschnitt> a = AusschnittUmBahnen(mod_.KoerperStart, Seitenverhaeltnis()))
            AusschnittSetzen(*a);
    DokumentFolgen(folge);
    return folge.geladen;
}

void FrmPlavo::DokumentFolgen(const Dokumentfolge& folge)
{
    if (folge.gespeichert) {
        Caption(DokumentTitel(mod_.DateiName));
        status_->Bestaetigen(QStringLiteral("Gespeichert: ") + Dateiteil(mod_.DateiName));
    }
    // A running simulation goes on, with the new document's one body from
    // its start, and its step count stays; the redraw this began leaves the
    // new caption alone.
    if (folge.neu)
        Caption(DokumentTitel(QString()));
    if (folge.geladen)
        NachDemLaden();
}

void FrmPlavo::NachDemLaden()
{
    // The run was built from the loaded bodies as they came. When it is not
    // running, the next start builds it again and reports a fault itself.
    Caption(DokumentTitel(mod_.DateiName));
    const bool laufFehlgeschlagen = ladefehler_ != KeinFehler && tim_->Enabled();
    if (laufFehlgeschlagen)
        Fehlerstopp(ladefehler_);
    // The check marks are read now; only one of the three is ever set. A
    // fault already reported would only be reported again by the start.
    if (Menue(QStringLiteral("menTabAnz"))->isChecked())
        menTabelle_Click();
    if (Menue(QStringLiteral("menSimStart"))->isChecked() && !laufFehlgeschlagen)
        menStart_Click();
}

void FrmPlavo::menBild_Click()
{
    NeuzeichnungAbschliessen();
    Bildbefehle ausgabe(pic_->Flaeche(), *cdg_, *frage_);
    ausgabe.Dokument = mod_.DateiName;
    ausgabe.LetztesBild = &letztesBild_;
    if (const std::optional<QString> pfad = ausgabe.menBild_Click())
        status_->Bestaetigen(QStringLiteral("Bild gespeichert: ") + Dateiteil(*pfad));
}

void FrmPlavo::menDrucken_Click()
{
    NeuzeichnungAbschliessen();
    Bildbefehle ausgabe(pic_->Flaeche(), *cdg_, *frage_);
    ausgabe.Pixelverhaeltnis = pic_->devicePixelRatioF();
    if (ausgabe.menDrucken_Click())
        status_->Bestaetigen(QStringLiteral("Bild gedruckt"));
}

void FrmPlavo::menBahndaten_Click()
{
    if (export_)
        return;
    export_ = Bahndatenexport::Starten(this, mod_, lauf_.Schrittzahl(), *cdg_, *frage_, lauf_.Eingriffsliste(),
                                       !pic_->Bezug().Fest());
    if (!export_)
        return;
    // One export at a time: its progress dialog may not be shown yet.
    QAction* eintrag = Menue(QStringLiteral("menBahndaten"));
    eintrag->setEnabled(false);
    connect(export_, &Bahndatenexport::beendet, this,
            [this, eintrag, datei = Dateiteil(export_->Pfad())](bool geschrieben) {
                eintrag->setEnabled(true);
                if (geschrieben)
                    status_->Bestaetigen(QStringLiteral("Bahndaten exportiert: ") + datei);
            });
}

void FrmPlavo::menFilm_Click()
{
    film_->menFilm_Click();
}

void FrmPlavo::menFilmEnde_Click()
{
    film_->Beenden();
}

void FrmPlavo::dragEnterEvent(QDragEnterEvent* ereignis)
{
    if (!AbgelegteKoerperdatei(ereignis->mimeData()).isEmpty())
        ereignis->acceptProposedAction();
}

void FrmPlavo::dragMoveEvent(QDragMoveEvent* ereignis)
{
    if (!AbgelegteKoerperdatei(ereignis->mimeData()).isEmpty())
        ereignis->acceptProposedAction();
}

void FrmPlavo::dropEvent(QDropEvent* ereignis)
{
    const QString pfad = AbgelegteKoerperdatei(ereignis->mimeData());
    if (pfad.isEmpty())
        return;
    ereignis->acceptProposedAction();
    // Open after the drop has ended: the prompt and messages must not keep
    // the file manager waiting for the end of its drag.
    QMetaObject::invokeMethod(this, [this, pfad] { DateiOeffnen(pfad); }, Qt::QueuedConnection);
}

void FrmPlavo::closeEvent(QCloseEvent* ereignis)
{
    const std::optional<Filmbefehle::Schluss> film = film_->SchliessenFragen();
    if (!film) {
        ereignis->ignore();
        return;
    }
    const Dokumentfolge folge = befehle_->Schliessen();
    DokumentFolgen(folge);
    if (folge.weiter) {
        film_->Schliessen(*film);
        lauf_.NeuzeichnenAbbrechen();
        ereignis->accept();
    }
    else
        ereignis->ignore();
}
