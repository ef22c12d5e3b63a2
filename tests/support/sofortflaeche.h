#pragma once
// An image surface that draws at once what BildFlaeche may put off: the
// picture to compare a put-off drawing with.

#include "view/bildflaeche.h"

struct SofortFlaeche : BildFlaeche {
    void StricheVormerken(const Strich* striche, std::size_t anzahl) override { Striche(striche, anzahl); }
};
