// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Datei → "Film aufnehmen...": the recording dialog, then either a live
// recording of the running simulation ("Aufnahme starten", ended by
// "Aufnahme beenden" or Anhalten) or a film computed ahead ("Film rechnen")
// under a progress dialog. The film takes the picture's section and the
// size chosen at its start and keeps them whatever the window does. A
// film that cannot be written is reported in German and leaves nothing
// under the target's name; closing the program while recording asks
// whether to keep the film.

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

    bool Aufnahme() const;          // a film is being recorded, live or computed
    bool Rechnet() const;           // a film is being computed ahead
    Filmrechnung* Rechnung() const { return rechnung_; }

    // Before the window closes: nothing to ask without a film; otherwise
    // whether to keep it (Ja), drop it (Nein) or keep the window open
    // (Abbrechen, false).
    enum class Schluss { Keiner, Behalten, Verwerfen };
    std::optional<Schluss> SchliessenFragen();
    // The window closes: the film is ended as answered.
    void Schliessen(Schluss schluss);
    // "Film aufnehmen..." while no film is made, "Aufnahme beenden" while one is recorded live.
    void MenuesZeigen();

private:
    void Starten(const Filmwahl& wahl);
    // Closes the film and reports a failure.
    void Abschliessen();
    void Verwerfen();
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
};
