#pragma once
// The two commands that take the picture out of the program: "Bild speichern"
// writes the surface's image as a Windows bitmap, "Drucken" prints it once per
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
class QImage;
class QPrinter;
class Rueckfragen;
class Standarddialog;

class Bildausgabe {
public:
    using DruckerFabrik = std::function<std::unique_ptr<Drucker>(QPrinter&)>;

    // Without a factory, printing goes through QtDrucker on the dialog's printer.
    Bildausgabe(const BildFlaeche& flaeche, Standarddialog& cdg, Rueckfragen& rueckfragen,
                DruckerFabrik fabrik = {});

    void menBild_Click();
    void menDrucken_Click();

private:
    const BildFlaeche& flaeche_;
    Standarddialog& cdg_;
    Rueckfragen& frage_;
    DruckerFabrik fabrik_;
};

// Writes `bild` as a Windows bitmap to `pfad` whatever its extension,
// replacing a file of that name; the old file stays intact if writing fails.
// Nothing on success, else a German reason.
std::optional<QString> BitmapSchreiben(const QImage& bild, const QString& pfad);

// One page per copy, the picture in the upper-left corner of each; true when
// the printer reported no failure.
bool BildDrucken(const QImage& bild, int kopien, Drucker& drucker);
