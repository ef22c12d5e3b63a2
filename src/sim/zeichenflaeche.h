#pragma once
// What the program needs of a drawing surface: a white image with a user
// scale. The step draws through this, so it runs without a display.

#include <cstddef>
#include <cstdint>

// What a step draws for one body: a segment from (x, y) by (dx, dy), then a
// point at (x, y); user units, single precision.
struct Strich {
    float x, y, dx, dy;
    int32_t farbe;
};

class Zeichenflaeche {
public:
    virtual ~Zeichenflaeche() = default;

    // Fill with white; the scale stays.
    virtual void Cls() = 0;
    // (x1, y1) becomes the upper-left, (x2, y2) the lower-right corner of the
    // drawing area; x2 < x1 or y2 < y1 mirror that axis.
    virtual void Scale(double x1, double y1, double x2, double y2) = 0;
    virtual float ScaleWidth() const = 0;    // x2 - x1, single precision
    virtual float ScaleHeight() const = 0;   // y2 - y1
    // A one-pixel solid segment from (x, y) to (x + dx, y + dy), user units.
    virtual void Line(float x, float y, float dx, float dy, int32_t farbe) = 0;
    virtual void PSet(float x, float y, int32_t farbe) = 0;

    // The strokes of one step in order, each as Line then PSet. A surface
    // may override this to draw a whole step at once.
    virtual void Striche(const Strich* striche, std::size_t anzahl)
    {
        for (std::size_t i = 0; i < anzahl; ++i) {
            const Strich& s = striche[i];
            Line(s.x, s.y, s.dx, s.dy, s.farbe);
            PSet(s.x, s.y, s.farbe);
        }
    }

    // Like Striche, but the surface may put the drawing off: strokes put off
    // are drawn before anything else is done with the surface, or earlier
    // through Nachholen(). Meanwhile Nachholen() may run on another thread,
    // provided nothing else touches the surface until it has returned; that
    // lets the drawing of one step overlap the next step's arithmetic.
    virtual void StricheVormerken(const Strich* striche, std::size_t anzahl) { Striche(striche, anzahl); }
    virtual bool HatVorgemerkte() const { return false; }
    virtual void Nachholen() {}
};
