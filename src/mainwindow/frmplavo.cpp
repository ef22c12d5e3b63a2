#include "frmplavo.h"

#include "mainwindow/dokumentbefehle.h"
#include "mainwindow/frmenergie.h"
#include "mainwindow/plavoicon.h"
#include "mainwindow/qtrueckfragen.h"
#include "mainwindow/qtstandarddialog.h"
#include "mainwindow/qtzeitgeber.h"
#include "model/zahltext.h"
#include "sim/aufbau.h"
#include "view/bildausgabe.h"
#include "view/picplavo.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <cmath>
#include <limits>

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
    tim_->SetEnabled(false);
    tim_->SetInterval(100);
    tim_->Timer = [this] { timPlavo_Timer(); };

    setObjectName(QStringLiteral("frmPlavo"));
    setWindowTitle(Titel);
    setWindowIcon(PlavoIcon());
    pic_ = new PicPlavo(this);
    pic_->setObjectName(QStringLiteral("picPlavo"));
    setCentralWidget(pic_);
    MenuesAnlegen();

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
        {0, "menDatei1", "-", {}, nullptr},
        {2, "menEnde", "Be&enden", {}, &FrmPlavo::menEnde_Click},
        {1, "menSimulation", "&Simulation", {}, nullptr},
        {2, "menTabelle", "&Tabelle anzeigen", QKeySequence(Qt::CTRL | Qt::Key_T), &FrmPlavo::menTabelle_Click},
        {2, "menZurück", "&Zurücksetzen", QKeySequence(Qt::CTRL | Qt::Key_R), &FrmPlavo::menZurueck_Click},
        {2, "menStart", "&Starten", QKeySequence(Qt::Key_F5), &FrmPlavo::menStart_Click},
        {2, "menStop", "&Anhalten", QKeySequence(Qt::CTRL | Qt::Key_Q), &FrmPlavo::menStop_Click},
        {2, "menEnergie", "Energie&bilanz", QKeySequence(Qt::CTRL | Qt::Key_E), &FrmPlavo::menEnergie_Click},
        {1, "menOptionen", "&Optionen", {}, nullptr},
        {2, "menAusschnitt", "&Bildauschnitt...", QKeySequence(Qt::CTRL | Qt::Key_A), &FrmPlavo::menAusschnitt_Click},
        {2, "menTimer", "&Verzögerungszeit...", QKeySequence(Qt::CTRL | Qt::Key_Z), &FrmPlavo::menTimer_Click},
        {2, "menIntervall", "Berechnungs&intervall...", QKeySequence(Qt::CTRL | Qt::Key_I), &FrmPlavo::menIntervall_Click},
        {2, "menBeiÖffnen", "beim Ö&ffnen", {}, nullptr},
        {3, "menWarten", "auf Eingabe warten", {}, &FrmPlavo::menWarten_Click},
        {3, "menTabAnz", "Tabelle anzeigen", {}, &FrmPlavo::menTabAnz_Click},
        {3, "menSimStart", "Simulation starten", {}, &FrmPlavo::menSimStart_Click},
    };
    QMenu* menue = nullptr;
    QMenu* untermenue = nullptr;
    for (const Eintrag& e : eintraege) {
        const QString name = QString::fromUtf8(e.name);
        const QString text = QString::fromUtf8(e.text);
        if (e.ebene == 1) {
            menue = menuBar()->addMenu(text);
            menue->menuAction()->setObjectName(name);
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
    const int32_t n = Schrittzahl;
    Schrittzahl = 0;
    flaeche.Cls();
    flaeche.Scale(-AusschnittBreite / 2 + AusschnittXOffset, -AusschnittHoehe / 2 + AusschnittYOffset,
                  AusschnittBreite / 2 + AusschnittXOffset, AusschnittHoehe / 2 + AusschnittYOffset);
    pic_->update();
    if (n == 0)
        return;

    unsigned fehler = KoerperSimAufbauen(mod_);
    // The replay draws every step again; the caption is written once at the end.
    for (int32_t i = 0; i < n && fehler == KeinFehler; ++i)
        fehler = werk_.Schritt(mod_.KoerperSim, mod_.Intervall, Schrittzahl, flaeche);
    flaeche.GeaendertNehmen();
    pic_->update();
    if (Schrittzahl > 0)
        Caption(TitelText(Schrittzahl, mod_.Intervall, mod_.DateiName));
    if (fehler != KeinFehler)
        Fehlerstopp(fehler);
}

bool FrmPlavo::Berechnung()
{
    const unsigned fehler = ::Berechnung(werk_, mod_, Schrittzahl, pic_->Flaeche(),
                                         [this](const QString& t) { Caption(t); });
    pic_->GeaendertesZeigen();
    if (fehler != KeinFehler) {
        Fehlerstopp(fehler);
        return false;
    }
    return true;
}

void FrmPlavo::timPlavo_Timer()
{
    Berechnung();
}

void FrmPlavo::Fehlerstopp(unsigned fehler)
{
    tim_->SetEnabled(false);
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
    tim_->SetEnabled(true);
}

void FrmPlavo::menStop_Click()
{
    tim_->SetEnabled(false);
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
    }
    energie_->show();
    energie_->raise();
    energie_->activateWindow();
}

void FrmPlavo::menZurueck_Click()
{
    tim_->SetEnabled(false);
    Schrittzahl = 0;
    pic_->Flaeche().Cls();
    pic_->update();
}

std::optional<double> FrmPlavo::ZahlErfragen(const QString& prompt, const QString& vorschlag)
{
    const std::optional<QString> antwort = frage_->InputBox(prompt, Titel, vorschlag);
    if (!antwort)
        return std::nullopt;
    return TextZuZahl(*antwort);
}

void FrmPlavo::menTimer_Click()
{
    const auto wert = ZahlErfragen(QStringLiteral("Neue Verzögerungszeit:"), QString::number(tim_->Interval()));
    if (!wert)
        return;
    // Halves go to the even neighbour (the default rounding mode).
    const double ms = std::nearbyint(*wert);
    if (!(ms >= 0 && ms <= double(std::numeric_limits<int32_t>::max())))
        return;
    tim_->SetInterval(int32_t(ms));
}

void FrmPlavo::menIntervall_Click()
{
    const auto wert = ZahlErfragen(QStringLiteral("Neues Intervall zwischen zwei Berechnungen (Tage):"),
                                   ZahlZuText(mod_.Intervall));
    if (wert)
        mod_.Intervall = *wert;
}

void FrmPlavo::menAusschnitt_Click()
{
    const BildFlaeche& f = pic_->Flaeche();
    struct Frage {
        const char* prompt;
        double vorschlag;
        double* ziel;
        bool nichtNull;
    };
    const Frage fragen[] = {
        {"Breite des Ausschnitts (AE):", double(f.ScaleWidth()), &AusschnittBreite, true},
        {"Höhe des Ausschnitts (AE):", double(f.ScaleHeight()), &AusschnittHoehe, true},
        {"X-Offset (AE):", AusschnittXOffset, &AusschnittXOffset, false},
        {"Y-Offset (AE):", AusschnittYOffset, &AusschnittYOffset, false},
    };
    for (const Frage& frage : fragen) {
        const auto wert = ZahlErfragen(QString::fromUtf8(frage.prompt), ZahlZuText(frage.vorschlag));
        // A cancel, a non-number or a zero size ends the command; earlier answers stay.
        if (!wert || (frage.nichtNull && *wert == 0))
            return;
        *frage.ziel = *wert;
    }
    Form_Resize();
}

void FrmPlavo::menTabelle_Click()
{
    if (tabelleZeigen_)
        tabelleZeigen_();
}

void FrmPlavo::menWarten_Click()
{
    Menue(QStringLiteral("menWarten"))->setChecked(true);
    Menue(QStringLiteral("menTabAnz"))->setChecked(false);
    Menue(QStringLiteral("menSimStart"))->setChecked(false);
}

void FrmPlavo::menTabAnz_Click()
{
    Menue(QStringLiteral("menTabAnz"))->setChecked(true);
    Menue(QStringLiteral("menSimStart"))->setChecked(false);
    Menue(QStringLiteral("menWarten"))->setChecked(false);
}

void FrmPlavo::menSimStart_Click()
{
    Menue(QStringLiteral("menSimStart"))->setChecked(true);
    Menue(QStringLiteral("menTabAnz"))->setChecked(false);
    Menue(QStringLiteral("menWarten"))->setChecked(false);
}

// Document commands, picture export and printing come with their own classes.
void FrmPlavo::menNeu_Click() { dokument_->Neu(); }
void FrmPlavo::menOeffnen_Click() { dokument_->Oeffnen(); }
void FrmPlavo::menSpeichern_Click() { dokument_->Speichern(); }
void FrmPlavo::menSpUnter_Click() { dokument_->SpeichernUnter(); }
void FrmPlavo::menBild_Click()
{
    Bildausgabe(pic_->Flaeche(), *cdg_, *frage_).menBild_Click();
}

void FrmPlavo::menDrucken_Click()
{
    Bildausgabe(pic_->Flaeche(), *cdg_, *frage_).menDrucken_Click();
}

void FrmPlavo::menEnde_Click() { dokument_->Ende(); }

void FrmPlavo::closeEvent(QCloseEvent* ereignis)
{
    if (dokument_->Schliessen())
        ereignis->accept();
    else
        ereignis->ignore();
}
