// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog that chooses the body (or the two bodies) a frame of reference
// follows: a list of the bodies' names, filtered as the user types. A
// filter model over one string list keeps it quick with 32,767 bodies.

#include <QDialog>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

class QListView;
class QSortFilterProxyModel;

class KoerperWahl : public QDialog {
    Q_OBJECT
public:
    // `namen`: one line per body, in the set's order; `anzahl`: 1 or 2 lists.
    KoerperWahl(const QStringList& namen, int anzahl, const QString& titel, QWidget* besitzer = nullptr);

    // The chosen bodies (0-based), as many as lists; none while one list has no choice.
    std::optional<std::vector<std::size_t>> Gewaehlt() const;

    // Shows the dialog modally; the choice, or nothing on cancel.
    static std::optional<std::vector<std::size_t>> Fragen(const QStringList& namen, int anzahl, const QString& titel,
                                                          QWidget* besitzer);

private:
    void KnopfPruefen();

    std::vector<QListView*> listen_;
    std::vector<QSortFilterProxyModel*> filter_;
    class QPushButton* ok_ = nullptr;
};
