// SPDX-License-Identifier: GPL-3.0-or-later
#include "laufbefehl.h"

#include "sim/lauf.h"

#include <memory>
#include <utility>

Laufbefehl::Laufbefehl(QUndoCommand* eltern, std::function<void()> hin, std::function<void()> zurueck)
    : QUndoCommand(eltern)
    , hin_(std::move(hin))
    , zurueck_(std::move(zurueck))
{
}

namespace {

// What a command found the first time it was done, kept for its undo and redo.
struct Gemerkt {
    Lauf::Zustand vorher;
    EingriffPtr eingriff;
    bool genommen = false;
};

}  // namespace

void EingriffBeifuegen(QUndoCommand* eltern, Lauf& lauf, KoerperSatz koerper, std::vector<int32_t> zeilen)
{
    auto g = std::make_shared<Gemerkt>();
    // Taken when first done: the document's announcement before it has
    // settled the step in flight by then.
    new Laufbefehl(
        eltern,
        [&lauf, g, satz = std::move(koerper), z = std::move(zeilen)]() mutable {
            if (!g->genommen) {
                g->vorher = lauf.ZustandNehmen();
                g->eingriff = std::make_shared<const Eingriff>(
                    Eingriff{g->vorher.stand.Schrittzahl, std::move(satz), std::move(z)});
                g->genommen = true;
            }
            lauf.ZustandHerstellen(g->vorher, g->eingriff);
        },
        [&lauf, g] { lauf.ZustandHerstellen(g->vorher); });
}

void EingriffeLoslassenBeifuegen(QUndoCommand* eltern, Lauf& lauf)
{
    auto g = std::make_shared<Eingriffe>();
    new Laufbefehl(
        eltern, [&lauf, g] { *g = lauf.EingriffeNehmen(); }, [&lauf, g] { lauf.EingriffeSetzen(std::move(*g)); });
}

void NeubeginnBeifuegen(QUndoCommand* eltern, Lauf& lauf)
{
    auto g = std::make_shared<Lauf::Zustand>();
    new Laufbefehl(
        eltern,
        [&lauf, g] {
            *g = lauf.ZustandNehmen();
            lauf.Zuruecksetzen();
        },
        [&lauf, g] { lauf.ZustandHerstellen(*g); });
}
