#pragma once
// The picture of a run: draws onto a surface what the run announces (the
// strokes of its steps and redraws) and clears it when the run begins again
// from white. The window's picture draws so, and so do tests and benchmarks
// that have no window.

#include "sim/lauf.h"
#include "view/bildflaeche.h"

#include <QMetaObject>

class LaufBild {
public:
    LaufBild(const Lauf& lauf, BildFlaeche& flaeche);
    ~LaufBild();
    LaufBild(const LaufBild&) = delete;
    LaufBild& operator=(const LaufBild&) = delete;

private:
    QMetaObject::Connection verbindungen_[4];
};
