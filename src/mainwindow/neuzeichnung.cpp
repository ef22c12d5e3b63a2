#include "neuzeichnung.h"

#include "view/picplavo.h"

Neuzeichnung::Neuzeichnung(Lauf& lauf, PicPlavo& pic)
    : lauf_(lauf)
    , pic_(pic)
{
    // Interval 0: the next slice as soon as the window has handled its events.
    zeitgeber_.setInterval(0);
    connect(&zeitgeber_, &QTimer::timeout, this, &Neuzeichnung::Scheibe);
}

void Neuzeichnung::Beginnen()
{
    lauf_.NeuzeichnenBeginnen();
    zeitgeber_.stop();
    Scheibe();
}

void Neuzeichnung::Scheibe()
{
    if (!Laeuft()) {
        zeitgeber_.stop();
        return;
    }
    const Lauf::Neuzeichnungsstand stand = Arbeiten(Lauf::Uhr::now() + scheibe_);
    if (stand == Lauf::Neuzeichnungsstand::Fertig)
        return;
    emit fortschritt(int(lauf_.Neuzeichnung().Anteil() * 100));
    // While the worker computes, no slice is due until it reports back.
    if (stand == Lauf::Neuzeichnungsstand::Warten)
        zeitgeber_.stop();
    else if (!zeitgeber_.isActive())
        zeitgeber_.start();
}

void Neuzeichnung::Weiter()
{
    if (Laeuft() && !zeitgeber_.isActive())
        Scheibe();
}

void Neuzeichnung::Abschliessen()
{
    while (Laeuft()) {
        if (Arbeiten(Lauf::Uhr::time_point::max()) == Lauf::Neuzeichnungsstand::Warten)
            lauf_.ArbeiterAbwarten();
    }
}

Lauf::Neuzeichnungsstand Neuzeichnung::Arbeiten(Lauf::Uhr::time_point bis)
{
    const Lauf::Neuzeichnungsstand stand = lauf_.NeuzeichnenArbeiten(pic_.Flaeche(), bis);
    pic_.GeaendertesZeigen();
    if (stand == Lauf::Neuzeichnungsstand::Fertig) {
        zeitgeber_.stop();
        emit beendet(lauf_.Neuzeichnung().Fehler());
    }
    return stand;
}

void Neuzeichnung::Abbrechen()
{
    if (!Laeuft())
        return;
    zeitgeber_.stop();
    lauf_.NeuzeichnenAbbrechen();
    emit abgebrochen();
}
