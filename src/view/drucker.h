// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What printing needs of a printer: pictures on pages of one print job.
// A Qt implementation prints through QPrinter; tests use a scripted one.

class QImage;

class Drucker {
public:
    virtual ~Drucker() = default;

    // Draws `bild` at its own size, its pixels at 96 per inch (divided by
    // its device pixel ratio first, as a screen shows it), with its
    // upper-left corner at (x, y) twips from the upper-left corner of the
    // printable area. Parts beyond the printable area are cut off.
    virtual void PaintPicture(const QImage& bild, double x, double y) = 0;
    // Ends the current page; the next drawing goes on a new one.
    virtual void NewPage() = 0;
    // Ends the job and hands it to the printer. A NewPage directly before
    // adds no empty page; a job without any drawing or page end prints nothing.
    virtual void EndDoc() = 0;
    // Whether any operation of the job has failed.
    virtual bool Fehler() const = 0;
};
