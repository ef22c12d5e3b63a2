// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One celestial body. The same record serves the document set (fields 5 and 6
// are speed and direction) and the working set (displacement per step).

#include <QString>
#include <array>
#include <cstdint>

// Exactly 15 UTF-16 characters. A never-named body holds 15 NUL characters;
// any assigned text is padded with blanks or cut after the 15th character.
using KoerperName = std::array<char16_t, 15>;

struct Koerper {
    KoerperName Name{};             // all NUL until assigned
    double Masse = 0.0;             // Earth masses
    double X = 0.0;                 // metres
    double Y = 0.0;                 // metres
    double Geschwindigkeit = 0.0;   // document set: m/s;    working set: Vx, metres per step
    double Richtung = 0.0;          // document set: degrees from +x towards +y; working set: Vy
    int32_t Farbe = 0;              // RGB: red bits 0-7, green 8-15, blue 16-23

    double& Vx() { return Geschwindigkeit; }
    double& Vy() { return Richtung; }
    double Vx() const { return Geschwindigkeit; }
    double Vy() const { return Richtung; }

    void NameSetzen(const QString& text);
    QString NameText() const;       // all 15 characters, padding and NULs included

    bool operator==(const Koerper&) const = default;
};

// Equal bit for bit: unlike ==, NaN equals the same NaN and -0 differs from +0.
bool BitGleich(const Koerper& a, const Koerper& b);
