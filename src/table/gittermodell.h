// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cells of a grid with one fixed heading row and one fixed row-number
// column, kept in flat vectors so that tens of thousands of rows fill fast.
//
// A cell holds a text, or a number that is turned into number text only when
// the text is asked for (drawn, read, edited): a table of 32,767 bodies is
// filled with 163,835 numbers, and the view shows a few dozen of them. A
// number cell also gives back its exact double until its text is set.
//
// Grid cell (r, c) with r, c >= 1 is model index (r - 1, c - 1); the heading
// row is the horizontal header and the row-number column the vertical header.

#include <QAbstractTableModel>
#include <QColor>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

class GitterModell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GitterModell(int spalten, QObject* parent = nullptr);

    int Zeilen() const { return zeilen_; }
    int Spalten() const { return spalten_; }
    bool Gueltig(int zeile, int spalte) const
    {
        return zeile >= 0 && zeile < zeilen_ && spalte >= 0 && spalte < spalten_;
    }

    void ZeilenSetzen(int anzahl);
    QString Text(int zeile, int spalte) const;
    // Setting the text that a number cell shows already keeps the number.
    void TextSetzen(int zeile, int spalte, const QString& text);
    void ZahlSetzen(int zeile, int spalte, double wert);
    // The number a cell was given, unless a different text was set since.
    std::optional<double> Zahl(int zeile, int spalte) const;
    // Tooltip of a heading (row 0) cell.
    void KopfTippSetzen(int spalte, const QString& text);
    int32_t Farbe(int zeile, int spalte) const;
    void FarbeSetzen(int zeile, int spalte, int32_t farbe);
    void ZeileAnhaengen(const QString& ersteSpalte);
    void ZeileEntfernen(int zeile);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    size_t Stelle(int zeile, int spalte) const { return size_t(zeile) * size_t(spalten_) + size_t(spalte); }
    void Geaendert(int zeile, int spalte);
    void AenderungenMelden();

    // Changed cells not yet told to the view, as a bounding box (grid numbering).
    struct Bereich {
        int z1 = INT_MAX, z2 = -1, s1 = INT_MAX, s2 = -1;
        bool Gueltig() const { return z2 >= 0; }
        void Erweitern(int z, int s)
        {
            z1 = std::min(z1, z);
            z2 = std::max(z2, z);
            s1 = std::min(s1, s);
            s2 = std::max(s2, s);
        }
    };

    int spalten_;
    int zeilen_ = 2;
    std::vector<QString> texte_;
    std::vector<double> zahlen_;
    std::vector<uint8_t> istZahl_;   // the cell's content is zahlen_, texte_ is empty
    std::vector<int32_t> farben_;
    std::vector<QString> kopfTipps_;
    Bereich oben_, links_, zellen_;
    bool meldungGeplant_ = false;
};

// Red in the low byte, as the body colour is stored.
QColor FarbeAusRgb(int32_t rgb);
