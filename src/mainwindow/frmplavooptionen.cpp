// The Optionen menu of the main window: the delay, the interval, the visible
// section and what happens after a file is opened.
#include "frmplavo.h"

#include "mainwindow/rueckfragen.h"
#include "mainwindow/zeitgeber.h"
#include "model/zahltext.h"
#include "view/ausschnittumalle.h"
#include "view/picplavo.h"

#include <QAction>
#include <cmath>
#include <limits>

namespace {
const QString Titel = QStringLiteral("Plavo");
}  // namespace

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
    SchrittAbschliessen();
    if (wert)
        mod_.Intervall = *wert;
    lauf_.IntervallGeaendert();
}

void FrmPlavo::menAusschnitt_Click()
{
    const BildFlaeche& f = pic_->Flaeche();
    struct Frage {
        const char* prompt;
        QString vorschlag;
        double* ziel;
        bool nichtNull;
    };
    // The surface holds width and height in single precision: shown with the
    // digits a float has, the proposal reads back as the section it came from.
    const Frage fragen[] = {
        {"Breite des Ausschnitts (AE):", EinfachZuText(f.ScaleWidth()), &AusschnittBreite, true},
        {"Höhe des Ausschnitts (AE):", EinfachZuText(f.ScaleHeight()), &AusschnittHoehe, true},
        {"X-Offset (AE):", ZahlZuText(AusschnittXOffset), &AusschnittXOffset, false},
        {"Y-Offset (AE):", ZahlZuText(AusschnittYOffset), &AusschnittYOffset, false},
    };
    for (const Frage& frage : fragen) {
        const auto wert = ZahlErfragen(QString::fromUtf8(frage.prompt), frage.vorschlag);
        // A cancel, a non-number or a zero size ends the command; earlier answers stay.
        if (!wert || (frage.nichtNull && *wert == 0))
            return;
        *frage.ziel = *wert;
    }
    AusschnittSetzen(AusschnittBreite, AusschnittHoehe, AusschnittXOffset, AusschnittYOffset);
}

void FrmPlavo::AusschnittSetzen(double breite, double hoehe, double xOffset, double yOffset)
{
    AusschnittBreite = breite;
    AusschnittHoehe = hoehe;
    AusschnittXOffset = xOffset;
    AusschnittYOffset = yOffset;
    Form_Resize();
}

void FrmPlavo::menAlleZeigen_Click()
{
    // Where the bodies are now: the working set once a run has begun.
    const KoerperSatz& koerper = lauf_.Jetzt();
    const QSize pixel = pic_->Flaeche().Groesse();
    const double verhaeltnis = pixel.height() > 0 ? double(pixel.width()) / pixel.height() : 1.0;
    const std::optional<Ausschnitt> a = AusschnittUmAlle(koerper, verhaeltnis);
    if (!a) {
        frage_->MsgBox(QStringLiteral("Die Körper können nicht gezeigt werden: "
                                      "Mindestens eine Position ist keine endliche Zahl oder zu weit entfernt."),
                       Titel, MsgKnoepfe::OK, MsgSymbol::Warnung);
        return;
    }
    AusschnittSetzen(a->Breite, a->Hoehe, a->XOffset, a->YOffset);
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
