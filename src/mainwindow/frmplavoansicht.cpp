// SPDX-License-Identifier: GPL-3.0-or-later
// Exploring the picture: zoom with the wheel and the Optionen menu, drag to
// move, Ctrl+arrows, and the bodies' dots and names over the picture. Every
// change of the section goes through AusschnittSetzen, as the dialog's does.
#include "frmplavo.h"

#include "mainwindow/statusleiste.h"
#include "view/ausschnittwechsel.h"
#include "view/picplavo.h"

#include <QAction>
#include <QShortcut>
#include <algorithm>
#include <cmath>

void FrmPlavo::AnsichtAnlegen()
{
    connect(pic_, &PicPlavo::mausrad, this, &FrmPlavo::picPlavo_Mausrad);
    connect(pic_, &PicPlavo::gezogen, this, &FrmPlavo::picPlavo_Gezogen);
    connect(pic_, &PicPlavo::mausUeber, this, &FrmPlavo::MausUeber);
    connect(pic_, &PicPlavo::mausWeg, status_, &Statusleiste::MausWeg);
    struct Pfeil {
        Qt::Key taste;
        double teilX, teilY;
    };
    for (const Pfeil& pfeil : {Pfeil{Qt::Key_Left, -0.1, 0}, Pfeil{Qt::Key_Right, 0.1, 0}, Pfeil{Qt::Key_Up, 0, -0.1},
                               Pfeil{Qt::Key_Down, 0, 0.1}}) {
        auto* kurz = new QShortcut(QKeySequence(Qt::CTRL | pfeil.taste), this);
        connect(kurz, &QShortcut::activated, this,
                [this, pfeil] { AusschnittWechseln(Verschoben(ansicht_.Aktuell(), pfeil.teilX, pfeil.teilY)); });
    }
}

void FrmPlavo::AusschnittWechseln(const Ausschnitt& neu)
{
    // At a limit nothing changes, and nothing is redrawn.
    if (neu == ansicht_.Aktuell())
        return;
    AusschnittSetzen(neu);
}

void FrmPlavo::picPlavo_Mausrad(int rasten, QPointF anteil)
{
    AusschnittWechseln(Gezoomt(ansicht_.Aktuell(), rasten, anteil.x(), anteil.y()));
}

void FrmPlavo::picPlavo_Gezogen(QPointF verschiebung, QSizeF groesse)
{
    AusschnittWechseln(
        Gezogen(ansicht_.Aktuell(), verschiebung.x(), verschiebung.y(), groesse.width(), groesse.height()));
}

void FrmPlavo::menVergroessern_Click()
{
    AusschnittWechseln(Gezoomt(ansicht_.Aktuell(), 1, 0.5, 0.5));
}

void FrmPlavo::menVerkleinern_Click()
{
    AusschnittWechseln(Gezoomt(ansicht_.Aktuell(), -1, 0.5, 0.5));
}

void FrmPlavo::menKoerperZeigen_Click()
{
    pic_->PunkteZeigen(Menue(QStringLiteral("menKoerperZeigen"))->isChecked());
}

void FrmPlavo::menNamen_Click()
{
    pic_->NamenZeigen(Menue(QStringLiteral("menNamen"))->isChecked());
}

bool FrmPlavo::KreiseRund() const
{
    const QAction* rund = Menue(QStringLiteral("menRund"));
    return rund && rund->isChecked();
}

double FrmPlavo::Seitenverhaeltnis() const
{
    const QSize pixel = pic_->Flaeche().Groesse();
    return pixel.height() > 0 ? double(pixel.width()) / pixel.height() : 1.0;
}

void FrmPlavo::menRund_Click()
{
    // Round at once; switched off, the section stays as it is now.
    if (KreiseRund())
        AusschnittWechseln(HoeheNachBreite(ansicht_.Aktuell(), Seitenverhaeltnis()));
}

void FrmPlavo::MausUeber(QPointF anteil)
{
    // The plane as the picture maps it: one screen pixel's size sets the digits shown.
    const Ausschnitt& a = ansicht_.Aktuell();
    status_->MausZeigen(a.Links() + anteil.x() * a.Breite, a.Oben() + anteil.y() * a.Hoehe,
                        std::abs(a.Breite) / std::max(pic_->width(), 1), std::abs(a.Hoehe) / std::max(pic_->height(), 1));
}
