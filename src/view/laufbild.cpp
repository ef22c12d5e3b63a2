#include "laufbild.h"

LaufBild::LaufBild(const Lauf& lauf, BildFlaeche& flaeche)
{
    BildFlaeche* f = &flaeche;
    const auto zeichnen = [f](std::span<const Strich> striche) { f->Striche(striche); };
    verbindungen_[0] = QObject::connect(&lauf, &Lauf::schrittGemacht, zeichnen);
    verbindungen_[1] = QObject::connect(&lauf, &Lauf::wiedergegeben, zeichnen);
    verbindungen_[2] = QObject::connect(&lauf, &Lauf::zurueckgesetzt, [f] { f->Cls(); });
    verbindungen_[3] = QObject::connect(&lauf, &Lauf::neuzeichnungBegonnen, [f] { f->Cls(); });
}

LaufBild::~LaufBild()
{
    for (const QMetaObject::Connection& v : verbindungen_)
        QObject::disconnect(v);
}
