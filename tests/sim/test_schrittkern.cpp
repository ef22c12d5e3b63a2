// SPDX-License-Identifier: GPL-3.0-or-later
// The fast velocity pass against the literal loop: same bits and same
// floating-point faults, on every kernel and every way of sharing the rows
// between threads that the program may pick.

#include "sim/helferfaden.h"
#include "sim/kernwahl.h"
#include "sim/schrittkern.h"
#include "sim/zeilenkern.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Satz {
    std::vector<double> x, y, m, vx, vy;
    double K = 3e24;

    explicit Satz(size_t n)
        : x(n), y(n), m(n), vx(n), vy(n)
    {
    }
    size_t n() const { return x.size(); }
    // The pass as the step runs it, on the flags as they stand.
    unsigned Pass() { return Geschwindigkeiten(n(), x.data(), y.data(), m.data(), vx.data(), vy.data(), K); }
    // One path on cleared flags.
    unsigned Mit(Befehlssatz satz, Aufteilung aufteilung)
    {
        FlagsLoeschen();
        return GeschwindigkeitenMit(satz, aufteilung, n(), x.data(), y.data(), m.data(), vx.data(), vy.data(), K);
    }
};

struct Weg {
    Befehlssatz satz;
    Aufteilung aufteilung;
    const char* name;
};

const Weg AlleWege[] = {
    {Befehlssatz::Automatisch, Aufteilung::Automatisch, "automatic"},
    {Befehlssatz::Skalar, Aufteilung::Allein, "scalar, one thread"},
    {Befehlssatz::Skalar, Aufteilung::Geteilt, "scalar, shared"},
    {Befehlssatz::Skalar, Aufteilung::NurHelfer, "scalar, helper only"},
    {Befehlssatz::Avx2, Aufteilung::Allein, "AVX2, one thread"},
    {Befehlssatz::Avx2, Aufteilung::Geteilt, "AVX2, shared"},
    {Befehlssatz::Avx2, Aufteilung::NurHelfer, "AVX2, helper only"},
    {Befehlssatz::Avx512, Aufteilung::Allein, "AVX-512, one thread"},
    {Befehlssatz::Avx512, Aufteilung::Geteilt, "AVX-512, shared"},
    {Befehlssatz::Avx512, Aufteilung::NurHelfer, "AVX-512, helper only"},
};

uint64_t Bits(double d)
{
    uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

// Same bits; NaNs only need to be NaN (which of two NaN operands an
// instruction passes on is the compiler's choice of operand order).
::testing::AssertionResult GleicheBits(const std::vector<double>& ist, const std::vector<double>& soll)
{
    for (size_t i = 0; i < soll.size(); ++i) {
        if (std::isnan(soll[i]) && std::isnan(ist[i]))
            continue;
        if (Bits(ist[i]) != Bits(soll[i]))
            return ::testing::AssertionFailure()
                   << "row " << i << ": " << ist[i] << " (0x" << std::hex << Bits(ist[i]) << ") instead of "
                   << soll[i] << " (0x" << Bits(soll[i]) << ")";
    }
    return ::testing::AssertionSuccess();
}

unsigned Referenz(Satz& s)
{
    FlagsLoeschen();
    GeschwindigkeitenReferenz(s.n(), s.x.data(), s.y.data(), s.m.data(), s.vx.data(), s.vy.data(), s.K);
    return FlagsAlsFehler();
}

// Runs the set through the reference and through every path; compares the
// velocities bit for bit and the returned faults with the reference's flags.
void WieReferenz(const Satz& start, const char* fall)
{
    Satz soll = start;
    const unsigned sollFehler = Referenz(soll);
    for (const Weg& w : AlleWege) {
        if (!BefehlssatzVerfuegbar(w.satz))
            continue;   // would only repeat a narrower kernel; the last test names what was skipped
        Satz ist = start;
        const unsigned fehler = ist.Mit(w.satz, w.aufteilung);
        SCOPED_TRACE(::testing::Message() << fall << ", n = " << start.n() << ", " << w.name);
        EXPECT_EQ(fehler, sollFehler);
        EXPECT_TRUE(GleicheBits(ist.vx, soll.vx));
        EXPECT_TRUE(GleicheBits(ist.vy, soll.vy));
    }
}

// Deterministic numbers in [0, 1).
struct Zufall {
    uint64_t z;
    double operator()()
    {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        return double(z >> 11) * 0x1p-53;
    }
};

Satz Streuung(size_t n, uint64_t start, double mitteX = 0, double mitteY = 0, double weite = 3e11)
{
    Zufall z{start};
    Satz s(n);
    for (size_t i = 0; i < n; ++i) {
        s.x[i] = mitteX + (z() - 0.5) * weite;
        s.y[i] = mitteY + (z() - 0.5) * weite;
        s.m[i] = z() < 0.2 ? 333000 * z() : z();
        s.vx[i] = (z() - 0.5) * 1e9;
        s.vy[i] = i % 3 == 0 ? -0.0 : (z() - 0.5) * 1e9;
    }
    return s;
}

}  // namespace

TEST(Schrittkern, EveryPathGivesTheReferenceBitsForManySizes)
{
    for (const size_t n : {1u, 2u, 3u, 7u, 9u, 17u, 40u, 64u, 129u, 512u})
        WieReferenz(Streuung(n, n), "scattered");
}

TEST(Schrittkern, SpecialSetsGiveTheReferenceBits)
{
    // Groups of bodies at exactly the same place: they skip each other but
    // feel every other group.
    Satz gleich = Streuung(67, 1);
    for (size_t i = 0; i < gleich.n(); ++i) {
        gleich.x[i] = gleich.x[i % 5];
        gleich.y[i] = gleich.y[i % 5];
    }
    WieReferenz(gleich, "coincident");

    // Massless bodies pull nothing: their pairs add +0 or -0.
    Satz masselos = Streuung(45, 2);
    for (size_t i = 0; i < masselos.n(); i += 2)
        masselos.m[i] = 0;
    WieReferenz(masselos, "massless");

    // -0 velocities: a skipped pair must leave -0 alone, an added +0 turns it into +0.
    Satz nullen = Streuung(50, 3);
    for (size_t i = 0; i < nullen.n(); ++i) {
        nullen.vx[i] = -0.0;
        nullen.vy[i] = -0.0;
        nullen.m[i] = i % 2 ? 0.0 : -0.0;
    }
    nullen.x[7] = nullen.x[8];
    nullen.y[7] = nullen.y[8];
    WieReferenz(nullen, "negative zeros");
    Satz einsam = Streuung(1, 4);
    einsam.vx[0] = -0.0;
    WieReferenz(einsam, "a single body");

    // No pair interacts, so nothing of a pair may raise a flag: not the
    // overflowing K * m, not the signalling NaN that a sum would touch.
    einsam.vy[0] = std::numeric_limits<double>::signaling_NaN();
    WieReferenz(einsam, "a single body with a signalling NaN velocity");
    Satz haufen = Streuung(6, 4);
    for (size_t i = 0; i < haufen.n(); ++i) {
        haufen.x[i] = haufen.y[i] = 1e11;
        haufen.m[i] = 1e300;
    }
    haufen.vx[5] = std::numeric_limits<double>::signaling_NaN();
    haufen.m[2] = std::numeric_limits<double>::infinity();
    WieReferenz(haufen, "all in one place");
    haufen.K = std::numeric_limits<double>::infinity();
    WieReferenz(haufen, "all in one place, K infinite");

    // Far from the origin the differences lose most of their digits.
    WieReferenz(Streuung(77, 5, 4.1e17, -3.3e16, 1e9), "far cluster");

    // Negative masses, and an interval of 0.
    Satz negativ = Streuung(41, 6);
    for (size_t i = 0; i < negativ.n(); i += 3)
        negativ.m[i] = -negativ.m[i];
    WieReferenz(negativ, "negative masses");
    negativ.K = 0;
    WieReferenz(negativ, "K = 0");
}

TEST(Schrittkern, ScalarDistanceTestSignalsOnNaN)
{
    // What the compiled literal loop does: "r > 0" is an ordered comparison,
    // so a NaN distance raises "invalid" although no arithmetic on it does.
    volatile double r = std::numeric_limits<double>::quiet_NaN();
    FlagsLoeschen();
    const volatile bool groesser = r > 0;
    EXPECT_FALSE(groesser);
    EXPECT_EQ(FlagsAlsFehler(), FehlerUngueltig);

    Satz s = Streuung(45, 7);
    s.x[44] = std::numeric_limits<double>::quiet_NaN();
    Satz t = s;
    EXPECT_EQ(Referenz(t), FehlerUngueltig);
    WieReferenz(s, "NaN position");
}

// Bodies `zeile` and `zeile + 1` at distance d near the origin: a fault
// (or a huge pull) confined to those two rows.
void NahesPaar(Satz& s, size_t zeile, double d)
{
    s.x[zeile] = 0;
    s.y[zeile] = 0;
    s.x[zeile + 1] = d;
    s.y[zeile + 1] = 0;
}

TEST(Schrittkern, FaultsInEitherHalfAreReportedAsTheReferenceReportsThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double max = std::numeric_limits<double>::max();
    for (const size_t n : {9u, 64u, 130u}) {
        // The first row, the middle and the last rows: with the rows shared,
        // the calling thread takes the first blocks and the helper usually
        // the last; "helper only" and "one thread" pin every row.
        for (const size_t zeile : {size_t(0), n / 2 - 1, n - 2}) {
            Satz ueberlauf = Streuung(n, 10);
            ueberlauf.K = 1e200;
            NahesPaar(ueberlauf, zeile, 1e-50);   // a pull of 1e300 in +x on `zeile`
            ueberlauf.vx[zeile] = max;
            WieReferenz(ueberlauf, "overflowing sum");

            Satz nah = Streuung(n, 11);
            NahesPaar(nah, zeile, 1e-110);   // r cubed underflows to 0
            WieReferenz(nah, "division by zero");
            nah.vx[zeile] = -inf;   // + (+inf)
            WieReferenz(nah, "division by zero and inf - inf");

            Satz signal = Streuung(n, 12);
            signal.vy[zeile + 1] = std::numeric_limits<double>::signaling_NaN();
            WieReferenz(signal, "signalling NaN velocity");

            Satz fern = Streuung(n, 13);
            fern.y[zeile] = -inf;
            WieReferenz(fern, "infinite position");
            fern.y[zeile] = 1e300;
            WieReferenz(fern, "overflowing distance");
        }
    }
}

TEST(Schrittkern, HostileValuesGiveTheReferenceBitsAndFaults)
{
    // Sets mixing ordinary values with zeros of both signs, extremes,
    // subnormals, infinities and NaNs of both kinds, in every field.
    const double inf = std::numeric_limits<double>::infinity();
    const double besondere[] = {
        0.0, -0.0, 1.0, -1.0, 1.5e11, -1.5e11, 333000.0, 1e154, 1e300, -1e300,
        std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(), 1e-300, inf, -inf,
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::signaling_NaN(),
    };
    constexpr size_t anzahl = sizeof besondere / sizeof besondere[0];
    // One to three of them per set, so that each fault still shows.
    Zufall z{77};
    for (int k = 0; k < 300; ++k) {
        const size_t n = 1 + size_t(z() * 70);
        Satz s = Streuung(n, uint64_t(k));
        std::vector<double>* felder[] = {&s.x, &s.y, &s.m, &s.vx, &s.vy};
        for (int p = 0, pflanzen = 1 + int(z() * 3); p < pflanzen; ++p)
            (*felder[size_t(z() * 5)])[size_t(z() * double(n))] = besondere[size_t(z() * anzahl)];
        if (k % 50 == 0)
            s.K = besondere[size_t(z() * anzahl)];
        WieReferenz(s, "hostile values");
    }
}

TEST(Schrittkern, BackToBackSharedPassesStayExact)
{
    // Passes in quick succession, as in a replay: the caller regularly takes
    // over units the helper is still working on, and the next pass may begin
    // before the helper has left the one before. A fault planted in a
    // different row each time must be reported each time, and only then.
    for (int k = 0; k < 150; ++k) {
        const size_t n = 40 + size_t(k % 7) * 31;
        Satz s[2] = {Streuung(n, uint64_t(100 + k)), Streuung(n, uint64_t(1000 + k))};
        s[k % 2].vy[size_t(k) % n] = std::numeric_limits<double>::signaling_NaN();
        Satz soll[2] = {s[0], s[1]};
        unsigned sollFehler[2], fehler[2];
        for (int p = 0; p < 2; ++p)
            sollFehler[p] = Referenz(soll[p]);
        for (int p = 0; p < 2; ++p)
            fehler[p] = s[p].Mit(Befehlssatz::Automatisch, Aufteilung::Geteilt);
        for (int p = 0; p < 2; ++p) {
            ASSERT_EQ(fehler[p], sollFehler[p]) << "pass " << k << "/" << p;
            ASSERT_EQ(fehler[p], p == k % 2 ? FehlerUngueltig : KeinFehler) << "pass " << k << "/" << p;
            ASSERT_TRUE(GleicheBits(s[p].vx, soll[p].vx)) << "pass " << k << "/" << p;
            ASSERT_TRUE(GleicheBits(s[p].vy, soll[p].vy)) << "pass " << k << "/" << p;
        }
    }
}

TEST(Schrittkern, TheCallerTakesOverWhatASlowHelperHasNotDelivered)
{
    // A helper that dawdles before each unit, like one pushed off its
    // processor: the caller stops waiting for the unit it holds and computes
    // it too, and a pass that begins while the helper is still busy with it
    // runs alone. Faults in the helper's rows must count once, from the caller.
    for (int k = 0; k < 12; ++k) {
        const size_t n = 41 + size_t(k) * 5;
        Satz s = Streuung(n, uint64_t(200 + k));
        s.vx[n - 1 - size_t(k) % 6] = std::numeric_limits<double>::signaling_NaN();
        Satz soll = s;
        const unsigned sollFehler = Referenz(soll);
        ASSERT_EQ(sollFehler, FehlerUngueltig);
        const unsigned fehler = s.Mit(Befehlssatz::Automatisch, Aufteilung::Bremse);
        ASSERT_EQ(fehler, sollFehler) << "pass " << k;
        ASSERT_TRUE(GleicheBits(s.vx, soll.vx)) << "pass " << k;
        ASSERT_TRUE(GleicheBits(s.vy, soll.vy)) << "pass " << k;
    }
}

TEST(Schrittkern, TheHelperReportsOnlyTheCurrentPassAndRoundsLikeTheCaller)
{
    Satz schlecht = Streuung(64, 20);
    schlecht.vx[63] = std::numeric_limits<double>::signaling_NaN();
    EXPECT_EQ(schlecht.Mit(Befehlssatz::Automatisch, Aufteilung::NurHelfer), FehlerUngueltig);
    Satz gut = Streuung(64, 21);
    EXPECT_EQ(gut.Mit(Befehlssatz::Automatisch, Aufteilung::NurHelfer), KeinFehler);

    // A caller that rounds upwards gets upward-rounded rows from the helper
    // too, and a small system is not given the distances of the other row
    // of a pair, which then differ.
    const int vorher = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    WieReferenz(Streuung(100, 22), "rounding upwards");
    WieReferenz(Streuung(30, 23), "rounding upwards");
    std::fesetround(vorher);
}

TEST(Schrittkern, SmallPassesLeaveTheHelperAsleepAndKeepEarlierFaults)
{
    HelferFaden* helfer = HelferFaden::Instanz();
    if (!helfer)
        GTEST_SKIP() << "one processor: there is no helper";
    // Below the size where sharing pays, waking the helper costs more than
    // the whole pass: no kernel may hand it a job.
    for (const Befehlssatz satz : {Befehlssatz::Skalar, Befehlssatz::Avx2, Befehlssatz::Avx512}) {
        BefehlssatzErzwingen(satz);
        const std::size_t ab = KernFuer(Befehlssatz::Automatisch).zweiFaedenAb;
        const uint32_t vorher = helfer->Auftraege();
        for (std::size_t n = 0; n < ab; n += 3) {
            Streuung(n, 400 + n).Pass();
        }
        EXPECT_EQ(helfer->Auftraege(), vorher) << "kernel " << int(satz);
        // From `ab` on it shares, unless the helper is still busy with a
        // unit of an earlier test's pass: then the pass runs alone.
        for (int versuch = 0; versuch < 200 && helfer->Auftraege() == vorher; ++versuch) {
            Streuung(ab, 401).Pass();
            if (helfer->Auftraege() == vorher)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_NE(helfer->Auftraege(), vorher) << "kernel " << int(satz) << " does not share at " << ab;
    }
    BefehlssatzErzwingen(Befehlssatz::Automatisch);

    // The step clears the flags once, computes K and then the pass: a fault
    // of K must come back with the pass's, alone and shared.
    for (const std::size_t n : {std::size_t(1), std::size_t(300)}) {
        Satz s = Streuung(n, 402);
        FlagsLoeschen();
        volatile double gross = 1e300;
        gross = gross * gross;
        EXPECT_EQ(s.Pass(), FehlerUeberlauf) << n << " bodies";
    }
    FlagsLoeschen();
}

// Fused multiply-add would change the bits of every product summed; the build
// must forbid the compiler to fuse even where the target has FMA.
__attribute__((target("fma"))) double MalPlus(double a, double b, double c)
{
    return a * b + c;
}

TEST(Schrittkern, BuildDoesNotFuseMultiplyAndAdd)
{
    if (!__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no FMA on this processor";
    volatile double a = 1 + 0x1p-30, b = 1 - 0x1p-30, c = -1;
    // Unfused, a * b = 1 - 2^-60 rounds to 1; fused it would give -2^-60.
    EXPECT_EQ(MalPlus(a, b, c), 0.0);
}

TEST(Schrittkern, TheChoiceIsAKernelTheProcessorHasAndEachCanBeForced)
{
    // The choice is made during the first step: an x87 flag left over (here
    // overflow, from long double arithmetic) must not turn into a fault of it.
    volatile long double gross = std::numeric_limits<long double>::max();
    gross = gross * 2;
    FlagsLoeschen();
    const Befehlssatz gewaehlt = GewaehlterBefehlssatz();
    EXPECT_EQ(FlagsAlsFehler(), KeinFehler);
    std::feclearexcept(FE_ALL_EXCEPT);

    EXPECT_EQ(Avx2Verfuegbar(), __builtin_cpu_supports("avx2") != 0);
    EXPECT_EQ(Avx512Verfuegbar(), __builtin_cpu_supports("avx512f") != 0);
    EXPECT_NE(gewaehlt, Befehlssatz::Automatisch);
    EXPECT_TRUE(BefehlssatzVerfuegbar(gewaehlt));
    EXPECT_EQ(KernFuer(Befehlssatz::Automatisch).satz, gewaehlt);
    EXPECT_EQ(KernFuer(Befehlssatz::Skalar).satz, Befehlssatz::Skalar);
    BefehlssatzErzwingen(Befehlssatz::Skalar);
    EXPECT_EQ(KernFuer(Befehlssatz::Automatisch).satz, Befehlssatz::Skalar);
    BefehlssatzErzwingen(Befehlssatz::Automatisch);
    EXPECT_EQ(KernFuer(Befehlssatz::Automatisch).satz, gewaehlt);
    for (const Befehlssatz satz : {Befehlssatz::Avx2, Befehlssatz::Avx512}) {
        if (BefehlssatzVerfuegbar(satz))
            EXPECT_EQ(KernFuer(satz).satz, satz);
        else
            EXPECT_TRUE(BefehlssatzVerfuegbar(KernFuer(satz).satz)) << "a missing set falls back to one present";
    }
    std::string fehlt;
    if (!Avx2Verfuegbar())
        fehlt += " AVX2";
    if (!Avx512Verfuegbar())
        fehlt += " AVX-512";
    if (!fehlt.empty())
        GTEST_SKIP() << "not on this processor, so not compared above:" << fehlt;
}
