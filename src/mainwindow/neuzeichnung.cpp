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
    Scheibe();
    if (Laeuft())
        zeitgeber_.start();
}

void Neuzeichnung::Scheibe()
{
    if (!Laeuft()) {
        zeitgeber_.stop();
        return;
    }
    Arbeiten(Lauf::Uhr::now() + scheibe_);
    if (Laeuft())
        emit fortschritt(int(lauf_.Neuzeichnung().Anteil() * 100));
}

void Neuzeichnung::Abschliessen()
{
    if (Laeuft())
        Arbeiten(Lauf::Uhr::time_point::max());
}

void Neuzeichnung::Arbeiten(Lauf::Uhr::time_point bis)
{
    const bool fertig = lauf_.NeuzeichnenArbeiten(pic_.Flaeche(), bis);
    pic_.GeaendertesZeigen();
    if (!fertig)
        return;
    zeitgeber_.stop();
    emit beendet(lauf_.Neuzeichnung().Fehler());
}

void Neuzeichnung::Abbrechen()
{
    if (!Laeuft())
        return;
    zeitgeber_.stop();
    lauf_.NeuzeichnenAbbrechen();
    emit abgebrochen();
}
