// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu tree: captions, access keys, shortcuts and handlers
// in display order.
#include "frmplavo.h"

#include "mainwindow/beispiele.h"
#include "mainwindow/zeitgeber.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

void FrmPlavo::MenuesAnlegen()
{
    struct Eintrag {
        int ebene;              // 1 menu bar, 2 item, 3 submenu item; 0 separator
        const char* name;
        const char* text;
        QKeySequence kurz;
        void (FrmPlavo::*handler)();
        bool pruefbar = false;  // a check mark; submenu items always have one
        bool an = false;        // checked at start
    };
    const Eintrag eintraege[] = {
        {1, "menDatei", "&Datei", {}, nullptr},
        {2, "menNeu", "&Neu", QKeySequence(Qt::CTRL | Qt::Key_N), &FrmPlavo::menNeu_Click},
        {2, "menÖffnen", "Ö&ffnen...", QKeySequence(Qt::CTRL | Qt::Key_O), &FrmPlavo::menOeffnen_Click},
        {2, "menSpeichern", "&Speichern", QKeySequence(Qt::CTRL | Qt::Key_S), &FrmPlavo::menSpeichern_Click},
        {2, "menSpUnter", "Speichern &unter...", {}, &FrmPlavo::menSpUnter_Click},
        {0, "menDatei0", "-", {}, nullptr},
        {2, "menBild", "&Bild speichern...", {}, &FrmPlavo::menBild_Click},
        {2, "menDrucken", "&Drucken...", QKeySequence(Qt::CTRL | Qt::Key_P), &FrmPlavo::menDrucken_Click},
        {2, "menBahndaten", "Bahndaten e&xportieren...", {}, &FrmPlavo::menBahndaten_Click},
        {2, "menFilm", "Fil&m aufnehmen...", {}, &FrmPlavo::menFilm_Click},
        {2, "menFilmEnde", "&Aufnahme beenden", {}, &FrmPlavo::menFilmEnde_Click},
        {2, "menBeispiele", "Beis&piele", {}, nullptr},
        {0, "menDatei1", "-", {}, nullptr},
        {2, "menEnde", "Be&enden", {}, &FrmPlavo::menEnde_Click},
        // Ctrl+Z is the delay's: undo takes the other key of the desktops.
        {1, "menBearbeiten", "&Bearbeiten", {}, nullptr},
        {2, "menRückgängig", "&Rückgängig", QKeySequence(Qt::ALT | Qt::Key_Backspace),
         &FrmPlavo::menRueckgaengig_Click},
        {2, "menWiederherstellen", "&Wiederherstellen", QKeySequence(Qt::CTRL | Qt::Key_Y),
         &FrmPlavo::menWiederherstellen_Click},
        {0, "menBearbeiten0", "-", {}, nullptr},
        {2, "menStartzustand", "Als &Startzustand übernehmen", {}, &FrmPlavo::menStartzustand_Click},
        {2, "menImpulsNull", "Gesamt&impuls null setzen", {}, &FrmPlavo::menImpulsNull_Click},
        {2, "menSperren", "Bearbeitung s&perren", {}, &FrmPlavo::menSperren_Click, true, false},
        {1, "menSimulation", "&Simulation", {}, nullptr},
        {2, "menTabelle", "&Tabelle anzeigen", QKeySequence(Qt::CTRL | Qt::Key_T), &FrmPlavo::menTabelle_Click},
        {2, "menZurück", "&Zurücksetzen", QKeySequence(Qt::CTRL | Qt::Key_R), &FrmPlavo::menZurueck_Click},
        {2, "menStart", "&Starten", QKeySequence(Qt::Key_F5), &FrmPlavo::menStart_Click},
        {2, "menStop", "&Anhalten", QKeySequence(Qt::CTRL | Qt::Key_Q), &FrmPlavo::menStop_Click},
        {2, "menEinzelschritt", "E&inzelschritt", QKeySequence(Qt::Key_F6), &FrmPlavo::menEinzelschritt_Click},
        {2, "menEnergie", "Energie&bilanz", QKeySequence(Qt::CTRL | Qt::Key_E), &FrmPlavo::menEnergie_Click},
        {1, "menOptionen", "&Optionen", {}, nullptr},
        {2, "menAusschnitt", "&Bildauschnitt...", QKeySequence(Qt::CTRL | Qt::Key_A), &FrmPlavo::menAusschnitt_Click},
        {2, "menTimer", "&Verzögerungszeit...", QKeySequence(Qt::CTRL | Qt::Key_Z), &FrmPlavo::menTimer_Click},
        {2, "menIntervall", "Berechnungs&intervall...", QKeySequence(Qt::CTRL | Qt::Key_I), &FrmPlavo::menIntervall_Click},
        {2, "menBeiÖffnen", "beim Ö&ffnen", {}, nullptr},
        {3, "menWarten", "auf Eingabe warten", {}, &FrmPlavo::menWarten_Click},
        {3, "menTabAnz", "Tabelle anzeigen", {}, &FrmPlavo::menTabAnz_Click},
        {3, "menSimStart", "Simulation starten", {}, &FrmPlavo::menSimStart_Click},
        {2, "menAlleZeigen", "A&lle Körper zeigen", QKeySequence(Qt::CTRL | Qt::Key_L), &FrmPlavo::menAlleZeigen_Click},
        {0, "menOptionen0", "-", {}, nullptr},
        {2, "menVergroessern", "Ver&größern", QKeySequence(Qt::CTRL | Qt::Key_Plus), &FrmPlavo::menVergroessern_Click},
        {2, "menVerkleinern", "Ver&kleinern", QKeySequence(Qt::CTRL | Qt::Key_Minus), &FrmPlavo::menVerkleinern_Click},
        {2, "menRund", "Kreise &rund halten", {}, &FrmPlavo::menRund_Click, true, false},
        {2, "menKoerperZeigen", "Körper &zeigen", {}, &FrmPlavo::menKoerperZeigen_Click, true, true},
        {2, "menNamen", "&Namen anzeigen", {}, &FrmPlavo::menNamen_Click, true, false},
        {2, "menGeschwindigkeiten", "Gesch&windigkeiten zeigen", {}, &FrmPlavo::menGeschwindigkeiten_Click, true, false},
        {2, "menBeschleunigungen", "Beschleunig&ungen zeigen", {}, &FrmPlavo::menBeschleunigungen_Click, true, false},
        {0, "menOptionen1", "-", {}, nullptr},
        {2, "menBezug", "&Bezugssystem", {}, nullptr},
        {3, "menBezugFest", "&Fest", {}, &FrmPlavo::menBezugFest_Click},
        {3, "menBezugSchwerpunkt", "&Schwerpunkt", {}, &FrmPlavo::menBezugSchwerpunkt_Click},
        {3, "menBezugKoerper", "&Körper...", {}, &FrmPlavo::menBezugKoerper_Click},
        {3, "menBezugMitrotierend", "&Mitrotierend...", {}, &FrmPlavo::menBezugMitrotierend_Click},
        {2, "menLagrange", "Lagrange-Punkte zeigen", {}, &FrmPlavo::menLagrange_Click, true, false},
        {1, "menHilfe", "&Hilfe", {}, nullptr},
        {2, "menAnleitung", "&Anleitung", QKeySequence(Qt::Key_F1), &FrmPlavo::menAnleitung_Click},
        {0, "menHilfe0", "-", {}, nullptr},
        {2, "menUeber", "Über &Plavo", {}, &FrmPlavo::menUeber_Click},
        {2, "menUeberQt", "Über &Qt", {}, &FrmPlavo::menUeberQt_Click},
    };
    QMenu* menue = nullptr;
    QMenu* untermenue = nullptr;
    for (const Eintrag& e : eintraege) {
        const QString name = QString::fromUtf8(e.name);
        const QString text = QString::fromUtf8(e.text);
        if (e.ebene == 1) {
            menue = menuBar()->addMenu(text);
            menue->menuAction()->setObjectName(name);
            untermenue = nullptr;
            continue;
        }
        if (e.ebene == 0) {
            menue->addSeparator()->setObjectName(name);
            continue;
        }
        if (e.ebene == 2 && !e.handler) {
            untermenue = menue->addMenu(text);
            untermenue->menuAction()->setObjectName(name);
            continue;
        }
        QAction* a = (e.ebene == 3 ? untermenue : menue)->addAction(text);
        a->setObjectName(name);
        // Window shortcuts: while the modal table window is open they must not reach here.
        if (!e.kurz.isEmpty())
            a->setShortcut(e.kurz);
        if (e.ebene == 3) {
            a->setCheckable(true);
            a->setChecked(name == QStringLiteral("menWarten"));
        }
        if (e.pruefbar) {
            a->setCheckable(true);
            a->setChecked(e.an);
        }
        connect(a, &QAction::triggered, this, [this, h = e.handler] { (this->*h)(); });
    }
    // Keyboards without a plus key of its own have it on the equals key.
    QAction* vergroessern = Menue(QStringLiteral("menVergroessern"));
    vergroessern->setShortcuts({vergroessern->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* wiederherstellen = Menue(QStringLiteral("menWiederherstellen"));
    wiederherstellen->setShortcuts({wiederherstellen->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    BeispielmenueFuellen(*Menue(QStringLiteral("menBeispiele"))->menu(),
                         BeispieleIn(BeispielOrdner(QCoreApplication::applicationDirPath())),
                         [this](const QString& pfad) { BeispielOeffnen(pfad); });
    BezugsmenueAnlegen();
    // Other commands may switch the timer too; the menu shows the truth when it opens.
    const QAction* simulation = Menue(QStringLiteral("menSimulation"));
    connect(simulation->menu(), &QMenu::aboutToShow, this, [this] { Laufen(tim_->Enabled()); });
}
