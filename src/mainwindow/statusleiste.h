// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status bar under the picture: whether the run goes on, its step, its
// days and bodies, and the point of the plane under the mouse, so distances
// can be read off. It follows the run's announcements and never asks; a
// command's short confirmation ("Bild gespeichert: bahnen.bmp") shows at
// its left for a few seconds.

#include <QStatusBar>

class Lauf;
class QLabel;

class Statusleiste : public QStatusBar {
    Q_OBJECT
public:
    Statusleiste(const Lauf& lauf, QWidget* parent = nullptr);

    static constexpr int BestaetigungMs = 5000;

    void LaufZeigen(bool laeuft);
    // The point under the mouse (AE) and the size of one screen pixel there
    // (AE): the position is written to the pixel's resolution, no finer.
    void MausZeigen(double x, double y, double pixelX, double pixelY);
    void MausWeg();
    void Bestaetigen(const QString& text);

private:
    void StandZeigen();

    const Lauf& lauf_;
    QLabel* laeuft_;
    QLabel* schritt_;
    QLabel* tage_;
    QLabel* koerper_;
    QLabel* maus_;
};

// `wert` rounded to the decimal place of `aufloesung` and written as the
// program writes numbers: 0.52381 at 0.002 is "0,524" (German).
QString AufAufloesung(double wert, double aufloesung);
