// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid of the table window, reduced to the operations the window uses.
// Rows and columns count from 0; row 0 (the headings) and column 0 (the row
// numbers) are fixed. Row and column numbers outside the grid are ignored by
// the setters and read as empty text or colour 0.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class Gitter {
public:
    virtual ~Gitter() = default;

    // Number of rows, the heading row included. Writing appends empty rows at
    // the end or drops rows from the end; the heading row always stays.
    virtual int Rows() const = 0;
    virtual void RowsSetzen(int anzahl) = 0;

    // The current cell, which CellBackColor acts on; a click on a data cell
    // makes it current.
    virtual int Row() const = 0;
    virtual void RowSetzen(int zeile) = 0;
    virtual int Col() const = 0;
    virtual void ColSetzen(int spalte) = 0;

    virtual QString TextMatrix(int zeile, int spalte) const = 0;
    virtual void TextMatrixSetzen(int zeile, int spalte, const QString& text) = 0;
    // A number cell: it shows `wert` as number text, and gives back exactly
    // `wert` until a different text is set into it. The text is made only
    // when it is needed, so even the largest table fills at once.
    virtual void ZahlMatrixSetzen(int zeile, int spalte, double wert) = 0;
    virtual std::optional<double> ZahlMatrix(int zeile, int spalte) const = 0;

    // Tooltip of a column's heading.
    virtual void ColToolTipSetzen(int spalte, const QString& text) = 0;

    // Width of a column in twips (1/1440 inch).
    virtual void ColWidthSetzen(int spalte, int twips) = 0;

    // Background of the current cell, RGB with red in the low byte;
    // 0 means no colour of its own (the grid's normal background).
    virtual int32_t CellBackColor() const = 0;
    virtual void CellBackColorSetzen(int32_t farbe) = 0;

    // The cell under the mouse pointer; -1 where there is no cell.
    virtual int MouseRow() const = 0;
    virtual int MouseCol() const = 0;

    // Appends a row: `text` goes into column 0, the other cells are empty and uncoloured.
    virtual void AddItem(const QString& text) = 0;
    // Deletes a data row; the rows below move up with their texts and colours.
    // The heading row and the last data row are never removed.
    virtual void RemoveItem(int zeile) = 0;

    // The user double-clicked in the grid.
    void DblClickVerbinden(std::function<void()> behandlung) { dblClick_ = std::move(behandlung); }
    // The user pressed a key in the grid that the grid itself does not use
    // (a Qt::Key; arrows move the current cell and are not reported).
    void KeyDownVerbinden(std::function<void(int)> behandlung) { keyDown_ = std::move(behandlung); }

protected:
    void DblClickMelden()
    {
        if (dblClick_)
            dblClick_();
    }
    bool KeyDownMelden(int taste)
    {
        if (!keyDown_)
            return false;
        keyDown_(taste);
        return true;
    }

private:
    std::function<void()> dblClick_;
    std::function<void(int)> keyDown_;
};
