#include "frmplavo.h"

#include "mainwindow/bahndatenexport.h"
#include "mainwindow/beispiele.h"
#include "mainwindow/dateiablage.h"
#include "mainwindow/fensterplatz.h"
#include "mainwindow/filmbefehle.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/plavoicon.h"
#include "mainwindow/qtrueckfragen.h"
#include "mainwindow/qtstandarddialog.h"
#include "mainwindow/qtzeitgeber.h"
#include "mainwindow/titel.h"
#include "mainwindow/bildbefehle.h"
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
const QString Titel = QStringLiteral("Plavo");

// Twips (1/1440 inch) to pixels at the screen's logical resolution.
int TwipsZuPixel(int twips, qreal dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}
}  // namespace

FrmPlavo::FrmPlavo(ModPlavo& mod, FrmPlavoDienste dienste, QWidget* parent)
    : QMainWindow(parent)
    , mod_(mod)
    , cdg_(dienste.cdgPlavo)
    , frage_(dienste.rueckfragen)
    , tim_(dienste.timPlavo)
    , tabelleZeigen_(std::move(dienste.tabelleZeigen))
    , programmBeenden_(std::move(dienste.programmBeenden))
    , lauf_(mod, arbeiter_)
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
    dokument_ = std::make_unique<Dokumentbefehle>(mod_, *cdg_, *frage_);
    film_ = std::make_unique<Filmbefehle>(*this, *cdg_, *frage_, std::move(dienste.filmFragen));
    tim_->SetInterval(100);
    tim_->Timer = [this] { timPlavo_Timer(); };

    setObjectName(QStringLiteral("frmPlavo"));
    setWindowTitle(Titel);
    setWindowIcon(PlavoIcon());
    pic_ = new PicPlavo(this);
    pic_->setObjectName(QStringLiteral("picPlavo"));
    setCentralWidget(pic_);
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
    Laufen(false);

    // Client area 9795 x 7980 twips, centred on the screen.
    QScreen* schirm = QGuiApplication::primaryScreen();
    const qreal dpi = schirm ? schirm->logicalDotsPerInch() : 96.0;
    const QSize client(TwipsZuPixel(9795, dpi), TwipsZuPixel(7980, dpi));
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
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
    AusschnittBreite = 2;
    AusschnittHoehe = 2;
    AusschnittXOffset = 0;
    AusschnittYOffset = 0;
    mod_.Intervall = 2;
    mod_.Gespeichert = true;
    mod_.AufEinenLeerenKoerper();
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
    tabelleUebernommen_ = false;
    if (tabelleZeigen_) {
        // The table commits with OK (TabelleUebernimmt comes just before);
        // the run goes on behind it until then.
        tabelleZeigen_();
    }
    if (tabelleUebernommen_)
        lauf_.KoerperGeaendert();
    tabelleUebernommen_ = false;
}

// The document commands settle the document; what follows is done here.
void FrmPlavo::menNeu_Click()
{
    // New replaces the working set, but the run's count and picture stay.
    SchrittAbschliessen();
    DokumentFolgen(dokument_->Neu());
}
void FrmPlavo::menOeffnen_Click() { DokumentFolgen(dokument_->Oeffnen()); }
void FrmPlavo::menSpeichern_Click() { DokumentFolgen(dokument_->Speichern()); }
void FrmPlavo::menSpUnter_Click() { DokumentFolgen(dokument_->SpeichernUnter()); }

void FrmPlavo::menEnde_Click()
{
    // A film being recorded is asked about first: Exit settles the document for good.
    const std::optional<Filmbefehle::Schluss> film = film_->SchliessenFragen();
    if (!film)
        return;
    const Dokumentfolge folge = dokument_->Ende();
    DokumentFolgen(folge);
    if (!folge.beenden)
        return;
    film_->Schliessen(*film);
    programmBeenden_();
}

bool FrmPlavo::DateiOeffnen(const QString& pfad)
{
    const Dokumentfolge folge = dokument_->DateiOeffnen(pfad);
    DokumentFolgen(folge);
    return folge.geladen;
}

bool FrmPlavo::BeispielOeffnen(const QString& pfad)
{
    const Dokumentfolge folge = dokument_->BeispielOeffnen(pfad);
    DokumentFolgen(folge);
    return folge.geladen;
}

void FrmPlavo::DokumentFolgen(const Dokumentfolge& folge)
{
    if (folge.gespeichert)
        Caption(DokumentTitel(mod_.DateiName));
    if (folge.neu) {
        // A running simulation goes on, with the new document's one body
        // from its start; the step count stays. The redraw this begins
        // leaves the new caption alone.
        lauf_.KoerperGeaendert();
        Caption(DokumentTitel(QString()));
    }
    if (folge.geladen)
        NachDemLaden();
}

void FrmPlavo::NachDemLaden()
{
    // The whole working set, so that a running simulation goes on with the
    // loaded bodies from their start values. When it is not running, the next
    // start builds it again and reports a fault itself.
    const unsigned fehler = lauf_.DokumentGeladen();
    Caption(DokumentTitel(mod_.DateiName));
    const bool laufFehlgeschlagen = fehler != KeinFehler && tim_->Enabled();
    if (laufFehlgeschlagen)
        Fehlerstopp(fehler);
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
    ausgabe.menBild_Click();
}

void FrmPlavo::menDrucken_Click()
{
    NeuzeichnungAbschliessen();
    Bildbefehle ausgabe(pic_->Flaeche(), *cdg_, *frage_);
    ausgabe.Pixelverhaeltnis = pic_->devicePixelRatioF();
    ausgabe.menDrucken_Click();
}

void FrmPlavo::menBahndaten_Click()
{
    if (export_)
        return;
    export_ = Bahndatenexport::Starten(this, mod_, lauf_.Schrittzahl(), *cdg_, *frage_);
    if (!export_)
        return;
    // One export at a time: its progress dialog may not be shown yet.
    QAction* eintrag = Menue(QStringLiteral("menBahndaten"));
    eintrag->setEnabled(false);
    connect(export_, &Bahndatenexport::beendet, this, [eintrag] { eintrag->setEnabled(true); });
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
    const Dokumentfolge folge = dokument_->Schliessen();
    DokumentFolgen(folge);
    if (folge.weiter) {
        film_->Schliessen(*film);
        lauf_.NeuzeichnenAbbrechen();
        ereignis->accept();
    }
    else
        ereignis->ignore();
}
