// SPDX-License-Identifier: GPL-3.0-or-later
#include "bezugssystem.h"

#include "sim/berechnung.h"
#include "view/koerperpunkte.h"

#include <numbers>

Bezugssystem Bezugssystem::Schwerpunkt()
{
    Bezugssystem b;
    b.art_ = Art::Schwerpunkt;
    return b;
}

Bezugssystem Bezugssystem::EinKoerper(std::size_t koerper)
{
    Bezugssystem b;
    b.art_ = Art::Koerper;
    b.erster_ = koerper;
    return b;
}

Bezugssystem Bezugssystem::Mitrotierend(std::size_t erster, std::size_t zweiter)
{
    Bezugssystem b;
    b.art_ = Art::Mitrotierend;
    b.erster_ = erster;
    b.zweiter_ = zweiter;
    return b;
}

bool Bezugssystem::Passt(std::size_t anzahl) const
{
    switch (art_) {
    case Art::Fest:
    case Art::Schwerpunkt:
        return anzahl > 0;
    case Art::Koerper:
        return erster_ < anzahl;
    case Art::Mitrotierend:
        return erster_ < anzahl && zweiter_ < anzahl && erster_ != zweiter_;
    }
    return false;
}

std::optional<Bezugssystem> Bezugssystem::Nachgefuehrt(const KoerperSatz& vorher, const KoerperSatz& nachher,
                                                       bool umbenannt) const
{
    if (art_ == Art::Fest || art_ == Art::Schwerpunkt)
        return *this;
    const auto folgen = [&, umbenannt](std::size_t i) -> std::optional<std::size_t> {
        if (i >= vorher.size())
            return std::nullopt;
        const QString name = KoerperNameKurz(vorher[i]);
        if (i < nachher.size() && KoerperNameKurz(nachher[i]) == name)
            return i;
        // Rows above it were removed or added: the one body of its name.
        if (!name.isEmpty()) {
            std::optional<std::size_t> gefunden;
            bool eindeutig = true;
            for (std::size_t j = 0; j < nachher.size() && eindeutig; ++j)
                if (KoerperNameKurz(nachher[j]) == name) {
                    eindeutig = !gefunden;
                    gefunden = j;
                }
            if (gefunden && eindeutig)
                return gefunden;
        }
        // As many bodies as before: it was renamed where it is. A name
        // cleared is New's empty body, not a rename.
        if (umbenannt && i < nachher.size() && nachher.size() == vorher.size()
            && !KoerperNameKurz(nachher[i]).isEmpty())
            return i;
        return std::nullopt;
    };
    const std::optional<std::size_t> erster = folgen(erster_);
    if (!erster)
        return std::nullopt;
    if (art_ == Art::Koerper)
        return EinKoerper(*erster);
    const std::optional<std::size_t> zweiter = folgen(zweiter_);
    if (!zweiter || *zweiter == *erster)
        return std::nullopt;
    return Mitrotierend(*erster, *zweiter);
}

QString Bezugssystem::Text(const KoerperSatz& koerper) const
{
    const auto name = [&koerper](std::size_t i) { return i < koerper.size() ? KoerperBezeichnung(koerper[i], i + 1) : QString(); };
    switch (art_) {
    case Art::Fest:
        return {};
    case Art::Schwerpunkt:
        return QStringLiteral("Bezugssystem: Schwerpunkt");
    case Art::Koerper:
        return QStringLiteral("Bezugssystem: ") + name(erster_);
    case Art::Mitrotierend:
        return QStringLiteral("mitrotierend: ") + name(erster_) + QStringLiteral(" – ") + name(zweiter_);
    }
    return {};
}

Bezugslage Bezugssystem::LageJetzt(const KoerperSatz& koerper, bool arbeitssatz, double intervall,
                                   Richtung& letzte) const
{
    Bezugslage lage = Lage(
        koerper, [&koerper](std::size_t i) { return KoerperOrt(koerper[i], MeterProAE); }, letzte);
    if (!Passt(koerper.size()))
        return lage;
    const auto v = [&](std::size_t i) { return KoerperGeschwindigkeit(koerper[i], arbeitssatz, intervall); };
    switch (art_) {
    case Art::Fest:
        break;
    case Art::Koerper:
        lage.geschwindigkeit = v(erster_);
        break;
    case Art::Schwerpunkt: {
        double m = 0;
        QPointF mv, summe;
        for (std::size_t i = 0; i < koerper.size(); ++i) {
            const QPointF vi = v(i);
            m += koerper[i].Masse;
            mv += koerper[i].Masse * vi;
            summe += vi;
        }
        lage.geschwindigkeit = m != 0 ? mv / m : summe / double(koerper.size());
        break;
    }
    case Art::Mitrotierend: {
        const ::Koerper& a = koerper[erster_];
        const ::Koerper& b = koerper[zweiter_];
        const QPointF va = v(erster_), vb = v(zweiter_);
        const double m = a.Masse + b.Masse;
        lage.geschwindigkeit = m != 0 ? (a.Masse * va + b.Masse * vb) / m : (va + vb) / 2;
        // The turn rate of the line between them: (r × w) / r².
        const double rx = b.X - a.X, ry = b.Y - a.Y;
        const QPointF w = vb - va;
        const double r2 = rx * rx + ry * ry;
        lage.drehrate = r2 > 0 ? (rx * w.y() - ry * w.x()) / r2 : 0;
        break;
    }
    }
    return lage;
}

QPointF KoerperGeschwindigkeit(const Koerper& k, bool arbeitssatz, double intervall)
{
    if (arbeitssatz) {
        const double sekunden = intervall * 86400.0;
        return {k.Vx() / sekunden, k.Vy() / sekunden};
    }
    const double w = k.Richtung * std::numbers::pi / 180.0;
    return {k.Geschwindigkeit * std::cos(w), k.Geschwindigkeit * std::sin(w)};
}

std::optional<std::size_t> StaerksteAnziehung(const KoerperSatz& koerper, std::size_t gezogen)
{
    if (gezogen >= koerper.size())
        return std::nullopt;
    const Koerper& k = koerper[gezogen];
    std::optional<std::size_t> staerkster;
    double groesster = 0;
    for (std::size_t j = 0; j < koerper.size(); ++j) {
        if (j == gezogen)
            continue;
        const double dx = koerper[j].X - k.X, dy = koerper[j].Y - k.Y;
        const double zug = koerper[j].Masse / (dx * dx + dy * dy);
        // Also false for NaN; a body on the same spot pulls infinitely.
        if (zug > groesster) {
            groesster = zug;
            staerkster = j;
        }
    }
    return staerkster;
}
