// SPDX-License-Identifier: GPL-3.0-or-later
#include "trefferraster.h"

#include <algorithm>
#include <cmath>
#include <limits>

void Trefferraster::Aufbauen(const std::vector<Mittelpunkt>& punkte, double halbmesser)
{
    punkte_ = punkte;
    halbmesser_ = halbmesser;
    zellenAnfang_.clear();
    eintraege_.clear();
    spalten_ = zeilen_ = 0;
    if (punkte_.empty())
        return;
    int32_t links = std::numeric_limits<int32_t>::max(), oben = links;
    int32_t rechts = std::numeric_limits<int32_t>::min(), unten = rechts;
    for (const Mittelpunkt& p : punkte_) {
        links = std::min(links, p.x), rechts = std::max(rechts, p.x);
        oben = std::min(oben, p.y), unten = std::max(unten, p.y);
    }
    links_ = links, oben_ = oben;
    // Cells about a dot across; never many more cells than dots.
    zelle_ = std::max<int32_t>(1, int32_t(std::ceil(2 * halbmesser)));
    const int64_t breite = int64_t(rechts) - links + 1, hoehe = int64_t(unten) - oben + 1;
    while ((breite / zelle_ + 1) * (hoehe / zelle_ + 1) > int64_t(4 * punkte_.size() + 64))
        zelle_ *= 2;
    spalten_ = int32_t(breite / zelle_ + 1);
    zeilen_ = int32_t(hoehe / zelle_ + 1);
    // A counting sort: ranks stay ascending within each cell.
    zellenAnfang_.assign(std::size_t(spalten_) * zeilen_ + 1, 0);
    const auto zelleVon = [this](const Mittelpunkt& p) {
        return std::size_t((p.y - oben_) / zelle_) * spalten_ + std::size_t((p.x - links_) / zelle_);
    };
    for (const Mittelpunkt& p : punkte_)
        ++zellenAnfang_[zelleVon(p) + 1];
    for (std::size_t i = 1; i < zellenAnfang_.size(); ++i)
        zellenAnfang_[i] += zellenAnfang_[i - 1];
    std::vector<uint32_t> frei(zellenAnfang_.begin(), zellenAnfang_.end() - 1);
    eintraege_.resize(punkte_.size());
    for (std::size_t i = 0; i < punkte_.size(); ++i)
        eintraege_[frei[zelleVon(punkte_[i])]++] = uint32_t(i);
}

Trefferraster::Treffer Trefferraster::Bei(double x, double y) const
{
    Treffer t;
    if (spalten_ == 0 || !std::isfinite(x) || !std::isfinite(y))
        return t;
    const auto bereich = [this](double von, double bis, int32_t anfang, int32_t anzahl) {
        const double a = std::floor((von - anfang) / zelle_), b = std::floor((bis - anfang) / zelle_);
        return std::pair<int32_t, int32_t>(int32_t(std::clamp(a, 0.0, double(anzahl))),
                                          int32_t(std::clamp(b, -1.0, double(anzahl - 1))));
    };
    // The centre of a dot's pixel is half a pixel in.
    const auto [s0, s1] = bereich(x - 0.5 - halbmesser_, x - 0.5 + halbmesser_, links_, spalten_);
    const auto [z0, z1] = bereich(y - 0.5 - halbmesser_, y - 0.5 + halbmesser_, oben_, zeilen_);
    const double r2 = halbmesser_ * halbmesser_;
    for (int32_t z = z0; z <= z1; ++z)
        for (int32_t s = s0; s <= s1; ++s) {
            const std::size_t zelle = std::size_t(z) * spalten_ + s;
            for (uint32_t e = zellenAnfang_[zelle]; e < zellenAnfang_[zelle + 1]; ++e) {
                const Mittelpunkt& p = punkte_[eintraege_[e]];
                const double dx = p.x + 0.5 - x, dy = p.y + 0.5 - y;
                if (dx * dx + dy * dy > r2)
                    continue;
                if (t.anzahl == 0 || eintraege_[e] > t.rang)
                    t.rang = eintraege_[e];
                ++t.anzahl;
            }
        }
    return t;
}
