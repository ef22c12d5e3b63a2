// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Orbit data as text for spreadsheets: a header and one row per body and
// chosen step with step, days, body number, name, x and y in metres and vx
// and vy in metres per second. Numbers are the shortest text that reads back
// as the same double, so a student's spreadsheet holds exactly what the run
// computed.

#include "model/modplavo.h"

#include <cstdint>
#include <string>

// Field separator and decimal mark as the user's spreadsheet expects them:
// a semicolon with a decimal comma, a comma with a decimal point.
struct BahndatenFormat {
    char Trenner = ';';
    char Dezimal = ',';
    // The picture is seen in another frame: the header says these numbers are the fixed frame's.
    bool FestesBezugssystem = false;
};

// The shortest text that reads back as `wert` ("0,1", "1,5E+11", "-0"),
// with `dezimal` as the decimal mark.
std::string ZahlExakt(double wert, char dezimal);

// The German header row, CRLF-terminated.
std::string BahndatenKopf(const BahndatenFormat& format);

// Appends the rows of the working set `sim` after `schritt` steps of
// `intervall` days. A speed is the displacement per step over the step's
// seconds; with an interval of 0 it is unknown and its cells stay empty.
void BahndatenZeilen(std::string& ziel, const KoerperSatz& sim, int32_t schritt, double intervall,
                     const BahndatenFormat& format);

// The smallest spacing at which steps 0 to `schritte` give at most about
// `maxZeilen` rows for `koerper` bodies; 1 or more.
int32_t BahndatenAbstand(int32_t schritte, size_t koerper, int64_t maxZeilen = 100000);
