// SPDX-License-Identifier: GPL-3.0-or-later
#include "laufbild.h"

LaufBild::LaufBild(const Lauf& lauf, BildFlaeche& flaeche)
    : lauf_(lauf)
    , flaeche_(flaeche)
{
    const Bezugsprojektion::Ziel zeichnen = [this](std::span<const Strich> striche) { flaeche_.Striche(striche); };
    verbindungen_[0] = QObject::connect(&lauf, &Lauf::schrittGemacht, [this, zeichnen](std::span<const Strich> s) {
        projektion_.Schritt(s, Koerper(), zeichnen);
    });
    verbindungen_[1] = QObject::connect(&lauf, &Lauf::wiedergegeben, [this, zeichnen](std::span<const Strich> s) {
        projektion_.Striche(s, Koerper(), zeichnen);
    });
    const auto vonVorn = [this] {
        flaeche_.Cls();
        projektion_.Beginnen();
    };
    verbindungen_[2] = QObject::connect(&lauf, &Lauf::zurueckgesetzt, vonVorn);
    verbindungen_[3] = QObject::connect(&lauf, &Lauf::neuzeichnungBegonnen, vonVorn);
    // A redraw dropped halfway leaves no half step behind for the next one.
    verbindungen_[4] = QObject::connect(&lauf, &Lauf::neuzeichnungAbgebrochen, [this] { projektion_.Beginnen(); });
}

LaufBild::~LaufBild()
{
    for (const QMetaObject::Connection& v : verbindungen_)
        QObject::disconnect(v);
}

const KoerperSatz& LaufBild::Koerper() const
{
    return lauf_.NeuzeichnungLaeuft() ? lauf_.Neuzeichnung().Stand().KoerperSim : lauf_.Stand().KoerperSim;
}
