// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an edit does to the run, as a child of the document's undoable
// command (Dokument::Begleitung): done before the document changes and
// undone after it changed back.
//
// - An intervention: at a later step an edit changes the bodies where the
//   run stands, not the document. Undo gives the run back exactly as it
//   stood before (its step count and bodies; steps computed since are
//   dropped and the picture replays to there). Redo puts the run back where
//   the edit left it, at that step, even when the run went on after the
//   undo: one exact state, never a guess at the steps in between.
// - A document command that replaces the bodies (the table's OK) replaces
//   the run: the run lets go of its interventions, which were made on the
//   old bodies, and replays from the new ones; undo gives them back.
// - "Als Startzustand übernehmen": the run goes back to step 0 on the new
//   document set; undo gives back the run where it stood, interventions and all.

#include "model/modplavo.h"

#include <QUndoCommand>

#include <cstdint>
#include <functional>
#include <vector>

class Lauf;

class Laufbefehl : public QUndoCommand {
public:
    Laufbefehl(QUndoCommand* eltern, std::function<void()> hin, std::function<void()> zurueck);
    void redo() override { hin_(); }
    void undo() override { zurueck_(); }

private:
    std::function<void()> hin_, zurueck_;
};

// `koerper` (a working set, `zeilen` the document row of each body or -1)
// becomes an intervention where the run stands when the command is done.
void EingriffBeifuegen(QUndoCommand* eltern, Lauf& lauf, KoerperSatz koerper, std::vector<int32_t> zeilen);
void EingriffeLoslassenBeifuegen(QUndoCommand* eltern, Lauf& lauf);
void NeubeginnBeifuegen(QUndoCommand* eltern, Lauf& lauf);
