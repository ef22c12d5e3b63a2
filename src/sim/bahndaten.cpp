// SPDX-License-Identifier: GPL-3.0-or-later
#include "bahndaten.h"

#include <QString>
#include <charconv>
#include <cmath>

std::string ZahlExakt(double wert, char dezimal)
{
    char puffer[64];
    const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, wert);
    std::string text(puffer, fehler == std::errc() ? ende : puffer);
    for (char& c : text) {
        if (c == '.')
            c = dezimal;
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

std::string BahndatenKopf(const BahndatenFormat& f)
{
    const char* spalten[] = {"Schritt", "Tage", "Körper", "Name", "x (m)", "y (m)", "vx (m/s)", "vy (m/s)"};
    const char* festeSpalten[] = {"Schritt", "Tage", "Körper", "Name", "x (m, festes Bezugssystem)",
                                  "y (m, festes Bezugssystem)", "vx (m/s, festes Bezugssystem)",
                                  "vy (m/s, festes Bezugssystem)"};
    std::string kopf;
    for (const char* s : f.FestesBezugssystem ? festeSpalten : spalten) {
        if (!kopf.empty())
            kopf += f.Trenner;
        kopf += s;
    }
    return kopf + "\r\n";
}

namespace {

// The name without its padding, always quoted: a separator, a quote or a line
// break in it cannot split the row. A leading = + - or @ would make a
// spreadsheet run the name as a formula, so it is shown as text.
std::string NameFeld(const Koerper& k)
{
    QString name = k.NameText();
    name.remove(QChar(u'\0'));
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (!name.isEmpty() && QStringLiteral("=+-@").contains(name.front()))
        name.prepend(QLatin1Char('\''));
    name.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return "\"" + name.toStdString() + "\"";
}

}  // namespace

void BahndatenZeilen(std::string& ziel, const KoerperSatz& sim, int32_t schritt, double intervall,
                     const BahndatenFormat& f)
{
    const double sekunden = intervall * 86400.0;
    const std::string anfang = std::to_string(schritt) + f.Trenner + ZahlExakt(double(schritt) * intervall, f.Dezimal);
    const auto geschwindigkeit = [&](double verschiebung) {
        const double v = verschiebung / sekunden;
        return std::isfinite(v) ? ZahlExakt(v, f.Dezimal) : std::string();
    };
    for (size_t i = 0; i < sim.size(); ++i) {
        const Koerper& k = sim[i];
        ziel += anfang;
        ziel += f.Trenner;
        ziel += std::to_string(i + 1);
        ziel += f.Trenner;
        ziel += NameFeld(k);
        for (const std::string& zahl : {ZahlExakt(k.X, f.Dezimal), ZahlExakt(k.Y, f.Dezimal),
                                        geschwindigkeit(k.Vx()), geschwindigkeit(k.Vy())}) {
            ziel += f.Trenner;
            ziel += zahl;
        }
        ziel += "\r\n";
    }
}

int32_t BahndatenAbstand(int32_t schritte, size_t koerper, int64_t maxZeilen)
{
    const int64_t zeilenProSchritt = std::max<int64_t>(1, int64_t(koerper));
    const int64_t schritteErlaubt = std::max<int64_t>(1, maxZeilen / zeilenProSchritt);
    const int64_t n = int64_t(schritte) + 1;
    return int32_t(std::max<int64_t>(1, (n + schritteErlaubt - 1) / schritteErlaubt));
}
