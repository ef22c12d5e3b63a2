// SPDX-License-Identifier: GPL-3.0-or-later
#include "koerperwahl.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>

KoerperWahl::KoerperWahl(const QStringList& namen, int anzahl, const QString& titel, QWidget* besitzer)
    : QDialog(besitzer)
{
    setWindowTitle(titel);
    auto* modell = new QStringListModel(namen, this);
    auto* spalte = new QVBoxLayout(this);
    auto* zeile = new QHBoxLayout;
    spalte->addLayout(zeile);
    const char* ueberschriften[] = {"&Erster Körper:", "&Zweiter Körper:"};
    for (int i = 0; i < anzahl; ++i) {
        auto* teil = new QVBoxLayout;
        zeile->addLayout(teil);
        auto* ueberschrift = new QLabel(anzahl == 1 ? QStringLiteral("&Körper:") : QString::fromUtf8(ueberschriften[i]), this);
        auto* suche = new QLineEdit(this);
        suche->setObjectName(QStringLiteral("txtSuche%1").arg(i + 1));
        suche->setPlaceholderText(QStringLiteral("Namen eingeben"));
        suche->setClearButtonEnabled(true);
        ueberschrift->setBuddy(suche);
        auto* filter = new QSortFilterProxyModel(this);
        filter->setSourceModel(modell);
        filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
        auto* liste = new QListView(this);
        liste->setObjectName(QStringLiteral("lstKoerper%1").arg(i + 1));
        liste->setModel(filter);
        // One height for all rows: the view lays out 32,767 of them without measuring each.
        liste->setUniformItemSizes(true);
        liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
        liste->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(suche, &QLineEdit::textChanged, filter, [filter, liste](const QString& text) {
            filter->setFilterFixedString(text);
            // One match left: it is the choice.
            if (filter->rowCount() == 1)
                liste->setCurrentIndex(filter->index(0, 0));
        });
        connect(liste->selectionModel(), &QItemSelectionModel::selectionChanged, this, &KoerperWahl::KnopfPruefen);
        connect(liste, &QListView::doubleClicked, this, [this] {
            if (ok_->isEnabled())
                accept();
        });
        teil->addWidget(ueberschrift);
        teil->addWidget(suche);
        teil->addWidget(liste, 1);
        listen_.push_back(liste);
        filter_.push_back(filter);
    }
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = knoepfe->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("OK"));
    knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    spalte->addWidget(knoepfe);
    // A pair proposes the first two bodies, one body the first.
    for (std::size_t i = 0; i < listen_.size(); ++i)
        if (int(i) < namen.size())
            listen_[i]->setCurrentIndex(filter_[i]->index(int(i), 0));
    KnopfPruefen();
    resize(anzahl == 1 ? 320 : 560, 420);
}

std::optional<std::vector<std::size_t>> KoerperWahl::Gewaehlt() const
{
    std::vector<std::size_t> wahl;
    for (std::size_t i = 0; i < listen_.size(); ++i) {
        const QModelIndexList markiert = listen_[i]->selectionModel()->selectedIndexes();
        if (markiert.size() != 1)
            return std::nullopt;
        wahl.push_back(std::size_t(filter_[i]->mapToSource(markiert.front()).row()));
    }
    // A pair of one body turns about nothing.
    if (wahl.size() == 2 && wahl[0] == wahl[1])
        return std::nullopt;
    return wahl;
}

void KoerperWahl::KnopfPruefen()
{
    ok_->setEnabled(Gewaehlt().has_value());
}

std::optional<std::vector<std::size_t>> KoerperWahl::Fragen(const QStringList& namen, int anzahl,
                                                            const QString& titel, QWidget* besitzer)
{
    KoerperWahl dialog(namen, anzahl, titel, besitzer);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Gewaehlt();
}
