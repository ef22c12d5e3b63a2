// SPDX-License-Identifier: GPL-3.0-or-later
#include "gittermodell.h"

#include "model/farbe.h"
#include "model/zahltext.h"

namespace {

// A never-named body's name is 15 NUL characters; fonts draw them as boxes.
// They stay in the cell text and are only left out when drawn.
QString Anzeigetext(const QString& text)
{
    if (!text.contains(QChar(0)))
        return text;
    return QString(text).remove(QChar(0));
}

}  // namespace

QColor FarbeAusRgb(int32_t rgb)
{
    return QColor::fromRgb(FarbeAlsArgb(rgb));
}

GitterModell::GitterModell(int spalten, QObject* parent)
    : QAbstractTableModel(parent)
    , spalten_(std::max(spalten, 2))
    , texte_(Stelle(zeilen_, 0))
    , zahlen_(Stelle(zeilen_, 0), 0.0)
    , istZahl_(Stelle(zeilen_, 0), 0)
    , farben_(Stelle(zeilen_, 0), 0)
    , kopfTipps_(size_t(spalten_))
{
}

void GitterModell::ZeilenSetzen(int anzahl)
{
    anzahl = std::max(anzahl, 1);
    if (anzahl > zeilen_) {
        beginInsertRows(QModelIndex(), zeilen_ - 1, anzahl - 2);
        texte_.resize(Stelle(anzahl, 0));
        zahlen_.resize(Stelle(anzahl, 0), 0.0);
        istZahl_.resize(Stelle(anzahl, 0), 0);
        farben_.resize(Stelle(anzahl, 0), 0);
        zeilen_ = anzahl;
        endInsertRows();
    } else if (anzahl < zeilen_) {
        beginRemoveRows(QModelIndex(), anzahl - 1, zeilen_ - 2);
        texte_.resize(Stelle(anzahl, 0));
        zahlen_.resize(Stelle(anzahl, 0));
        istZahl_.resize(Stelle(anzahl, 0));
        farben_.resize(Stelle(anzahl, 0));
        zeilen_ = anzahl;
        endRemoveRows();
    }
}

QString GitterModell::Text(int zeile, int spalte) const
{
    if (!Gueltig(zeile, spalte))
        return QString();
    const size_t i = Stelle(zeile, spalte);
    return istZahl_[i] ? ZahlZuText(zahlen_[i]) : texte_[i];
}

void GitterModell::TextSetzen(int zeile, int spalte, const QString& text)
{
    if (!Gueltig(zeile, spalte))
        return;
    const size_t i = Stelle(zeile, spalte);
    // The text it shows, confirmed unchanged: the number stays exact.
    if (text == Text(zeile, spalte))
        return;
    istZahl_[i] = 0;
    texte_[i] = text;
    Geaendert(zeile, spalte);
}

void GitterModell::ZahlSetzen(int zeile, int spalte, double wert)
{
    if (!Gueltig(zeile, spalte))
        return;
    const size_t i = Stelle(zeile, spalte);
    texte_[i] = QString();
    zahlen_[i] = wert;
    istZahl_[i] = 1;
    Geaendert(zeile, spalte);
}

std::optional<double> GitterModell::Zahl(int zeile, int spalte) const
{
    if (!Gueltig(zeile, spalte) || !istZahl_[Stelle(zeile, spalte)])
        return std::nullopt;
    return zahlen_[Stelle(zeile, spalte)];
}

void GitterModell::KopfTippSetzen(int spalte, const QString& text)
{
    if (spalte < 1 || spalte >= spalten_)
        return;
    kopfTipps_[size_t(spalte)] = text;
    emit headerDataChanged(Qt::Horizontal, spalte - 1, spalte - 1);
}

int32_t GitterModell::Farbe(int zeile, int spalte) const
{
    return Gueltig(zeile, spalte) ? farben_[Stelle(zeile, spalte)] : 0;
}

void GitterModell::FarbeSetzen(int zeile, int spalte, int32_t farbe)
{
    if (!Gueltig(zeile, spalte) || farben_[Stelle(zeile, spalte)] == farbe)
        return;
    farben_[Stelle(zeile, spalte)] = farbe;
    Geaendert(zeile, spalte);
}

void GitterModell::ZeileAnhaengen(const QString& ersteSpalte)
{
    ZeilenSetzen(zeilen_ + 1);
    texte_[Stelle(zeilen_ - 1, 0)] = ersteSpalte;
    istZahl_[Stelle(zeilen_ - 1, 0)] = 0;
    Geaendert(zeilen_ - 1, 0);
}

void GitterModell::ZeileEntfernen(int zeile)
{
    if (zeile < 1 || zeile >= zeilen_)
        return;
    beginRemoveRows(QModelIndex(), zeile - 1, zeile - 1);
    const auto anfang = std::ptrdiff_t(Stelle(zeile, 0));
    const auto ende = std::ptrdiff_t(Stelle(zeile + 1, 0));
    texte_.erase(texte_.begin() + anfang, texte_.begin() + ende);
    zahlen_.erase(zahlen_.begin() + anfang, zahlen_.begin() + ende);
    istZahl_.erase(istZahl_.begin() + anfang, istZahl_.begin() + ende);
    farben_.erase(farben_.begin() + anfang, farben_.begin() + ende);
    --zeilen_;
    endRemoveRows();
}

void GitterModell::Geaendert(int zeile, int spalte)
{
    // Collected and told once the event loop runs again: a fill changes a
    // quarter of a million cells, the view needs one repaint.
    if (zeile == 0 && spalte == 0)
        return;   // the corner cell is not shown
    Bereich& b = zeile == 0 ? oben_ : spalte == 0 ? links_ : zellen_;
    b.Erweitern(zeile, spalte);
    if (!meldungGeplant_) {
        meldungGeplant_ = true;
        QMetaObject::invokeMethod(this, &GitterModell::AenderungenMelden, Qt::QueuedConnection);
    }
}

void GitterModell::AenderungenMelden()
{
    meldungGeplant_ = false;
    const int letzteZeile = zeilen_ - 1;
    if (oben_.Gueltig())
        emit headerDataChanged(Qt::Horizontal, oben_.s1 - 1, oben_.s2 - 1);
    if (links_.Gueltig() && links_.z1 <= letzteZeile)
        emit headerDataChanged(Qt::Vertical, links_.z1 - 1, std::min(links_.z2, letzteZeile) - 1);
    if (zellen_.Gueltig() && zellen_.z1 <= letzteZeile)
        emit dataChanged(index(zellen_.z1 - 1, zellen_.s1 - 1),
                         index(std::min(zellen_.z2, letzteZeile) - 1, zellen_.s2 - 1),
                         {Qt::DisplayRole, Qt::BackgroundRole});
    oben_ = links_ = zellen_ = Bereich{};
}

int GitterModell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : zeilen_ - 1;
}

int GitterModell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : spalten_ - 1;
}

QVariant GitterModell::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int zeile = index.row() + 1;
    const int spalte = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return Anzeigetext(Text(zeile, spalte));
    case Qt::ToolTipRole: {
        // The whole text, also where a narrow column cuts it.
        const QString text = Anzeigetext(Text(zeile, spalte));
        return text.trimmed().isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::BackgroundRole:
        if (const int32_t f = Farbe(zeile, spalte))
            return FarbeAusRgb(f);
        return {};
    default:
        return {};
    }
}

QVariant GitterModell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section >= 0 && section + 1 < spalten_) {
        const QString& tipp = kopfTipps_[size_t(section + 1)];
        return tipp.isEmpty() ? QVariant() : QVariant(tipp);
    }
    if (role != Qt::DisplayRole)
        return {};
    return Anzeigetext(orientation == Qt::Horizontal ? Text(0, section + 1) : Text(section + 1, 0));
}

Qt::ItemFlags GitterModell::flags(const QModelIndex& index) const
{
    // Selectable only so the current cell can be shown; never editable in place.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
