// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the drawing surface, the menus, the simulation timer, the
// run control and the view. It changes the document only through the
// document's commands and operations, and follows the document's signals.
// Platform layers (common dialog, questions, timer, table window) are
// injected so every handler can run headless with scripted answers.

#include "mainwindow/dokumentbefehle.h"
#include "model/dokument.h"
#include "sim/arbeiter.h"
#include "sim/lauf.h"
#include "view/ansicht.h"
#include "view/bildabbildung.h"
#include "view/bezugssystem.h"
#include "view/filmwahl.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Bahndatenexport;
class Filmbefehle;
class Filmdialog;
class FrmEnergie;
class PicPlavo;
class QAction;
class QMenu;
class Rueckfragen;
class Standarddialog;
class Statusleiste;
class Zeitgeber;

// The platform layers of the main window; whatever is left null is created on Qt.
struct FrmPlavoDienste {
    Standarddialog* cdgPlavo = nullptr;
    Rueckfragen* rueckfragen = nullptr;
    Zeitgeber* timPlavo = nullptr;
    std::function<void()> tabelleZeigen;   // shows the table window modally
    std::function<void()> programmBeenden; // ends the program after Exit; null: quit the application
    // Chooses `anzahl` (1 or 2) of the bodies named in `namen`, 0-based; null: the Qt dialog.
    std::function<std::optional<std::vector<std::size_t>>(const QStringList& namen, int anzahl, const QString& titel)>
        koerperWaehlen;
    std::function<std::optional<Filmwahl>(Filmdialog&)> filmFragen = {};   // null: the recording dialog is shown
    std::function<void(int zeile)> tabelleZeigenBei = {};   // the table, with row `zeile` (1-based) current
};

class FrmPlavo : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmPlavo(Dokument& dokument, FrmPlavoDienste dienste = {}, QWidget* parent = nullptr);
    ~FrmPlavo() override;

    // The step count is the run's; the visible section is the view's.
    int32_t Schrittzahl() const { return lauf_.Schrittzahl(); }
    const Ansicht& ansicht() const { return ansicht_; }

    PicPlavo& picPlavo() { return *pic_; }
    Zeitgeber& timPlavo() { return *tim_; }
    Standarddialog& cdgPlavo() { return *cdg_; }
    Rueckfragen& rueckfragen() { return *frage_; }
    const ModPlavo& mod() const { return mod_; }
    Dokument& dokument() { return dokument_; }
    Lauf& lauf() { return lauf_; }
    Arbeiter& arbeiter() { return arbeiter_; }
    Filmbefehle& film() { return *film_; }
    FrmEnergie* Energiefenster() const { return energie_; }   // null until first shown
    Statusleiste& statusleiste() { return *status_; }
    QAction* Menue(const QString& name) const;   // by control name, e.g. "menStart"

    // The caption; "[*]" in a file name is shown literally.
    void Caption(const QString& text);

    void Form_Load();
    void Form_Resize();
    void timPlavo_Timer();

    void menNeu_Click();
    void menOeffnen_Click();
    void menSpeichern_Click();
    void menSpUnter_Click();
    void menBild_Click();
    void menDrucken_Click();
    void menEnde_Click();
    void menRueckgaengig_Click();
    void menWiederherstellen_Click();
    void menTabelle_Click();
    void menZurueck_Click();
    void menStart_Click();
    void menStop_Click();
    void menEnergie_Click();
    void menAusschnitt_Click();
    void menTimer_Click();
    void menIntervall_Click();
    void menWarten_Click();
    void menTabAnz_Click();
    void menSimStart_Click();
    void menEinzelschritt_Click();
    void menAlleZeigen_Click();
    void menBahndaten_Click();
    void menFilm_Click();
    void menFilmEnde_Click();
    void menVergroessern_Click();
    void menVerkleinern_Click();
    void menKoerperZeigen_Click();
    void menNamen_Click();
    void menRund_Click();
    void menBezugFest_Click();
    void menBezugSchwerpunkt_Click();
    void menBezugKoerper_Click();
    void menBezugMitrotierend_Click();
    void menLagrange_Click();
    void menAnleitung_Click();
    void menUeber_Click();
    void menUeberQt_Click();
    // The wheel's notches at `anteil` of the picture's width and height; a
    // drag's shift in pixels of a picture of `groesse` pixels.
    void picPlavo_Mausrad(int rasten, QPointF anteil);
    void picPlavo_Gezogen(QPointF verschiebung, QSizeF groesse);

    // The picture is seen in `bezug` from now on: the section keeps its size
    // with the frame's origin at its centre, and the run is redrawn in it.
    // The picture's context menu follows a body or turns with the body that
    // pulls hardest on it through here.
    void BezugWaehlen(const Bezugssystem& bezug);
    void KoerperFolgen(std::size_t koerper);
    void MitdrehenMit(std::size_t koerper);

    // Sets the visible section and redraws the run in it.
    void AusschnittSetzen(const Ausschnitt& ausschnitt);

    // Shaping the system on the picture. Every edit is one command on the
    // document's undo stack: at step 0 it changes the document set (as the
    // table's OK does); at a later step the run keeps it as an intervention
    // where it stands. An edit that would put two bodies on one point, which
    // makes every step fail, is refused: false, nothing changed.
    // The picture's pixels and the plane, for the section shown now.
    Bildabbildung Abbildung() const;
    // Body `koerper` (0-based, of the bodies where they are now) moved by `pixel` logical pixels.
    bool KoerperVerschieben(std::size_t koerper, QPointF pixel);
    // "Körper hier einfügen" at `stelle`, logical pixels.
    bool KoerperEinfuegen(QPointF stelle);
    // "Körper entfernen"; never the only body.
    bool KoerperEntfernen(std::size_t koerper);
    // "Kreisbahn um <Name>": `koerper` on the circular orbit about `um`, in its current sense.
    bool KreisbahnUm(std::size_t koerper, std::size_t um);
    // The right click's menu at `stelle`, on a body or on empty space.
    void KontextmenueFuellen(QMenu& menue, QPointF stelle, std::optional<std::size_t> koerper);
    void menStartzustand_Click();
    void menImpulsNull_Click();
    void menSperren_Click();
    void menGeschwindigkeiten_Click();
    void menBeschleunigungen_Click();
    // "Geschwindigkeit setzen": body `koerper` moves at `v` (m/s) where it stands.
    bool GeschwindigkeitSetzenAuf(std::size_t koerper, Vektor v);

    // Opens a body file as Open does once a file is chosen, after the
    // unsaved-changes prompt: a file from the command line or a drop.
    bool DateiOeffnen(const QString& pfad);
    // Opens a shipped example as DateiOeffnen does, at the half-day interval
    // it is made for; saving it asks for a name of the user's own.
    bool BeispielOeffnen(const QString& pfad);

    // One step as a tick makes it (Lauf::Takt); the picture and the caption
    // follow the run's announcements, and a fault stops the run with a
    // message. False after a fault of a step computed here.
    bool Berechnung();
    // Stops the timer and tells the user why the simulation stopped.
    void Fehlerstopp(unsigned fehler);

    // A redraw replays in slices while the window goes on taking input;
    // ticks wait for it. A command that needs the whole picture or the
    // working set of the replayed run finishes it first.
    void NeuzeichnungAbschliessen();
    bool NeuzeichnungLaeuft();
    // Before a command that changes the document under a running run: the
    // step in flight is waited for and shown, as if the command came after
    // its tick.
    void SchrittAbschliessen();

signals:
    // The timer was switched on or off (also to what it was).
    void laeuftGeaendert(bool laeuft);

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    // Form_Unload: asks about unsaved changes; the close goes on unless a save was wanted and failed.
    void closeEvent(QCloseEvent* ereignis) override;
    // One body file dropped on the window opens as with Open; anything else is refused.
    void dragEnterEvent(QDragEnterEvent* ereignis) override;
    void dragMoveEvent(QDragMoveEvent* ereignis) override;
    void dropEvent(QDropEvent* ereignis) override;

private:
    void MenuesAnlegen();
    // The frame's exclusive group; its items offered as the bodies allow.
    void BezugsmenueAnlegen();
    void BezugsmenueZeigen();
    // The document's bodies changed: the frame follows its bodies, or falls
    // back to the centre of mass when one is gone (told once the run has followed).
    void BezugNachfuehren(bool geladen);
    void BezugHinweisen();
    // The mouse, Ctrl+arrows and the dots over the picture.
    void AnsichtAnlegen();
    // Sets a section unless it is the current one (a change stopped at a limit).
    void AusschnittWechseln(const Ausschnitt& neu);
    // "Kreise rund halten": the section's height follows its width, in the
    // picture's proportions.
    bool KreiseRund() const;
    // The picture's width over its height, in pixels.
    double Seitenverhaeltnis() const;
    // The mouse over the picture, for the status bar.
    void MausUeber(QPointF anteil);
    // The timer on or off; a single step is offered only while it is off.
    void Laufen(bool an);
    std::optional<double> ZahlErfragen(const QString& prompt, const QString& vorschlag);
    // What follows a document command: the caption, a load.
    void DokumentFolgen(const Dokumentfolge& folge);
    // Wires the document's announcements to the run's doors.
    void DokumentVerbinden();
    // A document was loaded: the run starts over from it.
    void DokumentGeladen();
    // The Bearbeiten menu names what an undo or a redo would do.
    void BearbeitenAnzeigen();
    void NachDemLaden();
    // The run's announcements: the caption and a fault's message.
    void LaufVerbinden();
    void SchrittGemacht();
    // The picture's edits: its signals, and the run's part in the table's OK.
    void FormAnlegen();
    // One edit of the bodies where they are now, named `text`: `aenderung`
    // changes the set (and the document row of each body), false refuses.
    bool Bearbeiten(const QString& text,
                    const std::function<bool(KoerperSatz&, std::vector<int32_t>&, Bewegungsart)>& aenderung);
    void GriffBegonnen();
    void GriffBeendet();
    void Abgelehnt(const QString& grund);

    // The caption while a redraw runs, unless another command has set one since.
    void NeuzeichnungBegonnen();
    void NeuzeichnungsTitel(const QString& text);
    void NeuzeichnungBeendet(unsigned fehler);
    void NeuzeichnungAbgebrochen();

    Dokument& dokument_;
    const ModPlavo& mod_;
    Ansicht ansicht_;
    std::unique_ptr<Standarddialog> eigenerCdg_;
    std::unique_ptr<Rueckfragen> eigeneFrage_;
    Standarddialog* cdg_;
    QString letztesBild_;   // the picture export's last file, proposed next time
    Rueckfragen* frage_;
    Zeitgeber* tim_;
    std::function<void()> tabelleZeigen_;
    std::function<void(int)> tabelleZeigenBei_;
    bool laufVorGriff_ = false;   // the simulation ran when a body was grabbed
    std::function<void()> programmBeenden_;
    PicPlavo* pic_;
    Statusleiste* status_;
    Arbeiter arbeiter_;   // the one worker off this thread, for the run and the energy window
    Lauf lauf_;
    std::unique_ptr<Dokumentbefehle> befehle_;
    // After the run and the worker: a film ends before they go.
    std::unique_ptr<Filmbefehle> film_;
    unsigned ladefehler_ = 0;   // the faults of building the run from the document last loaded
    bool neuzeichnungTitelFolgt_ = false;   // a redraw sets the caption as it goes
    QString neuzeichnungTitel_;      // the caption as the redraw last left it
    bool neuzeichnungTitelFremd_ = false;
    QPointer<Bahndatenexport> export_;
    FrmEnergie* energie_ = nullptr;   // a child window, made on first use
    std::function<std::optional<std::vector<std::size_t>>(const QStringList&, int, const QString&)> koerperWaehlen_;
    KoerperSatz bezugKoerper_;   // the document's bodies the frame's indices refer to
    bool bezugHinweis_ = false;  // the frame fell back; the user is yet to be told
};
