// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Datei → "Film aufnehmen...": the recording dialog, then either a live
// recording of the running simulation ("Aufnahme starten", ended by
// "Aufnahme beenden" or Anhalten) or a film computed ahead ("Film rechnen")
// under a progress dialog. The film takes the picture's section and the
// size chosen at its start and keeps them whatever the window does, and
// follows the picture's frame of reference. A live film's frames are
// written behind the run: once it stops, what is still pending is finished
// under a progress dialog (Filmfertigstellung). A film that cannot be
// written is reported in German and leaves nothing under the target's
// name; closing the program while recording or finishing asks whether to
// keep the film.

#include "mainwindow/filmfertigstellung.h"
#include "mainwindow/filmrechnung.h"
#include "view/filmwahl.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class Filmaufzeichnung;
class Filmdialog;
class FrmPlavo;
class Rueckfragen;
class Standarddialog;

class Filmbefehle : public QObject {
    Q_OBJECT
public:
    // Shows the dialog and gives its choices (a test answers in its place).
    using Fragen = std::function<std::optional<Filmwahl>(Filmdialog&)>;

    Filmbefehle(FrmPlavo& frm, Standarddialog& cdg, Rueckfragen& rueckfragen, Fragen fragen = {});
    // A film still being recorded is kept.
    ~Filmbefehle() override;

    void menFilm_Click();
    // "Aufnahme beenden"; also Anhalten and anything else that stops the
    // run. A film being computed ends as if cancelled.
    void Beenden();

    bool Aufnahme() const;          // a film is being recorded, live or computed, or finished
    bool Rechnet() const;           // a film is being computed ahead
    Filmrechnung* Rechnung() const { return rechnung_; }
    // A live film has stopped and its pending frames are being written.
    Filmfertigstellung* Fertigstellung() const { return fertigstellung_; }

    // The picture's frame of reference changed: a live film follows it from
    // the redraw that comes with the change. `mitte`: the frame was chosen,
    // and its origin comes to the centre.
    void BezugFolgen(bool mitte);

    // Before the window closes: nothing to ask without a film; otherwise
    // whether to keep it (Ja), drop it (Nein) or keep the window open
    // (Abbrechen, false).
    enum class Schluss { Keiner, Behalten, Verwerfen };
    std::optional<Schluss> SchliessenFragen();
    // The window closes: the film is ended as answered; a film kept is
    // finished first, under its progress dialog.
    void Schliessen(Schluss schluss);
    // "Film aufnehmen..." while no film is made, "Aufnahme beenden" while one is recorded live.
    void MenuesZeigen();

signals:
    // The film is closed (written, dropped or failed and reported).
    void fertig();

private:
    void Starten(const Filmwahl& wahl);
    // Ends the film: a computed one at once, a live one once its pending
    // frames are written.
    void Abschliessen();
    // The film is closed: reports a failure.
    void Abgeschlossen();
    void Verwerfen();
    void FertigstellungSchliessen();
    void Gescheitert();
    std::array<QString, 4> Gruende();

    FrmPlavo& frm_;
    Standarddialog& cdg_;
    Rueckfragen& frage_;
    Fragen fragen_;
    std::optional<std::array<QString, 4>> gruende_;
    Filmwahl letzte_;
    std::unique_ptr<Filmaufzeichnung> aufzeichnung_;
    QPointer<Filmrechnung> rechnung_;
    QPointer<Filmfertigstellung> fertigstellung_;
};
