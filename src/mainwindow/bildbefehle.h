// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two commands that take the picture out of the program: "Bild speichern"
// writes the surface's image as a Windows bitmap (or as PNG, when that type or
// a name ending in .png is chosen), "Drucken" prints it once per
// copy. Both read the image only after their dialog has closed (the
// simulation goes on behind the dialog) and change neither the picture nor
// the timer. Failures are reported in a message box, so nobody believes a
// picture was saved or printed when it was not.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class BildFlaeche;
class Drucker;
class QPrinter;
class Rueckfragen;
class Standarddialog;

class Bildbefehle {
public:
    using DruckerFabrik = std::function<std::unique_ptr<Drucker>(QPrinter&)>;

    // Without a factory, printing goes through QtDrucker on the dialog's printer.
    Bildbefehle(const BildFlaeche& flaeche, Standarddialog& cdg, Rueckfragen& rueckfragen,
                DruckerFabrik fabrik = {});

    // The path written, or nothing (cancelled, or a failure that was reported).
    std::optional<QString> menBild_Click();
    // True when printed.
    bool menDrucken_Click();

    // For the export's save dialog: the path of the open body file, which a
    // picture never replaces, and the path of the picture saved last, which
    // the export proposes and updates (kept by the caller between commands).
    // Without a last picture the document's name with ".bmp" is proposed, so
    // the dialog never offers a body file; for an example, in the user's
    // pictures folder.
    QString Dokument;
    QString* LetztesBild = nullptr;
    // Device pixels of the surface per pixel of 1/96 inch on the screen: a
    // printed picture has the size it has on the screen.
    double Pixelverhaeltnis = 1.0;

private:
    const BildFlaeche& flaeche_;
    Standarddialog& cdg_;
    Rueckfragen& frage_;
    DruckerFabrik fabrik_;
};
