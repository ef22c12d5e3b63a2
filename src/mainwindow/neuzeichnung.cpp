#include "neuzeichnung.h"

#include "mainwindow/frmplavo.h"
#include "view/picplavo.h"


Neuzeichnung::Neuzeichnung(FrmPlavo& frm, Rechenwerk& werk, Strichspeicher& speicher)
    : frm_(frm)
    , werk_(werk)
    , speicher_(speicher)
{
    // Interval 0: the next slice as soon as the window has handled its events.
    zeitgeber_.setInterval(0);
    connect(&zeitgeber_, &QTimer::timeout, this, &Neuzeichnung::Scheibe);
}

void Neuzeichnung::Beginnen()
{
    if (!aktiv_) {
        vorher_ = frm_.mod().KoerperSim;
        eigenerTitel_ = frm_.windowTitle();
        titelFremd_ = false;
    }
    wiedergabe_.Beginnen(frm_.mod(), frm_.Schrittzahl, speicher_);
    aktiv_ = true;
    Scheibe();
    if (aktiv_)
        zeitgeber_.start();
}

bool Neuzeichnung::Laeuft()
{
    // Open and Zurücksetzen start the count again: this replay is of no use any more.
    if (aktiv_ && frm_.Schrittzahl != wiedergabe_.Ziel())
        Abbrechen();
    return aktiv_;
}

void Neuzeichnung::Scheibe()
{
    if (!Laeuft())
        return;
    const auto bis = Wiedergabe::Uhr::now() + scheibe_;
    const bool fertig = wiedergabe_.Arbeiten(werk_, speicher_, frm_.picPlavo().Flaeche(), bis);
    frm_.picPlavo().GeaendertesZeigen();
    if (fertig) {
        Ende();
        return;
    }
    const int prozent = int(wiedergabe_.Anteil() * 100);
    QString text = QStringLiteral("Plavo - ");
    if (!frm_.mod().DateiName.isEmpty())
        text += QStringLiteral("[") + Dateiteil(frm_.mod().DateiName) + QStringLiteral("] - ");
    TitelSetzen(text + QStringLiteral("Neuzeichnen %1 %").arg(prozent));
}

void Neuzeichnung::Abschliessen()
{
    if (!Laeuft())
        return;
    wiedergabe_.Arbeiten(werk_, speicher_, frm_.picPlavo().Flaeche(), Wiedergabe::Uhr::time_point::max());
    frm_.picPlavo().GeaendertesZeigen();
    Ende();
}

void Neuzeichnung::Ende()
{
    zeitgeber_.stop();
    aktiv_ = false;
    ModPlavo& mod = frm_.mod();
    if (BitGleich(mod.KoerperSim, vorher_))
        mod.KoerperSim = wiedergabe_.Sim();
    vorher_ = {};
    // Kept strokes of a document changed meanwhile were left for the replay to draw.
    if (!speicher_.Passt(mod))
        speicher_.Verwerfen();
    frm_.Schrittzahl = wiedergabe_.Schrittzahl();
    if (frm_.Schrittzahl > 0)
        TitelSetzen(TitelText(frm_.Schrittzahl, wiedergabe_.Intervall(), mod.DateiName));
    if (wiedergabe_.Fehler() != KeinFehler)
        frm_.Fehlerstopp(wiedergabe_.Fehler());
}

void Neuzeichnung::Abbrechen()
{
    if (!aktiv_)
        return;
    zeitgeber_.stop();
    aktiv_ = false;
    vorher_ = {};
    const ModPlavo& mod = frm_.mod();
    if (wiedergabe_.Ziel() > 0)
        TitelSetzen(TitelText(wiedergabe_.Ziel(), wiedergabe_.Intervall(), mod.DateiName));
}

bool Neuzeichnung::TitelUnser()
{
    titelFremd_ = titelFremd_ || frm_.windowTitle() != eigenerTitel_;
    return !titelFremd_;
}

void Neuzeichnung::TitelSetzen(const QString& text)
{
    if (!TitelUnser())
        return;
    frm_.Caption(text);
    eigenerTitel_ = frm_.windowTitle();
}
