// SPDX-License-Identifier: GPL-3.0-or-later
// The Optionen menu of the main window: the delay, the interval, the visible
// section and what happens after a file is opened.
#include "frmplavo.h"

#include "mainwindow/rueckfragen.h"
#include "mainwindow/titel.h"
#include "mainwindow/zeitgeber.h"
#include "model/zahltext.h"
#include "view/ausschnittumalle.h"
#include "view/ausschnittwechsel.h"
#include "view/picplavo.h"

#include <QAction>
#include <cmath>
#include <limits>

std::optional<double> FrmPlavo::ZahlErfragen(const QString& prompt, const QString& vorschlag)
{
    const std::optional<QString> antwort = frage_->InputBox(prompt, Programmtitel(), vorschlag);
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
        dokument_.IntervallSetzen(*wert);
}

void FrmPlavo::menAusschnitt_Click()
{
    struct Frage {
        const char* prompt;
        double Ausschnitt::*feld;
        bool nichtNull;
    };
    const Frage fragen[] = {
        {"Breite des Ausschnitts (AE):", &Ausschnitt::Breite, true},
        {"Höhe des Ausschnitts (AE):", &Ausschnitt::Hoehe, true},
        {"X-Offset (AE):", &Ausschnitt::XOffset, false},
        {"Y-Offset (AE):", &Ausschnitt::YOffset, false},
    };
    const bool rund = KreiseRund();
    for (const Frage& frage : fragen) {
        Ausschnitt a = ansicht_.Aktuell();
        // With round circles the height proposed is the one the width gives,
        // which the section will have.
        const bool hoehe = frage.feld == &Ausschnitt::Hoehe;
        if (rund && hoehe)
            a = HoeheNachBreite(a, Seitenverhaeltnis());
        const double vorschlag = a.*frage.feld;
        // Every digit the value needs: answered as proposed, the section stays exactly as it is.
        const auto wert = ZahlErfragen(QString::fromUtf8(frage.prompt), GenauZuText(vorschlag));
        // A cancel, a non-number or a zero size ends the command; earlier answers stay.
        if (!wert || (frage.nichtNull && *wert == 0))
            return;
        a.*frage.feld = *wert;
        // A height of the user's own: the width follows it instead.
        if (rund && hoehe && *wert != vorschlag)
            a = BreiteNachHoehe(a, Seitenverhaeltnis());
        ansicht_.Setzen(a);
    }
    AusschnittSetzen(ansicht_.Aktuell());
}

void FrmPlavo::AusschnittSetzen(const Ausschnitt& ausschnitt)
{
    ansicht_.Setzen(ausschnitt);
    Form_Resize();
}

void FrmPlavo::menAlleZeigen_Click()
{
    // Where the bodies are now: the working set once a run has begun.
    const KoerperSatz& koerper = lauf_.Jetzt();
    const std::optional<Ausschnitt> a = AusschnittUmAlle(koerper, Seitenverhaeltnis());
    if (!a) {
        frage_->MsgBox(QStringLiteral("Die Körper können nicht gezeigt werden: "
                                      "Mindestens eine Position ist keine endliche Zahl oder zu weit entfernt."),
                       Programmtitel(), MsgKnoepfe::OK, MsgSymbol::Warnung);
        return;
    }
    AusschnittSetzen(*a);
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
