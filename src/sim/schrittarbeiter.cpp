#include "schrittarbeiter.h"

namespace {
// Keeps what a step hands to the surface, in order, to be drawn later.
class Sammelflaeche final : public Zeichenflaeche {
public:
    explicit Sammelflaeche(std::vector<Strich>& striche)
        : striche_(striche)
    {
    }
    void Cls() override {}
    void Scale(double, double, double, double) override {}
    float ScaleWidth() const override { return 1; }
    float ScaleHeight() const override { return 1; }
    void Line(float x, float y, float dx, float dy, int32_t farbe) override
    {
        striche_.push_back({x, y, dx, dy, farbe});
    }
    void PSet(float, float, int32_t) override {}
    void Striche(const Strich* s, std::size_t n) override { striche_.insert(striche_.end(), s, s + n); }

private:
    std::vector<Strich>& striche_;
};
}  // namespace

Schrittarbeiter::~Schrittarbeiter()
{
    {
        std::lock_guard<std::mutex> g(sperre_);
        ende_ = true;
    }
    signal_.notify_all();
    if (faden_.joinable())
        faden_.join();
}

bool Schrittarbeiter::Abgeben(Auftrag auftrag, std::function<void()> fertig)
{
    {
        std::lock_guard<std::mutex> g(sperre_);
        if (belegt_)
            return false;
        auftrag_ = std::move(auftrag);
        melden_ = std::move(fertig);
        belegt_ = true;
        fertig_ = false;
        if (!faden_.joinable())
            faden_ = std::thread(&Schrittarbeiter::Lauf, this);
    }
    signal_.notify_all();
    return true;
}

bool Schrittarbeiter::Belegt() const
{
    std::lock_guard<std::mutex> g(sperre_);
    return belegt_;
}

bool Schrittarbeiter::Fertig() const
{
    std::lock_guard<std::mutex> g(sperre_);
    return belegt_ && fertig_;
}

void Schrittarbeiter::Abwarten()
{
    std::unique_lock<std::mutex> g(sperre_);
    signal_.wait(g, [this] { return !belegt_ || fertig_; });
}

Schrittarbeiter::Auftrag Schrittarbeiter::Abholen()
{
    std::lock_guard<std::mutex> g(sperre_);
    belegt_ = false;
    fertig_ = false;
    return std::move(auftrag_);
}

void Schrittarbeiter::Lauf()
{
    std::unique_lock<std::mutex> g(sperre_);
    for (;;) {
        signal_.wait(g, [this] { return ende_ || (belegt_ && !fertig_); });
        if (ende_)
            return;
        // The job is this thread's until it says it is done.
        Auftrag& a = auftrag_;
        g.unlock();
        a.nachher = a.vorher;
        a.striche.clear();
        a.striche.reserve(a.vorher.size());
        Sammelflaeche flaeche(a.striche);
        int32_t n = a.schrittzahl;
        a.fehler = werk_.Schritt(a.nachher, a.intervall, n, flaeche);
        const std::function<void()> melden = melden_;
        g.lock();
        fertig_ = true;
        signal_.notify_all();
        if (melden) {
            g.unlock();
            melden();
            g.lock();
        }
    }
}
