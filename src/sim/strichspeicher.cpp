// SPDX-License-Identifier: GPL-3.0-or-later
#include "strichspeicher.h"

#include "sim/aufbau.h"

#include <algorithm>
#include <unistd.h>

namespace {
constexpr std::size_t HoechstesBudget = std::size_t(512) << 20;
// Blocks of 1.25 MiB: the record grows without copying, and a small budget
// still holds many blocks.
constexpr std::size_t StricheProBlock = std::size_t(1) << 16;
}  // namespace

std::size_t Strichspeicher::StandardBudget()
{
    const long seiten = sysconf(_SC_PHYS_PAGES);
    const long seite = sysconf(_SC_PAGE_SIZE);
    if (seiten <= 0 || seite <= 0)
        return HoechstesBudget;
    return std::min(HoechstesBudget, std::size_t(seiten) / 4 * std::size_t(seite));
}

Strichspeicher::Strichspeicher(std::size_t budgetBytes)
    : budget_(budgetBytes)
{
}

void Strichspeicher::Verwerfen()
{
    bloecke_.clear();
    bloecke_.shrink_to_fit();
    striche_ = 0;
    gueltig_ = false;
    voll_ = false;
    ++generation_;
    start_ = {};
    marken_.clear();
    ende_ = {};
}

unsigned Strichspeicher::Beginnen(const ModPlavo& mod)
{
    Verwerfen();
    Laufstand anfang;
    if (const unsigned fehler = KoerperSimAufbauen(mod, anfang); fehler != KeinFehler)
        return fehler;
    anfang.Schrittzahl = 0;
    start_ = mod.KoerperStart;
    ende_ = std::move(anfang);
    blockStriche_ = std::clamp<std::size_t>(budget_ / sizeof(Strich) / 16, 1, StricheProBlock);
    gueltig_ = true;
    return KeinFehler;
}

bool Strichspeicher::Passt(const ModPlavo& mod, const Eingriffe& eingriffe) const
{
    if (!gueltig_ || !GleicheBits(mod.Intervall, ende_.Intervall) || !BitGleich(mod.KoerperStart, start_))
        return false;
    if (marken_.size() > eingriffe.size())
        return false;
    for (std::size_t i = 0; i < marken_.size(); ++i)
        if (marken_[i].eingriff != eingriffe[i])
            return false;
    // One the record did not take (it was full) must come at or after its end.
    return marken_.size() == eingriffe.size() || eingriffe[marken_.size()]->Schritt >= ende_.Schrittzahl;
}

void Strichspeicher::Eingreifen(const EingriffPtr& eingriff, const Laufstand& vorher)
{
    if (!Fortsetzbar(vorher) || eingriff->Schritt != vorher.Schrittzahl)
        return;
    marken_.push_back({eingriff, striche_});
    ende_.KoerperSim = eingriff->Koerper;
}

std::size_t Strichspeicher::StricheBis(int32_t schritt) const
{
    std::size_t striche = 0, koerper = start_.size();
    int32_t ab = 0;
    for (const Marke& m : marken_) {
        if (m.eingriff->Schritt >= schritt)
            break;
        striche = m.striche;
        ab = m.eingriff->Schritt;
        koerper = m.eingriff->Koerper.size();
    }
    return striche + std::size_t(schritt - ab) * koerper;
}

bool Strichspeicher::Ansetzen(const Eingriffe& eingriffe, const Laufstand& stand)
{
    const int32_t s = stand.Schrittzahl;
    if (!gueltig_ || ende_.Schrittzahl < s || !GleicheBits(stand.Intervall, ende_.Intervall))
        return false;
    if (!eingriffe.empty() && eingriffe.back()->Schritt > s)
        return false;
    // The strokes up to step s depend on the interventions before it only.
    std::size_t vorher = 0;
    while (vorher < marken_.size() && marken_[vorher].eingriff->Schritt < s)
        ++vorher;
    if (vorher > eingriffe.size() || (vorher < eingriffe.size() && eingriffe[vorher]->Schritt < s))
        return false;
    for (std::size_t i = 0; i < vorher; ++i)
        if (marken_[i].eingriff != eingriffe[i])
            return false;
    striche_ = StricheBis(s);
    marken_.resize(vorher);
    for (std::size_t i = vorher; i < eingriffe.size(); ++i)
        marken_.push_back({eingriffe[i], striche_});
    ende_.KoerperSim = stand.KoerperSim;
    ende_.Schrittzahl = s;
    voll_ = false;
    bloecke_.resize((striche_ + blockStriche_ - 1) / blockStriche_);
    // A replay drawing the strokes cut off must not go on with them.
    ++generation_;
    return true;
}

bool Strichspeicher::Fortsetzbar(const Laufstand& vorher) const
{
    return gueltig_ && !voll_ && BitGleich(vorher, ende_);
}

std::size_t Strichspeicher::Bytes() const
{
    return bloecke_.size() * blockStriche_ * sizeof(Strich)
         + (start_.capacity() + ende_.KoerperSim.capacity()) * sizeof(Koerper);
}

void Strichspeicher::Anhaengen(std::span<const Strich> striche, const Laufstand& nachher)
{
    const std::size_t bloecke = (striche_ + striche.size() + blockStriche_ - 1) / blockStriche_;
    const std::size_t danach = Bytes() + (bloecke - bloecke_.size()) * blockStriche_ * sizeof(Strich);
    if (danach > budget_) {
        // From here on a redraw computes the steps; what is kept stays exact.
        voll_ = true;
        return;
    }
    while (bloecke_.size() < bloecke)
        bloecke_.push_back(std::make_unique_for_overwrite<Strich[]>(blockStriche_));
    for (const Strich& s : striche) {
        bloecke_[striche_ / blockStriche_][striche_ % blockStriche_] = s;
        ++striche_;
    }
    ende_.KoerperSim = nachher.KoerperSim;
    ++ende_.Schrittzahl;
}

bool Strichspeicher::Fortsetzen(const ModPlavo& mod, const Laufstand& vorher)
{
    if (vorher.Schrittzahl == 0 && !Fortsetzbar(vorher))
        Beginnen(mod);
    return Fortsetzbar(vorher);
}

void Strichspeicher::Aufnehmen(const ModPlavo& mod, const Laufstand& vorher, std::span<const Strich> striche,
                               const Laufstand& nachher)
{
    if (Fortsetzen(mod, vorher))
        Anhaengen(striche, nachher);
}

std::span<const Strich> Strichspeicher::Striche(std::size_t ab, std::size_t hoechstens) const
{
    if (ab >= striche_)
        return {};
    const std::size_t block = ab / blockStriche_, stelle = ab % blockStriche_;
    const std::size_t n = std::min({blockStriche_ - stelle, striche_ - ab, hoechstens});
    return {&bloecke_[block][stelle], n};
}
