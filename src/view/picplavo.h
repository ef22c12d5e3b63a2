#pragma once
// The widget that shows the drawing surface. It keeps the picture in an image
// of its own size in device pixels, so lines stay one pixel wide and sharp on
// high-DPI screens; a paint event copies the image and draws the bodies'
// dots and names over it, never into it. It follows the run it shows: draws
// the strokes of its steps and redraws, clears when the run says so, and
// moves the dots when the bodies move.
//
// Everything it shows is seen in its frame of reference: the trails (the
// strokes are projected on their way into the image), the dots, names and
// tooltips, with the frame's name in the upper right corner and, turning
// with two bodies, their Lagrange points.
//
// The mouse explores the picture: the wheel reports whole notches, a drag
// with the left button shows the picture shifted at once and reports the
// whole shift on release. What becomes of them is the window's business.

#include "view/bezugssystem.h"
#include "view/bildflaeche.h"
#include "view/koerperpunkte.h"
#include "view/laufbild.h"

#include <QMetaObject>
#include <QPointF>
#include <QRegion>
#include <QWidget>

#include <optional>
#include <vector>

class Lauf;
class QPainter;

class PicPlavo : public QWidget {
    Q_OBJECT
public:
    explicit PicPlavo(QWidget* parent = nullptr);

    BildFlaeche& Flaeche() { return flaeche_; }
    const BildFlaeche& Flaeche() const { return flaeche_; }

    // The image size for the widget's current size and pixel ratio.
    QSize GeraetePixel() const;
    // Resizes the image to GeraetePixel() (clearing it).
    void BildAnpassen();
    // Schedules a repaint of what was drawn since the last call.
    void GeaendertesZeigen();

    // The run drawn and whose bodies are shown (their current positions);
    // null shows none.
    void LaufSetzen(const Lauf* lauf);
    void PunkteZeigen(bool an);
    void NamenZeigen(bool an);
    bool PunkteGezeigt() const { return punkteZeigen_; }
    bool NamenGezeigt() const { return namenZeigen_; }
    // The frame the picture is seen in. Only the overlays follow at once:
    // whoever changes it redraws the run, which draws the trails in it.
    void BezugSetzen(const Bezugssystem& bezug);
    const Bezugssystem& Bezug() const { return bezug_; }
    // Where the frame stands for the bodies now, with its motion; none in Fest.
    // Maps what the picture shows (AE in the frame) to the fixed frame and back.
    std::optional<Bezugslage> LageJetzt() const;
    // Crosses at L1 to L5 while the frame turns with two bodies.
    void LagrangeZeigen(bool an);
    bool LagrangeGezeigt() const { return lagrangeZeigen_; }
    // The bodies may have moved: repaints where their dots were and are.
    void KoerperGeaendert();
    // The shift of a drag in progress, logical pixels.
    QPointF Verschiebung() const { return verschiebung_; }

signals:
    // Whole wheel notches (positive: away from the user, zoom in) at
    // `anteil` of the widget's width and height.
    void mausrad(int rasten, QPointF anteil);
    // A drag with the left button ended by its release: the picture was
    // moved by `verschiebung` logical pixels on a widget of `groesse`.
    void gezogen(QPointF verschiebung, QSizeF groesse);
    // The mouse is over the point at `anteil` of the picture's width and
    // height (during a drag, the point where it was taken), or has left the picture.
    void mausUeber(QPointF anteil);
    void mausWeg();

protected:
    bool event(QEvent* ereignis) override;
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void wheelEvent(QWheelEvent* ereignis) override;
    void focusOutEvent(QFocusEvent* ereignis) override;
    void leaveEvent(QEvent* ereignis) override;
    void hideEvent(QHideEvent* ereignis) override;

private:
    bool UeberlagerungAn() const { return lauf_ && (punkteZeigen_ || namenZeigen_ || !Bezug().Fest()); }
    // The document set until the run has begun, then the working set (as Lauf::Jetzt).
    bool Arbeitssatz() const;
    void PunkteBerechnen();
    // The frame's name and the Lagrange points (shifted by a drag's `v`),
    // logical pixels; painted by BezugZeichnen.
    QRegion BezugBedeckt(QPoint v) const;
    void BezugZeichnen(QPainter& p) const;
    QRect BezugsTextRahmen(const QString& text) const;
    std::vector<QPointF> LagrangeOrte() const;
    // A drag whose release was lost (a dialog took the mouse): the picture goes back.
    void ZiehenAbbrechen();

    BildFlaeche flaeche_;
    Koerperpunkte punkte_;
    const Lauf* lauf_ = nullptr;
    std::optional<LaufBild> bild_;
    QMetaObject::Connection verbindungen_[6];
    bool punkteZeigen_ = true;
    bool namenZeigen_ = false;
    bool lagrangeZeigen_ = false;
    Bezugssystem bezug_;
    QRegion gezeigt_;          // where dots and names may be on the screen
    bool ziehen_ = false;
    QPointF ziehStart_;
    QPointF verschiebung_;
    int radRest_ = 0;          // fine wheel steps not yet a whole notch
};
