// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtabelle.h"

#include "mainwindow/titel.h"
#include "model/zahltext.h"
#include "table/qtgitter.h"
#include "table/twips.h"

#include <QCloseEvent>
#include <QPushButton>
#include <array>
#include <cmath>

namespace {

constexpr int SpalteName = 1;
constexpr int ErsteZahl = 2;    // Masse, x, y, Geschwindigkeit, Richtung
constexpr int LetzteZahl = 6;
constexpr int SpalteFarbe = 7;
constexpr int Spalten = 8;

constexpr std::array<int, Spalten> Breiten{300, 960, 1440, 1440, 1440, 1440, 840, 540};   // twips
const std::array<const char*, Spalten> Ueberschriften{
    "", "Name", "Masse", "x-Position", "y-Position", "Geschwindigkeit", "Richtung", "Farbe"};
// The units, which the headings leave out.
const std::array<const char*, Spalten> Kopftipps{"",
                                                 "Name, höchstens 15 Zeichen",
                                                 "Masse in Erdmassen",
                                                 "x-Position in m",
                                                 "y-Position in m (+y zeigt nach unten)",
                                                 "Geschwindigkeit in m/s",
                                                 "Richtung in ° (0° nach rechts, 90° nach unten)",
                                                 "Farbe"};


}  // namespace

FrmTabelle::FrmTabelle(Dokument& dokument, Rueckfragen& rueckfragen, Standarddialog& cdgTabelle, QWidget* besitzer)
    : QDialog(besitzer, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , dokument_(dokument)
    , rueckfragen_(rueckfragen)
    , cdgTabelle_(cdgTabelle)
{
    setWindowTitle(QStringLiteral("Tabelle"));
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    auto platz = [&](QWidget* w, int links, int oben, int breite, int hoehe) {
        w->setGeometry(TwipsZuPixel(links, dpiX), TwipsZuPixel(oben, dpiY), TwipsZuPixel(breite, dpiX),
                       TwipsZuPixel(hoehe, dpiY));
    };
    setFixedSize(TwipsZuPixel(8730, dpiX), TwipsZuPixel(5985, dpiY));

    fgrKoerper_ = new QtGitter(Spalten, this);
    fgrKoerper_->setObjectName(QStringLiteral("fgrKoerper"));
    platz(fgrKoerper_, 120, 120, 8535, 5295);

    auto knopf = [&](const char* name, const char* text, int links) {
        auto* k = new QPushButton(QString::fromUtf8(text), this);
        k->setObjectName(QString::fromUtf8(name));
        platz(k, links, 5520, 1215, 375);
        return k;
    };
    cmdNeu_ = knopf("cmdNeu", "Hinzufügen...", 3480);
    cmdEntfernen_ = knopf("cmdEntfernen", "Entfernen", 4800);
    cmdOK_ = knopf("cmdOK", "OK", 6120);
    cmdAbbrechen_ = knopf("cmdAbbrechen", "Abbrechen", 7440);
    cmdOK_->setDefault(true);

    setTabOrder(fgrKoerper_, cmdNeu_);
    setTabOrder(cmdNeu_, cmdEntfernen_);
    setTabOrder(cmdEntfernen_, cmdOK_);
    setTabOrder(cmdOK_, cmdAbbrechen_);
    fgrKoerper_->setFocus();

    fgrKoerper_->DblClickVerbinden([this] { fgrKoerper_DblClick(); });
    fgrKoerper_->KeyDownVerbinden([this](int taste) { fgrKoerper_KeyDown(taste); });
    connect(cmdNeu_, &QPushButton::clicked, this, &FrmTabelle::cmdNeu_Click);
    connect(cmdEntfernen_, &QPushButton::clicked, this, &FrmTabelle::cmdEntfernen_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &FrmTabelle::cmdOK_Click);
    connect(cmdAbbrechen_, &QPushButton::clicked, this, &FrmTabelle::cmdAbbrechen_Click);
}

Gitter& FrmTabelle::fgrKoerper()
{
    return *fgrKoerper_;
}

void FrmTabelle::Form_Load()
{
    Gitter& g = fgrKoerper();
    for (int c = 0; c < Spalten; ++c)
        g.ColWidthSetzen(c, Breiten[size_t(c)]);
    for (int c = 1; c < Spalten; ++c) {
        g.TextMatrixSetzen(0, c, QString::fromUtf8(Ueberschriften[size_t(c)]));
        g.ColToolTipSetzen(c, QString::fromUtf8(Kopftipps[size_t(c)]));
    }
    // Columns wider than their twips (a larger font) widen the window rather
    // than hide the colour column behind a sideways scroll bar; the buttons
    // keep their distance from the right edge.
    const int mehr = fgrKoerper_->BreiteFuerAlleSpalten() - fgrKoerper_->width();
    if (mehr > 0) {
        fgrKoerper_->resize(fgrKoerper_->width() + mehr, fgrKoerper_->height());
        for (QPushButton* k : {cmdNeu_, cmdEntfernen_, cmdOK_, cmdAbbrechen_})
            k->move(k->x() + mehr, k->y());
        setFixedSize(width() + mehr, height());
    }
    g.TextMatrixSetzen(1, 0, QStringLiteral("1"));
}

void FrmTabelle::Form_Activate()
{
    Gitter& g = fgrKoerper();
    const ModPlavo& mod = dokument_.Daten();
    const int n = int(mod.KoerperStart.size());

    // A new document whose bodies never came from this window: one empty row.
    if ((mod.DateiName.isEmpty() && mod.Gespeichert) || n == 0) {
        g.RowsSetzen(2);
        for (int c = SpalteName; c <= LetzteZahl; ++c)
            g.TextMatrixSetzen(1, c, QString());
        g.ColSetzen(SpalteFarbe);
        g.RowSetzen(1);
        g.CellBackColorSetzen(0);
        return;
    }

    g.RowsSetzen(n + 1);
    for (int k = 1; k <= n; ++k) {
        const Koerper& koerper = mod.KoerperStart[size_t(k - 1)];
        // Number cells are written as text only when shown; an OK without
        // edits gives back every bit, not the 15 digits shown.
        g.ZahlMatrixSetzen(k, 0, k);
        g.TextMatrixSetzen(k, SpalteName, koerper.NameText());
        g.ZahlMatrixSetzen(k, 2, koerper.Masse);
        g.ZahlMatrixSetzen(k, 3, koerper.X);
        g.ZahlMatrixSetzen(k, 4, koerper.Y);
        g.ZahlMatrixSetzen(k, 5, koerper.Geschwindigkeit);
        g.ZahlMatrixSetzen(k, 6, koerper.Richtung);
        g.ColSetzen(SpalteFarbe);
        g.RowSetzen(k);
        g.CellBackColorSetzen(koerper.Farbe);
    }
}

void FrmTabelle::fgrKoerper_DblClick()
{
    ZelleBearbeiten(fgrKoerper().MouseRow(), fgrKoerper().MouseCol());
}

void FrmTabelle::fgrKoerper_KeyDown(int taste)
{
    if (taste == Qt::Key_F2)
        ZelleBearbeiten(fgrKoerper().Row(), fgrKoerper().Col());
}

void FrmTabelle::ZelleBearbeiten(int r, int c)
{
    Gitter& g = fgrKoerper();
    if (r < 1 || c < 1 || r >= g.Rows() || c >= Spalten)
        return;
    // The click before the double-click made the cell current already; say so
    // for any grid, since the colour is read from and written to the current cell.
    g.RowSetzen(r);
    g.ColSetzen(c);

    if (c == SpalteFarbe) {
        cdgTabelle_.Color = g.CellBackColor();
        if (cdgTabelle_.ShowColor())
            g.CellBackColorSetzen(cdgTabelle_.Color);
        return;
    }
    const QString prompt = g.TextMatrix(0, c) + QStringLiteral(":");
    // A cancelled box gives the empty text: that is how a cell is cleared.
    const auto antwort = rueckfragen_.InputBox(prompt, Programmtitel(), g.TextMatrix(r, c));
    g.TextMatrixSetzen(r, c, antwort.value_or(QString()));
}

void FrmTabelle::cmdNeu_Click()
{
    Gitter& g = fgrKoerper();
    // More rows could be committed, but neither shown again nor read back from a file.
    if (g.Rows() - 1 >= MaxKoerper) {
        rueckfragen_.MsgBox(QStringLiteral("Die Tabelle fasst höchstens %1 Körper.").arg(MaxKoerper),
                            Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Information);
        return;
    }
    g.AddItem(QString::number(g.Rows()));
}

void FrmTabelle::cmdEntfernen_Click()
{
    Gitter& g = fgrKoerper();
    if (g.Rows() == 2) {
        for (int c = SpalteName; c <= LetzteZahl; ++c)
            g.TextMatrixSetzen(1, c, QString());
        return;
    }
    g.RemoveItem(g.Row());
    for (int i = 1; i < g.Rows(); ++i)
        g.TextMatrixSetzen(i, 0, QString::number(i));
}

bool FrmTabelle::ZahlenLesen(std::vector<double>& werte)
{
    Gitter& g = fgrKoerper();
    const QLocale locale;
    const int n = g.Rows() - 1;
    werte.clear();
    werte.reserve(size_t(n) * (LetzteZahl - ErsteZahl + 1));
    for (int i = 1; i <= n; ++i) {
        for (int c = ErsteZahl; c <= LetzteZahl; ++c) {
            // Only a cell the user edited is read from its text; an infinity
            // or NaN from a file is refused as its text is.
            auto wert = g.ZahlMatrix(i, c);
            if (!wert || !std::isfinite(*wert))
                wert = TextZuZahl(g.TextMatrix(i, c), locale);
            if (!wert) {
                g.ColSetzen(c);
                g.RowSetzen(i);
                fgrKoerper_->AktuelleZelleZeigen(true);
                rueckfragen_.MsgBox(QStringLiteral("In Zeile %1 steht in der Spalte „%2“ keine gültige Zahl.")
                                        .arg(i)
                                        .arg(g.TextMatrix(0, c)),
                                    Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Warnung);
                return false;
            }
            werte.push_back(*wert);
        }
    }
    return true;
}

void FrmTabelle::cmdOK_Click()
{
    // Convert everything first: a table that does not convert changes nothing.
    std::vector<double> werte;
    if (!ZahlenLesen(werte))
        return;

    Gitter& g = fgrKoerper();
    const int n = g.Rows() - 1;
    KoerperSatz neu(size_t(n), Koerper{});
    auto wert = werte.cbegin();
    for (int i = 1; i <= n; ++i) {
        Koerper& k = neu[size_t(i - 1)];
        k.NameSetzen(g.TextMatrix(i, SpalteName));
        k.Masse = *wert++;
        k.X = *wert++;
        k.Y = *wert++;
        k.Geschwindigkeit = *wert++;
        k.Richtung = *wert++;
        g.ColSetzen(SpalteFarbe);
        g.RowSetzen(i);
        k.Farbe = g.CellBackColor();
    }
    // Committed means changed, even when nothing was edited.
    dokument_.KoerperUebernehmen(std::move(neu));
    hide();
}

void FrmTabelle::cmdAbbrechen_Click()
{
    hide();
}

void FrmTabelle::reject()
{
    cmdAbbrechen_Click();
}

void FrmTabelle::showEvent(QShowEvent* ereignis)
{
    // Every showing starts in the grid, whichever control had the focus when
    // the window was hidden (a hidden window takes no focus changes).
    fgrKoerper_->setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(ereignis);
}

void FrmTabelle::closeEvent(QCloseEvent* ereignis)
{
    geschlossen_ = true;
    QDialog::closeEvent(ereignis);
}
