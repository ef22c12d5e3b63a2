// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which dots lie under the mouse, without a loop over every body per mouse
// move: the dots' centres sorted into a uniform grid of cells about as wide
// as a dot, rebuilt when the dots are placed anew. A query looks at the few
// cells around the point only.

#include <cstddef>
#include <cstdint>
#include <vector>

class Trefferraster {
public:
    struct Mittelpunkt {
        int32_t x, y;   // device pixels
    };
    // The dots in drawing order; a dot is hit within `halbmesser` device pixels of its centre.
    void Aufbauen(const std::vector<Mittelpunkt>& punkte, double halbmesser);

    struct Treffer {
        std::size_t rang = 0;     // position in drawing order of the dot drawn last (on top)
        std::size_t anzahl = 0;   // how many dots lie under the point; 0: none, rang meaningless
    };
    // `x`, `y` in device pixels.
    Treffer Bei(double x, double y) const;

private:
    std::vector<Mittelpunkt> punkte_;
    std::vector<uint32_t> zellenAnfang_;   // per cell, its first entry in eintraege_; one more at the end
    std::vector<uint32_t> eintraege_;      // ranks, cell by cell, ascending within a cell
    double halbmesser_ = 0;
    int32_t links_ = 0, oben_ = 0;
    int32_t zelle_ = 1;                    // cell size, device pixels
    int32_t spalten_ = 0, zeilen_ = 0;
};
