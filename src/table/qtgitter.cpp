// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtgitter.h"

#include "table/twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyleOptionHeader>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

// Row height of the grid: 240 twips, or more when the font needs it.
constexpr int ZeilenhoeheTwips = 240;

}  // namespace

QtGitter::QtGitter(int spalten, QWidget* parent)
    : QTableView(parent)
    , modell_(spalten)
    , breiten_(size_t(spalten), 0)
{
    setModel(&modell_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    // Scrolling follows the user's moves only (see currentChanged), not every
    // current cell the program sets while filling or committing.
    setAutoScroll(false);
    // A column widened beyond the window is scrolled through, not jumped over.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);

    for (QHeaderView* kopf : {horizontalHeader(), verticalHeader()}) {
        kopf->setSectionsClickable(false);
        kopf->setHighlightSections(false);
        // Columns are widened by dragging their border, and fitted to their
        // longest text by a double-click on it, so every digit can be read.
        kopf->setSectionResizeMode(kopf == horizontalHeader() ? QHeaderView::Interactive : QHeaderView::Fixed);
        kopf->setMinimumSectionSize(1);
        kopf->viewport()->installEventFilter(this);
        kopf->viewport()->setMouseTracking(true);
    }
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setDefaultSectionSize(std::max(Pixel(ZeilenhoeheTwips), fontMetrics().height() + 4));
}

int QtGitter::Pixel(int twips) const
{
    return TwipsZuPixel(twips, logicalDpiX());
}

void QtGitter::RowsSetzen(int anzahl)
{
    // Removing rows may move the view's current index; ours stays unless its row went.
    intern_ = true;
    modell_.ZeilenSetzen(anzahl);
    intern_ = false;
    zeile_ = std::min(zeile_, Rows() - 1);
    AktuelleZelleAbgleichen();
}

void QtGitter::RowSetzen(int zeile)
{
    if (zeile < 0 || zeile >= Rows() || zeile == zeile_)
        return;
    zeile_ = zeile;
    AktuelleZelleAbgleichen();
}

void QtGitter::ColSetzen(int spalte)
{
    if (spalte < 0 || spalte >= modell_.Spalten() || spalte == spalte_)
        return;
    spalte_ = spalte;
    AktuelleZelleAbgleichen();
}

void QtGitter::TextMatrixSetzen(int zeile, int spalte, const QString& text)
{
    modell_.TextSetzen(zeile, spalte, text);
    if (zeile == 0 && spalte >= 1 && spalte < modell_.Spalten())
        BreiteAnwenden(spalte);
}

void QtGitter::ColWidthSetzen(int spalte, int twips)
{
    if (spalte < 0 || spalte >= modell_.Spalten() || twips < 0)
        return;
    breiten_[size_t(spalte)] = Pixel(twips);
    BreiteAnwenden(spalte);
}

int QtGitter::KopfBreite(const QHeaderView* kopf, const QString& text) const
{
    QStyleOptionHeader option;
    option.initFrom(kopf);
    option.text = text;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.fontMetrics = kopf->fontMetrics();
    // Header texts are drawn with the header's margins on either side.
    const int rand = kopf->style()->pixelMetric(QStyle::PM_HeaderMargin, &option, kopf);
    const QSize inhalt = kopf->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), kopf);
    return std::max(inhalt.width(), option.fontMetrics.horizontalAdvance(text) + 2 * rand) + 2;
}

void QtGitter::BreiteAnwenden(int spalte)
{
    // The widths in twips were chosen for a smaller font than a desktop of
    // today uses: no heading, and no row number up to the largest table, is cut.
    const int gesetzt = breiten_[size_t(spalte)];
    if (spalte == 0) {
        verticalHeader()->setFixedWidth(std::max(gesetzt, KopfBreite(verticalHeader(), QStringLiteral("32767"))));
        return;
    }
    const QString kopf = modell_.Text(0, spalte);
    const int noetig = kopf.isEmpty() ? 0 : KopfBreite(horizontalHeader(), kopf);
    setColumnWidth(spalte - 1, std::max(gesetzt, noetig));
}

int QtGitter::BreiteFuerAlleSpalten() const
{
    return 2 * frameWidth() + verticalHeader()->minimumWidth() + horizontalHeader()->length()
           + verticalScrollBar()->sizeHint().width();
}

void QtGitter::AddItem(const QString& text)
{
    intern_ = true;
    modell_.ZeileAnhaengen(text);
    intern_ = false;
}

void QtGitter::RemoveItem(int zeile)
{
    if (zeile < 1 || zeile >= Rows() || Rows() <= 2)
        return;
    intern_ = true;
    modell_.ZeileEntfernen(zeile);
    intern_ = false;
    zeile_ = std::min(zeile_, Rows() - 1);
    AktuelleZelleAbgleichen();
}

void QtGitter::AktuelleZelleAbgleichen()
{
    // The view follows once control returns to the event loop: filling or
    // committing moves the current cell through every row, and the view needs
    // only the last one.
    if (abgleichGeplant_)
        return;
    abgleichGeplant_ = true;
    QMetaObject::invokeMethod(this, &QtGitter::AktuelleZelleAbgleichenJetzt, Qt::QueuedConnection);
}

void QtGitter::AktuelleZelleAbgleichenJetzt()
{
    abgleichGeplant_ = false;
    // Fixed cells have no model index: the view then shows no current cell.
    const QModelIndex i = zeile_ >= 1 && spalte_ >= 1 ? modell_.index(zeile_ - 1, spalte_ - 1) : QModelIndex();
    if (i == currentIndex())
        return;
    intern_ = true;
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
    intern_ = false;
}

void QtGitter::AktuelleZelleZeigen(bool fokus)
{
    AktuelleZelleAbgleichenJetzt();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
    if (fokus)
        setFocus(Qt::OtherFocusReason);
}

void QtGitter::currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher)
{
    QTableView::currentChanged(aktuell, vorher);
    if (intern_ || !aktuell.isValid())
        return;
    // Moved by the user (click or keys): that cell becomes the current cell.
    // Keys scroll it into view; a click does not, or the second click of a
    // double-click would land on another cell.
    zeile_ = aktuell.row() + 1;
    spalte_ = aktuell.column() + 1;
    if (!klick_)
        scrollTo(aktuell);
}

void QtGitter::focusInEvent(QFocusEvent* ereignis)
{
    // A view without a current index makes its first cell current when it
    // takes the focus; the current cell is ours (the fill leaves it on the
    // last row), so the view learns it first and its own choice is undone.
    AktuelleZelleAbgleichenJetzt();
    intern_ = true;
    QTableView::focusInEvent(ereignis);
    intern_ = false;
    AktuelleZelleAbgleichenJetzt();
}

void QtGitter::keyPressEvent(QKeyEvent* ereignis)
{
    // F2 edits the current cell, as a double-click on it does; the arrows,
    // Enter (the OK button) and Esc (Abbrechen) keep their usual meaning.
    if (ereignis->key() == Qt::Key_F2 && ereignis->modifiers() == Qt::NoModifier && KeyDownMelden(Qt::Key_F2)) {
        ereignis->accept();
        return;
    }
    QTableView::keyPressEvent(ereignis);
}

void QtGitter::Maus(const QPoint& imViewport)
{
    const int z = rowAt(imViewport.y());
    const int s = columnAt(imViewport.x());
    mausZeile_ = z < 0 ? -1 : z + 1;
    mausSpalte_ = s < 0 ? -1 : s + 1;
}

bool QtGitter::viewportEvent(QEvent* ereignis)
{
    switch (ereignis->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Maus(static_cast<QMouseEvent*>(ereignis)->position().toPoint());
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(ereignis);
}

void QtGitter::mousePressEvent(QMouseEvent* ereignis)
{
    klick_ = true;
    QTableView::mousePressEvent(ereignis);
    klick_ = false;
}

void QtGitter::mouseDoubleClickEvent(QMouseEvent* ereignis)
{
    // viewportEvent has taken the mouse position already.
    klick_ = true;
    QTableView::mouseDoubleClickEvent(ereignis);
    klick_ = false;
    DblClickMelden();
}

bool QtGitter::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // Mouse over the headers: row 0 is the heading row, column 0 the row numbers.
    const bool oben = objekt == horizontalHeader()->viewport();
    const bool links = objekt == verticalHeader()->viewport();
    if (oben || links) {
        const auto typ = ereignis->type();
        if (typ == QEvent::MouseMove || typ == QEvent::MouseButtonPress || typ == QEvent::MouseButtonDblClick) {
            const QPoint p = static_cast<QMouseEvent*>(ereignis)->position().toPoint();
            if (oben) {
                const int s = horizontalHeader()->logicalIndexAt(p.x());
                mausZeile_ = 0;
                mausSpalte_ = s < 0 ? -1 : s + 1;
            } else {
                const int z = verticalHeader()->logicalIndexAt(p.y());
                mausZeile_ = z < 0 ? -1 : z + 1;
                mausSpalte_ = 0;
            }
            if (typ == QEvent::MouseButtonDblClick)
                DblClickMelden();
        }
    }
    return QTableView::eventFilter(objekt, ereignis);
}
