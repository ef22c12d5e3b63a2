#pragma once
// A drawing surface that records every call instead of drawing.

#include "sim/zeichenflaeche.h"

#include <vector>

struct Zeichnung {
    enum Art { Linie, Punkt } art;
    float x, y, dx, dy;
    int32_t farbe;
};

class AufzeichnendeFlaeche : public Zeichenflaeche {
public:
    std::vector<Zeichnung> Aufrufe;
    int Geloescht = 0;

    void Cls() override { ++Geloescht; }
    void Scale(double, double, double, double) override {}
    float ScaleWidth() const override { return 2; }
    float ScaleHeight() const override { return 2; }
    void Line(float x, float y, float dx, float dy, int32_t farbe) override
    {
        Aufrufe.push_back({Zeichnung::Linie, x, y, dx, dy, farbe});
    }
    void PSet(float x, float y, int32_t farbe) override { Aufrufe.push_back({Zeichnung::Punkt, x, y, 0, 0, farbe}); }
};
