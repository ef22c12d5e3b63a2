#pragma once
// The cells of a grid with one fixed heading row and one fixed row-number
// column, kept in flat vectors so that tens of thousands of rows fill fast.
//
// Grid cell (r, c) with r, c >= 1 is model index (r - 1, c - 1); the heading
// row is the horizontal header and the row-number column the vertical header.

#include <QAbstractTableModel>
#include <QColor>
#include <algorithm>
#include <climits>
#include <cstdint>
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
    void TextSetzen(int zeile, int spalte, const QString& text);
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
    std::vector<int32_t> farben_;
    Bereich oben_, links_, zellen_;
    bool meldungGeplant_ = false;
};

// Red in the low byte, as the body colour is stored.
QColor FarbeAusRgb(int32_t rgb);
