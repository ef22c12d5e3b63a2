#include "frmplavo.h"

#include "mainwindow/bahndatenexport.h"
#include "mainwindow/beispiele.h"
#include "mainwindow/dateiablage.h"
#include "mainwindow/dokumentbefehle.h"
#include "mainwindow/neuzeichnung.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/plavoicon.h"
#include "mainwindow/qtrueckfragen.h"
#include "mainwindow/qtstandarddialog.h"
#include "mainwindow/qtzeitgeber.h"
#include "sim/aufbau.h"
#include "view/bildausgabe.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
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

QString FehlerText(unsigned fehler)
{
    if (fehler & FehlerZaehlerUeberlauf)
        return QStringLiteral("Die Simulation wurde angehalten: Die höchste mögliche Schrittzahl ist erreicht.");
    QStringList gruende;
    if (fehler & FehlerUeberlauf)
        gruende << QStringLiteral("Überlauf");
    if (fehler & FehlerDivisionDurchNull)
        gruende << QStringLiteral("Division durch null");
    if (fehler & FehlerUngueltig)
        gruende << QStringLiteral("ungültige Rechenoperation");
    if ((fehler & FehlerNichtEndlich) && gruende.isEmpty())
        gruende << QStringLiteral("Wert nicht endlich");
    return QStringLiteral("Die Simulation wurde wegen eines Rechenfehlers angehalten (%1).\n\n"
                          "Bitte prüfen Sie Massen, Positionen und Geschwindigkeiten der Körper.")
        .arg(gruende.join(QStringLiteral(", ")));
}

FrmPlavo::FrmPlavo(ModPlavo& mod, FrmPlavoDienste dienste, QWidget* parent)
    : QMainWindow(parent)
    , mod_(mod)
    , cdg_(dienste.cdgPlavo)
    , frage_(dienste.rueckfragen)
    , tim_(dienste.timPlavo)
    , tabelleZeigen_(std::move(dienste.tabelleZeigen))
    , neuzeichnung_(std::make_unique<Neuzeichnung>(*this, werk_, speicher_))
    , dokument_(std::make_unique<Dokumentbefehle>(*this, std::move(dienste.programmBeenden)))
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
    tim_->SetInterval(100);
    tim_->Timer = [this] { timPlavo_Timer(); };

    setObjectName(QStringLiteral("frmPlavo"));
    setWindowTitle(Titel);
    setWindowIcon(PlavoIcon());
    pic_ = new PicPlavo(this);
    pic_->setObjectName(QStringLiteral("picPlavo"));
    setCentralWidget(pic_);
    // Qt repaints a whole window whose colours differ when inactive, at every
    // dialog; a giant window takes seconds for that. Nothing here needs them.
    QPalette farben = palette();
    for (int rolle = 0; rolle < QPalette::NColorRoles; ++rolle)
        farben.setBrush(QPalette::Inactive, QPalette::ColorRole(rolle),
                        farben.brush(QPalette::Active, QPalette::ColorRole(rolle)));
    setPalette(farben);
    setAcceptDrops(true);
    MenuesAnlegen();
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
    neuzeichnung_.reset();
}

void FrmPlavo::MenuesAnlegen()
{
    struct Eintrag {
        int ebene;              // 1 menu bar, 2 item, 3 submenu item; 0 separator
        const char* name;
        const char* text;
        QKeySequence kurz;
        void (FrmPlavo::*handler)();
    };
    const Eintrag eintraege[] = {
        {1, "menDatei", "&Datei", {}, nullptr},
        {2, "menNeu", "&Neu", QKeySequence(Qt::CTRL | Qt::Key_N), &FrmPlavo::menNeu_Click},
        {2, "menÖffnen", "Ö&ffnen...", QKeySequence(Qt::CTRL | Qt::Key_O), &FrmPlavo::menOeffnen_Click},
        {2, "menSpeichern", "&Speichern", QKeySequence(Qt::CTRL | Qt::Key_S), &FrmPlavo::menSpeichern_Click},
        {2, "menSpUnter", "Speichern &unter...", {}, &FrmPlavo::menSpUnter_Click},
        {0, "menDatei0", "-", {}, nullptr},
        {2, "menBild", "&Bild speichern...", {}, &FrmPlavo::menBild_Click},
        {2, "menDrucken", "&Drucken...", QKeySequence(Qt::CTRL | Qt::Key_P), &FrmPlavo::menDrucken_Click},
        {2, "menBahndaten", "Bahndaten e&xportieren...", {}, &FrmPlavo::menBahndaten_Click},
        {2, "menBeispiele", "Beis&piele", {}, nullptr},
        {0, "menDatei1", "-", {}, nullptr},
        {2, "menEnde", "Be&enden", {}, &FrmPlavo::menEnde_Click},
        {1, "menSimulation", "&Simulation", {}, nullptr},
        {2, "menTabelle", "&Tabelle anzeigen", QKeySequence(Qt::CTRL | Qt::Key_T), &FrmPlavo::menTabelle_Click},
        {2, "menZurück", "&Zurücksetzen", QKeySequence(Qt::CTRL | Qt::Key_R), &FrmPlavo::menZurueck_Click},
        {2, "menStart", "&Starten", QKeySequence(Qt::Key_F5), &FrmPlavo::menStart_Click},
        {2, "menStop", "&Anhalten", QKeySequence(Qt::CTRL | Qt::Key_Q), &FrmPlavo::menStop_Click},
        {2, "menEinzelschritt", "E&inzelschritt", QKeySequence(Qt::Key_F6), &FrmPlavo::menEinzelschritt_Click},
        {2, "menEnergie", "Energie&bilanz", QKeySequence(Qt::CTRL | Qt::Key_E), &FrmPlavo::menEnergie_Click},
        {1, "menOptionen", "&Optionen", {}, nullptr},
        {2, "menAusschnitt", "&Bildauschnitt...", QKeySequence(Qt::CTRL | Qt::Key_A), &FrmPlavo::menAusschnitt_Click},
        {2, "menTimer", "&Verzögerungszeit...", QKeySequence(Qt::CTRL | Qt::Key_Z), &FrmPlavo::menTimer_Click},
        {2, "menIntervall", "Berechnungs&intervall...", QKeySequence(Qt::CTRL | Qt::Key_I), &FrmPlavo::menIntervall_Click},
        {2, "menBeiÖffnen", "beim Ö&ffnen", {}, nullptr},
        {3, "menWarten", "auf Eingabe warten", {}, &FrmPlavo::menWarten_Click},
        {3, "menTabAnz", "Tabelle anzeigen", {}, &FrmPlavo::menTabAnz_Click},
        {3, "menSimStart", "Simulation starten", {}, &FrmPlavo::menSimStart_Click},
        {2, "menAlleZeigen", "A&lle Körper zeigen", QKeySequence(Qt::CTRL | Qt::Key_L), &FrmPlavo::menAlleZeigen_Click},
    };
    QMenu* menue = nullptr;
    QMenu* untermenue = nullptr;
    for (const Eintrag& e : eintraege) {
        const QString name = QString::fromUtf8(e.name);
        const QString text = QString::fromUtf8(e.text);
        if (e.ebene == 1) {
            menue = menuBar()->addMenu(text);
            menue->menuAction()->setObjectName(name);
            untermenue = nullptr;
            continue;
        }
        if (e.ebene == 0) {
            menue->addSeparator()->setObjectName(name);
            continue;
        }
        if (e.ebene == 2 && !e.handler) {
            untermenue = menue->addMenu(text);
            untermenue->menuAction()->setObjectName(name);
            continue;
        }
        QAction* a = (e.ebene == 3 ? untermenue : menue)->addAction(text);
        a->setObjectName(name);
        // Window shortcuts: while the modal table window is open they must not reach here.
        if (!e.kurz.isEmpty())
            a->setShortcut(e.kurz);
        if (e.ebene == 3) {
            a->setCheckable(true);
            a->setChecked(name == QStringLiteral("menWarten"));
        }
        connect(a, &QAction::triggered, this, [this, h = e.handler] { (this->*h)(); });
    }
    BeispielmenueFuellen(*Menue(QStringLiteral("menBeispiele"))->menu(),
                         BeispieleIn(BeispielOrdner(QCoreApplication::applicationDirPath())),
                         [this](const QString& pfad) { BeispielOeffnen(pfad); });
    // Other commands may switch the timer too; the menu shows the truth when it opens.
    const QAction* simulation = Menue(QStringLiteral("menSimulation"));
    connect(simulation->menu(), &QMenu::aboutToShow, this, [this] { Laufen(tim_->Enabled()); });
}

void FrmPlavo::Laufen(bool an)
{
    tim_->SetEnabled(an);
    if (QAction* einzel = Menue(QStringLiteral("menEinzelschritt")))
        einzel->setEnabled(!an);
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

void FrmPlavo::Form_Resize()
{
    BildFlaeche& flaeche = pic_->Flaeche();
    if (pic_->GeraetePixel() != flaeche.Groesse())
        flaeche.GroesseSetzen(pic_->GeraetePixel());
    flaeche.Cls();
    flaeche.Scale(-AusschnittBreite / 2 + AusschnittXOffset, -AusschnittHoehe / 2 + AusschnittYOffset,
                  AusschnittBreite / 2 + AusschnittXOffset, AusschnittHoehe / 2 + AusschnittYOffset);
    pic_->update();
    if (Schrittzahl == 0) {
        neuzeichnung_->Abbrechen();
        return;
    }
    // In slices: the kept strokes, then the steps beyond them.
    neuzeichnung_->Beginnen();
}

void FrmPlavo::NeuzeichnungAbschliessen()
{
    neuzeichnung_->Abschliessen();
}

bool FrmPlavo::NeuzeichnungLaeuft()
{
    return neuzeichnung_->Laeuft();
}

void FrmPlavo::StricheAbgleichen()
{
    // A running redraw may still be drawing them; it lets them go when it ends.
    if (!NeuzeichnungLaeuft() && !speicher_.Passt(mod_))
        speicher_.Verwerfen();
}

bool FrmPlavo::Berechnung()
{
    NeuzeichnungAbschliessen();
    // Each step is also kept for the next redraw, as far as the budget allows.
    const unsigned fehler =
        speicher_.Schritt(werk_, mod_, mod_.KoerperSim, mod_.Intervall, Schrittzahl, pic_->Flaeche());
    if (fehler == KeinFehler)
        Caption(TitelText(Schrittzahl, mod_.Intervall, mod_.DateiName));
    pic_->GeaendertesZeigen();
    if (fehler != KeinFehler) {
        Fehlerstopp(fehler);
        return false;
    }
    return true;
}

void FrmPlavo::timPlavo_Timer()
{
    // The run goes on once the redraw has caught up with it.
    if (NeuzeichnungLaeuft())
        return;
    Berechnung();
}

void FrmPlavo::Fehlerstopp(unsigned fehler)
{
    Laufen(false);
    frage_->MsgBox(FehlerText(fehler), Titel, MsgKnoepfe::OK, MsgSymbol::Kritisch);
}

void FrmPlavo::menStart_Click()
{
    if (Schrittzahl == 0) {
        const unsigned fehler = KoerperSimAufbauen(mod_);
        if (fehler != KeinFehler) {
            Fehlerstopp(fehler);
            return;
        }
    }
    Laufen(true);
}

void FrmPlavo::menStop_Click()
{
    Laufen(false);
}

void FrmPlavo::menEinzelschritt_Click()
{
    // The shortcut may come before the menu has caught up with the timer.
    if (tim_->Enabled())
        return;
    if (Schrittzahl == 0) {
        const unsigned fehler = KoerperSimAufbauen(mod_);
        if (fehler != KeinFehler) {
            Fehlerstopp(fehler);
            return;
        }
    }
    // Unlike a tick it does not wait for a running redraw: it finishes it and steps.
    Berechnung();
}

void FrmPlavo::menEnergie_Click()
{
    if (!energie_) {
        energie_ = new FrmEnergie(mod_, Schrittzahl, this);
        // Beside the main window, where the screen has room, so the picture stays in view.
        QRect r = energie_->frameGeometry();
        const QRect haupt = frameGeometry();
        const QRect schirm = screen() ? screen()->availableGeometry() : QRect();
        r.moveTopLeft(QPoint(haupt.right() + 1, haupt.top()));
        if (r.right() > schirm.right())
            r.moveRight(haupt.left() - 1);
        if (r.left() < schirm.left())
            r.moveLeft(schirm.left());
        energie_->move(r.topLeft());
        // F5, Ctrl+Q, F6 and the rest work while the energy window has the focus, too.
        for (QAction* a : findChildren<QAction*>())
            if (!a->shortcut().isEmpty())
                energie_->addAction(a);
    }
    energie_->show();
    energie_->raise();
    energie_->activateWindow();
}

void FrmPlavo::menZurueck_Click()
{
    neuzeichnung_->Abbrechen();
    speicher_.Verwerfen();
    Laufen(false);
    Schrittzahl = 0;
    pic_->Flaeche().Cls();
    pic_->update();
}

void FrmPlavo::menTabelle_Click()
{
    if (tabelleZeigen_)
        tabelleZeigen_();
    StricheAbgleichen();
}

// Document commands, picture export and printing come with their own classes.
void FrmPlavo::menNeu_Click()
{
    dokument_->Neu();
    StricheAbgleichen();
}

void FrmPlavo::menOeffnen_Click()
{
    dokument_->Oeffnen();
    StricheAbgleichen();
}

void FrmPlavo::menSpeichern_Click() { dokument_->Speichern(); }
void FrmPlavo::menSpUnter_Click() { dokument_->SpeichernUnter(); }
void FrmPlavo::menBild_Click()
{
    NeuzeichnungAbschliessen();
    Bildausgabe ausgabe(pic_->Flaeche(), *cdg_, *frage_);
    ausgabe.Dokument = mod_.DateiName;
    ausgabe.LetztesBild = &letztesBild_;
    ausgabe.menBild_Click();
}

void FrmPlavo::menDrucken_Click()
{
    NeuzeichnungAbschliessen();
    Bildausgabe ausgabe(pic_->Flaeche(), *cdg_, *frage_);
    ausgabe.Pixelverhaeltnis = pic_->devicePixelRatioF();
    ausgabe.menDrucken_Click();
}

void FrmPlavo::menBahndaten_Click()
{
    if (export_)
        return;
    export_ = Bahndatenexport::Starten(this, mod_, Schrittzahl, *cdg_, *frage_);
    if (!export_)
        return;
    // One export at a time: its progress dialog may not be shown yet.
    QAction* eintrag = Menue(QStringLiteral("menBahndaten"));
    eintrag->setEnabled(false);
    connect(export_, &Bahndatenexport::beendet, this, [eintrag] { eintrag->setEnabled(true); });
}

void FrmPlavo::menEnde_Click() { dokument_->Ende(); }
bool FrmPlavo::DateiOeffnen(const QString& pfad)
{
    const bool geoeffnet = dokument_->DateiOeffnen(pfad);
    StricheAbgleichen();
    return geoeffnet;
}

bool FrmPlavo::BeispielOeffnen(const QString& pfad)
{
    const bool geoeffnet = dokument_->BeispielOeffnen(pfad);
    StricheAbgleichen();
    return geoeffnet;
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
    if (dokument_->Schliessen()) {
        neuzeichnung_->Abbrechen();
        ereignis->accept();
    }
    else
        ereignis->ignore();
}
