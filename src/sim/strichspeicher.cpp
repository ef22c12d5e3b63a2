#include "strichspeicher.h"

#include "sim/aufbau.h"

#include <algorithm>
#include <bit>
#include <unistd.h>

namespace {
constexpr std::size_t HoechstesBudget = std::size_t(512) << 20;
// Blocks of 1.25 MiB: the record grows without copying, and a small budget
// still holds many blocks.
constexpr std::size_t StricheProBlock = std::size_t(1) << 16;

bool GleicheBits(double a, double b)
{
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}
}  // namespace

// Passes everything on to the real surface and copies each step's strokes
// as they were handed over, before the surface may put them off.
class Strichspeicher::Aufnahme : public Zeichenflaeche {
public:
    Aufnahme(Zeichenflaeche& ziel, std::vector<Strich>& striche)
        : ziel_(ziel)
        , striche_(striche)
    {
        striche_.clear();
    }
    void Cls() override { ziel_.Cls(); }
    void Scale(double x1, double y1, double x2, double y2) override { ziel_.Scale(x1, y1, x2, y2); }
    float ScaleWidth() const override { return ziel_.ScaleWidth(); }
    float ScaleHeight() const override { return ziel_.ScaleHeight(); }
    void Line(float x, float y, float dx, float dy, int32_t farbe) override { ziel_.Line(x, y, dx, dy, farbe); }
    void PSet(float x, float y, int32_t farbe) override { ziel_.PSet(x, y, farbe); }
    void Striche(const Strich* s, std::size_t n) override
    {
        striche_.insert(striche_.end(), s, s + n);
        ziel_.Striche(s, n);
    }
    void StricheVormerken(const Strich* s, std::size_t n) override
    {
        striche_.insert(striche_.end(), s, s + n);
        ziel_.StricheVormerken(s, n);
    }
    bool HatVorgemerkte() const override { return ziel_.HatVorgemerkte(); }
    void Nachholen() override { ziel_.Nachholen(); }

private:
    Zeichenflaeche& ziel_;
    std::vector<Strich>& striche_;
};

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
    schritte_ = 0;
    gueltig_ = false;
    voll_ = false;
    ++generation_;
    start_ = {};
    ende_ = {};
    schritt_ = {};
}

unsigned Strichspeicher::Beginnen(const ModPlavo& mod)
{
    Verwerfen();
    ModPlavo aufbau;
    aufbau.KoerperStart = mod.KoerperStart;
    aufbau.KoerperSim = mod.KoerperSim;
    aufbau.Intervall = mod.Intervall;
    if (const unsigned fehler = KoerperSimAufbauen(aufbau); fehler != KeinFehler)
        return fehler;
    start_ = std::move(aufbau.KoerperStart);
    ende_ = std::move(aufbau.KoerperSim);
    intervall_ = mod.Intervall;
    blockStriche_ = std::clamp<std::size_t>(budget_ / sizeof(Strich) / 16, 1, StricheProBlock);
    gueltig_ = true;
    return KeinFehler;
}

bool Strichspeicher::Passt(const ModPlavo& mod) const
{
    return gueltig_ && GleicheBits(mod.Intervall, intervall_) && BitGleich(mod.KoerperStart, start_);
}

bool Strichspeicher::Fortsetzbar(const KoerperSatz& sim, int32_t schrittzahl, double intervall) const
{
    return gueltig_ && !voll_ && schrittzahl == schritte_ && GleicheBits(intervall, intervall_)
        && BitGleich(sim, ende_);
}

std::size_t Strichspeicher::Bytes() const
{
    return bloecke_.size() * blockStriche_ * sizeof(Strich)
         + (start_.capacity() + ende_.capacity()) * sizeof(Koerper) + schritt_.capacity() * sizeof(Strich);
}

void Strichspeicher::Anhaengen(const Strich* striche, std::size_t anzahl, const KoerperSatz& nachher)
{
    const std::size_t bloecke = (striche_ + anzahl + blockStriche_ - 1) / blockStriche_;
    const std::size_t danach = Bytes() + (bloecke - bloecke_.size()) * blockStriche_ * sizeof(Strich);
    if (danach > budget_) {
        // From here on a redraw computes the steps; what is kept stays exact.
        voll_ = true;
        schritt_ = {};
        return;
    }
    while (bloecke_.size() < bloecke)
        bloecke_.push_back(std::make_unique_for_overwrite<Strich[]>(blockStriche_));
    for (std::size_t i = 0; i < anzahl; ++i, ++striche_)
        bloecke_[striche_ / blockStriche_][striche_ % blockStriche_] = striche[i];
    ende_ = nachher;
    ++schritte_;
}

unsigned Strichspeicher::Schritt(Rechenwerk& werk, const ModPlavo& mod, KoerperSatz& sim, double intervall,
                                 int32_t& schrittzahl, Zeichenflaeche& flaeche)
{
    if (schrittzahl == 0 && !Fortsetzbar(sim, 0, intervall))
        Beginnen(mod);
    if (!Fortsetzbar(sim, schrittzahl, intervall)) {
        const unsigned fehler = werk.Schritt(sim, intervall, schrittzahl, flaeche);
        if (fehler != KeinFehler)
            Verwerfen();
        return fehler;
    }
    Aufnahme aufnahme(flaeche, schritt_);
    const unsigned fehler = werk.Schritt(sim, intervall, schrittzahl, aufnahme);
    if (fehler != KeinFehler) {
        Verwerfen();
        return fehler;
    }
    Anhaengen(schritt_.data(), schritt_.size(), sim);
    return KeinFehler;
}

void Strichspeicher::Aufnehmen(const ModPlavo& mod, const KoerperSatz& vorher, int32_t schrittzahl,
                               double intervall, const Strich* striche, std::size_t anzahl,
                               const KoerperSatz& nachher)
{
    if (schrittzahl == 0 && !Fortsetzbar(vorher, 0, intervall))
        Beginnen(mod);
    if (Fortsetzbar(vorher, schrittzahl, intervall))
        Anhaengen(striche, anzahl, nachher);
}

std::size_t Strichspeicher::Zeichnen(Zeichenflaeche& flaeche, std::size_t ab, std::size_t hoechstens) const
{
    const std::size_t bis = std::min(striche_, ab + std::min(hoechstens, striche_ - std::min(ab, striche_)));
    for (std::size_t i = ab; i < bis;) {
        const std::size_t block = i / blockStriche_, stelle = i % blockStriche_;
        const std::size_t n = std::min(blockStriche_ - stelle, bis - i);
        flaeche.Striche(&bloecke_[block][stelle], n);
        i += n;
    }
    return bis > ab ? bis - ab : 0;
}
