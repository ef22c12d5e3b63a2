// SPDX-License-Identifier: GPL-3.0-or-later
#include "arbeiter.h"

#include <limits>

bool Arbeiter::Marke::Fertig() const
{
    return !zustand_ || zustand_->fertig.load(std::memory_order_acquire);
}

void Arbeiter::Marke::Abwarten() const
{
    if (!zustand_)
        return;
    while (!zustand_->fertig.load(std::memory_order_acquire))
        zustand_->fertig.wait(false, std::memory_order_acquire);
}

void Arbeiter::Marke::Abbrechen() const
{
    if (zustand_)
        zustand_->abgebrochen.store(true, std::memory_order_relaxed);
}

void Arbeiter::Beenden(Marke::Zustand& zustand)
{
    zustand.fertig.store(true, std::memory_order_release);
    zustand.fertig.notify_all();
}

Arbeiter::~Arbeiter()
{
    std::deque<Eintrag> uebrig;
    {
        std::lock_guard<std::mutex> g(sperre_);
        ende_ = true;
        uebrig.swap(wartend_);
    }
    signal_.notify_all();
    for (Eintrag& e : uebrig) {
        e.zustand->abgebrochen.store(true, std::memory_order_relaxed);
        Beenden(*e.zustand);
    }
    if (faden_.joinable())
        faden_.join();
}

Arbeiter::Marke Arbeiter::Abgeben(Aufgabe aufgabe)
{
    return Einreihen(std::move(aufgabe), std::numeric_limits<std::size_t>::max());
}

Arbeiter::Marke Arbeiter::Versuchen(Aufgabe aufgabe, std::size_t hoechstens)
{
    return Einreihen(std::move(aufgabe), hoechstens);
}

Arbeiter::Marke Arbeiter::Einreihen(Aufgabe&& aufgabe, std::size_t hoechstens)
{
    Marke marke;
    {
        std::lock_guard<std::mutex> g(sperre_);
        if (ende_ || wartend_.size() >= hoechstens)
            return marke;
        marke.zustand_ = std::make_shared<Marke::Zustand>();
        wartend_.push_back({std::move(aufgabe), marke.zustand_});
        if (!faden_.joinable())
            faden_ = std::thread(&Arbeiter::Lauf, this);
    }
    signal_.notify_all();
    return marke;
}

std::size_t Arbeiter::Wartend() const
{
    std::lock_guard<std::mutex> g(sperre_);
    return wartend_.size();
}

void Arbeiter::Lauf()
{
    std::unique_lock<std::mutex> g(sperre_);
    for (;;) {
        signal_.wait(g, [this] { return ende_ || !wartend_.empty(); });
        if (ende_)
            return;
        Eintrag e = std::move(wartend_.front());
        wartend_.pop_front();
        g.unlock();
        Marke::Zustand& z = *e.zustand;
        if (!z.abgebrochen.load(std::memory_order_relaxed)) {
            if (e.aufgabe.arbeit)
                e.aufgabe.arbeit(z.abgebrochen);
            // Posted before the mark says done: a receiver that waits for
            // its tasks before it goes is still there to take the call. The
            // call itself waits the moment until the mark says done, so
            // that the receiver finds its task done.
            if (e.aufgabe.empfaenger && e.aufgabe.fertig && !z.abgebrochen.load(std::memory_order_relaxed)) {
                QMetaObject::invokeMethod(
                    e.aufgabe.empfaenger,
                    [marke = Marke(e.zustand), fertig = std::move(e.aufgabe.fertig)] {
                        marke.Abwarten();
                        fertig();
                    },
                    Qt::QueuedConnection);
            }
        }
        // The task's captures go here, on this thread, before anyone is told.
        e.aufgabe = {};
        Beenden(z);
        g.lock();
    }
}
