// SPDX-License-Identifier: GPL-3.0-or-later
#include "ueberplavo.h"

#include "sim/helferfaden.h"
#include "sim/kernwahl.h"

#ifndef PLAVO_VERSION
#define PLAVO_VERSION "?"
#endif

QString Rechenkernbeschreibung()
{
    const Zeilenkern kern = KernFuer(Befehlssatz::Automatisch);
    QString satz;
    switch (kern.satz) {
    case Befehlssatz::Avx512: satz = QStringLiteral("AVX-512"); break;
    case Befehlssatz::Avx2: satz = QStringLiteral("AVX2"); break;
    default: satz = QStringLiteral("ohne Vektorbefehle"); break;
    }
    // The step shares its rows with one helper thread, from a size on where that pays.
    if (!HelferFaden::Instanz())
        return satz + QStringLiteral(", 1 Rechenkern");
    return satz + QStringLiteral(", 2 Rechenkerne ab %1 Körpern").arg(kern.zweiFaedenAb);
}

QString UeberPlavoText()
{
    return QStringLiteral("<h3>Plavo %1</h3>"
                          "<p>Simuliert Planeten, Monde und Sterne, die sich in einer Ebene unter ihrer "
                          "gegenseitigen Schwerkraft bewegen.</p>"
                          "<p>Lizenz: GNU General Public License, Version 3 oder jede spätere Version "
                          "(GPL-3.0-or-later). Plavo ist freie Software und wird ohne jede Gewährleistung "
                          "weitergegeben.</p>"
                          "<p>Qt %2<br>Schritt: %3</p>")
        .arg(QStringLiteral(PLAVO_VERSION), QString::fromLatin1(qVersion()), Rechenkernbeschreibung());
}
