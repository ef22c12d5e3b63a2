// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid on a QTableView: the heading row and the row-number column are the
// view's headers, the other cells come from a GitterModell. Cells cannot be
// edited in place; the current cell is shown by the focus frame only, so a
// coloured cell always shows its colour.

#include "table/gitter.h"
#include "table/gittermodell.h"

#include <QTableView>
#include <vector>

class QtGitter : public QTableView, public Gitter {
    Q_OBJECT
public:
    explicit QtGitter(int spalten, QWidget* parent = nullptr);

    int Rows() const override { return modell_.Zeilen(); }
    void RowsSetzen(int anzahl) override;
    int Row() const override { return zeile_; }
    void RowSetzen(int zeile) override;
    int Col() const override { return spalte_; }
    void ColSetzen(int spalte) override;
    QString TextMatrix(int zeile, int spalte) const override { return modell_.Text(zeile, spalte); }
    void TextMatrixSetzen(int zeile, int spalte, const QString& text) override;
    void ZahlMatrixSetzen(int zeile, int spalte, double wert) override { modell_.ZahlSetzen(zeile, spalte, wert); }
    std::optional<double> ZahlMatrix(int zeile, int spalte) const override { return modell_.Zahl(zeile, spalte); }
    void ColToolTipSetzen(int spalte, const QString& text) override { modell_.KopfTippSetzen(spalte, text); }
    void ColWidthSetzen(int spalte, int twips) override;
    int32_t CellBackColor() const override { return modell_.Farbe(zeile_, spalte_); }
    void CellBackColorSetzen(int32_t farbe) override { modell_.FarbeSetzen(zeile_, spalte_, farbe); }
    int MouseRow() const override { return mausZeile_; }
    int MouseCol() const override { return mausSpalte_; }
    void AddItem(const QString& text) override;
    void RemoveItem(int zeile) override;

    const GitterModell& Modell() const { return modell_; }
    // Scrolls the current cell into view and gives the grid the focus; setting
    // Row and Col alone never scrolls, so filling and committing stay fast.
    void AktuelleZelleZeigen(bool fokus);
    // The width in pixels at which every column shows without scrolling
    // sideways, room for the vertical scroll bar of a long table included.
    int BreiteFuerAlleSpalten() const;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    bool viewportEvent(QEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override;
    void currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher) override;
    void focusInEvent(QFocusEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    int Pixel(int twips) const;
    // The width a header section needs to show `text` uncut, in pixels.
    int KopfBreite(const QHeaderView* kopf, const QString& text) const;
    void BreiteAnwenden(int spalte);
    void Maus(const QPoint& imViewport);
    void AktuelleZelleAbgleichen();
    void AktuelleZelleAbgleichenJetzt();

    GitterModell modell_;
    std::vector<int> breiten_;   // pixels, as set; a heading may need more
    int zeile_ = 1;
    int spalte_ = 1;
    int mausZeile_ = -1;
    int mausSpalte_ = -1;
    bool klick_ = false;    // a mouse button is being handled
    bool intern_ = false;
    bool abgleichGeplant_ = false;   // the view's current index moves because of us, not the user
};
