// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Bahndaten exportieren...": asks for a *.csv file and a step spacing, then
// replays the run from the document set, with its interventions, in slices on the user-interface
// thread, with a cancellable progress dialog. The file is written beside its
// target and renamed over it only when complete, so a cancel or a failure
// leaves no file behind (and an old file of that name as it was).

#include "sim/bahnwiedergabe.h"

#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <memory>

class QProgressDialog;
class QWidget;
class Rueckfragen;
class Standarddialog;

class Bahndatenexport : public QObject {
    Q_OBJECT
public:
    // Asks, then starts the export under `fenster`; null when the user
    // cancelled or the file cannot be created (reported). The export deletes
    // itself when it ends; `beendet` is emitted just before. With
    // `festesBezugssystem` the header says the numbers are the fixed frame's
    // (the picture is seen in another).
    static Bahndatenexport* Starten(QWidget* fenster, const ModPlavo& mod, int32_t schrittzahl, Standarddialog& cdg,
                                    Rueckfragen& rueckfragen, Eingriffe eingriffe = {},
                                    bool festesBezugssystem = false);

    ~Bahndatenexport() override;

    // The file it writes.
    const QString& Pfad() const { return pfad_; }

    // Stops the export; nothing is written.
    void Abbrechen();

signals:
    void beendet(bool geschrieben);

private:
    Bahndatenexport(QWidget* fenster, const ModPlavo& mod, int32_t schrittzahl, int32_t abstand, const QString& pfad,
                    Rueckfragen& rueckfragen, Eingriffe eingriffe,
                    bool festesBezugssystem);
    bool Oeffnen();
    void Scheibe();
    bool Schreiben();
    void Beenden(bool geschrieben);
    void Verwerfen();
    // Every failure ends alike: no file, the message, the export over.
    void Scheitern(const QString& text);
    QString Schreibfehler(const QString& grund) const;

    QString pfad_;
    Rueckfragen& frage_;
    Bahnwiedergabe wiedergabe_;
    std::string puffer_;
    QSaveFile datei_;
    QTimer scheiben_;
    QPointer<QProgressDialog> fortschritt_;
    bool fertig_ = false;
};
