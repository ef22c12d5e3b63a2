// SPDX-License-Identifier: GPL-3.0-or-later
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
//
// Unless editing is locked, the mouse and the keys also shape the system:
// a press on a dot becomes a move of that body past the platform's drag
// distance (the dot follows the mouse, clamped to the picture; Esc cancels),
// a click selects a body (a ring), Tab and Umschalt+Tab go through the
// bodies, the arrow keys and Entf act on the selected one, and a right click
// asks for the context menu. The handle at a velocity arrow's tip sets the
// velocity (Ctrl: the circular orbit about the body that pulls hardest;
// Shift: a tenth of the mouse's motion). Each is reported once complete;
// the window turns it into one command.

#include "view/bildabbildung.h"
#include "view/bezugssystem.h"
#include "view/bildflaeche.h"
#include "view/koerperpunkte.h"
#include "view/laufbild.h"
#include "view/pfeilanzeige.h"

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

    // Off: the picture only zooms, pans and shows tooltips.
    void BearbeitungErlauben(bool an);
    bool BearbeitungErlaubt() const { return bearbeitbar_; }
    // The selected body, shown with a ring; none when nothing is selected.
    std::optional<std::size_t> Auswahl() const { return auswahl_; }
    void AuswahlSetzen(std::optional<std::size_t> koerper);
    // A body is being moved with the mouse, or its velocity set.
    bool Greift() const { return griff_ && griff_->aktiv; }

    // The section's pixels and plane, for the arrows and the handle.
    void AbbildungSetzen(const Bildabbildung& abbildung);
    const Bildabbildung& Abbildung() const { return abbildung_; }
    // Velocity and acceleration arrows; turned on, each chooses its scale.
    void GeschwindigkeitenZeigen(bool an);
    void BeschleunigungenZeigen(bool an);
    // The run began anew: the arrows shown choose their scales again.
    void MassstaebeWaehlen();
    // The frame changed: the velocity arrows choose their scale for what it sees.
    void GeschwindigkeitsMassstabWaehlen();
    const Pfeilanzeige& Pfeile() const { return pfeile_; }

signals:
    // Whole wheel notches (positive: away from the user, zoom in) at
    // `anteil` of the widget's width and height.
    void mausrad(int rasten, QPointF anteil);
    // A drag with the left button ended by its release: the picture was
    // moved by `verschiebung` logical pixels on a widget of `groesse`.
    void gezogen(QPointF verschiebung, QSizeF groesse);
    // A press on a dot became a move of body `koerper`.
    void griffBegonnen();
    // The move ended by its release, `verschiebung` logical pixels from where the body was.
    void koerperGezogen(qulonglong koerper, QPointF verschiebung);
    // The velocity arrow's handle was released: body `koerper` is to move at `v` (m/s).
    void geschwindigkeitGezogen(qulonglong koerper, QPointF v);
    // The move was cancelled (Esc, a lost release): the body stays.
    void griffAbgebrochen();
    // A right click at `stelle` (logical pixels), on body `koerper` or on empty space (-1).
    void kontextmenueGewuenscht(QPointF stelle, qlonglong koerper, QPoint global);
    // An arrow key moves the selected body by `pixel` logical pixels; Entf removes it.
    void auswahlVerschieben(qulonglong koerper, QPointF pixel);
    void auswahlEntfernen(qulonglong koerper);
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
    void keyPressEvent(QKeyEvent* ereignis) override;
    void contextMenuEvent(QContextMenuEvent* ereignis) override;
    void focusOutEvent(QFocusEvent* ereignis) override;
    void leaveEvent(QEvent* ereignis) override;
    void hideEvent(QHideEvent* ereignis) override;

private:
    bool UeberlagerungAn() const { return lauf_ && (punkteZeigen_ || namenZeigen_ || !Bezug().Fest() || pfeile_.An()); }
    // The document set until the run has begun, then the working set (as Lauf::Jetzt).
    bool Arbeitssatz() const;
    void PunkteBerechnen();
    // The frame's name and the Lagrange points (shifted by a drag's `v`),
    // logical pixels; painted by BezugZeichnen.
    QRegion BezugBedeckt(QPoint v) const;
    void BezugZeichnen(QPainter& p) const;
    QRect BezugsTextRahmen(const QString& text) const;
    std::vector<QPointF> LagrangeOrte() const;
    // The arrows from the dots as PunkteBerechnen placed them.
    void PfeileBerechnen();
    // How the bodies shown hold their motion (the document's or the run's).
    Bewegungsart Art() const;
    void StandGeaendert();
    // The handle moved to `stelle`: the velocity it sets, and the tooltip saying so.
    void PfeilFolgen(QPointF stelle, Qt::KeyboardModifiers tasten, QPoint global);
    // A drag whose release was lost (a dialog took the mouse): the picture goes back.
    void ZiehenAbbrechen();
    void GriffAbbrechen();
    // The mouse's place clamped to the picture.
    QPointF Geklemmt(QPointF stelle) const;
    // Tab's next body after the selected one, backwards with `zurueck`.
    void AuswahlWeiter(bool zurueck);

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
    bool bearbeitbar_ = true;
    std::optional<std::size_t> auswahl_;
    struct Griff {
        std::size_t koerper;
        QPointF start;             // where the press was
        QPointF verschiebung;      // clamped, logical pixels
        bool aktiv = false;        // past the drag distance
        bool pfeil = false;        // the velocity arrow's handle, not the dot
        QPointF letzte;            // the mouse's last place (a handle moves by its steps)
        QPointF pfeilPixel;        // the arrow as the handle sets it, logical pixels
        Vektor v;                  // the velocity set, m/s
    };
    std::optional<Griff> griff_;
    Bildabbildung abbildung_{Ausschnitt{}, QSizeF(1, 1)};
    Pfeilanzeige pfeile_;
    std::vector<QPointF> mitten_;        // scratch for the arrows
    std::vector<std::size_t> mittenKoerper_;

    // What the dots and the arrows were last placed for. A repaint, a
    // tooltip or a press reuses them; they are placed anew once the bodies
    // changed (KoerperGeaendert), the mapping changed, or a held body or
    // handle moved. At 32,767 bodies placing them costs more than drawing.
    struct Platzierung {
        quint64 aenderung = 0;
        QSize flaeche, groesse;
        double spalte0 = 0, spalte1 = 0, zeile0 = 0, zeile1 = 0;
        qreal pixelverhaeltnis = 0;
        bool griff = false, pfeil = false;
        std::size_t koerper = 0;
        QPointF verschiebung;
        double vx = 0, vy = 0;
        bool operator==(const Platzierung&) const = default;
    };
    Platzierung PlatzierungJetzt() const;
    quint64 aenderung_ = 0;
    std::optional<Platzierung> punkteFuer_, pfeileFuer_;
};
