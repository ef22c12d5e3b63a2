// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtstandarddialog.h"

#include "model/farbe.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <algorithm>

namespace {
// With CUPS, Qt's print dialog offers a page range for the print server to
// apply even when the application switched PrintPageRange off. When neither
// a selection nor a page range may be chosen, the whole range group goes,
// leaving "print everything" as the only choice. Qt fills the group when the
// dialog is shown, so it is hidden right after that.
class DruckDialog : public QPrintDialog {
public:
    DruckDialog(QPrinter* drucker, QWidget* besitzer, bool nurAlles)
        : QPrintDialog(drucker, besitzer)
        , nurAlles_(nurAlles)
    {
    }
    void setVisible(bool sichtbar) override
    {
        QPrintDialog::setVisible(sichtbar);
        if (sichtbar && nurAlles_)
            if (QWidget* bereich = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
                bereich->hide();
    }

private:
    bool nurAlles_;
};
}  // namespace

QString QtFilterAusFilter(const QString& filter)
{
    const QStringList teile = filter.split(QLatin1Char('|'));
    QStringList qt;
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
        const QString& name = teile[i];
        const QString muster = QString(teile[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses; add them unless the label shows them already.
        if (name.endsWith(QStringLiteral("(") + muster + QStringLiteral(")")))
            qt << name;
        else
            qt << name + QStringLiteral(" (") + muster + QStringLiteral(")");
    }
    return qt.join(QStringLiteral(";;"));
}

QString SuffixAusDefaultExt(const QString& defaultExt)
{
    QString s = defaultExt;
    if (s.startsWith(QLatin1Char('*')))
        s.remove(0, 1);
    if (s.startsWith(QLatin1Char('.')))
        s.remove(0, 1);
    return s;
}

QtStandarddialog::QtStandarddialog(QWidget* besitzer)
    : besitzer_(besitzer)
{
}

QtStandarddialog::~QtStandarddialog() = default;

bool QtStandarddialog::DateiDialog(bool speichern)
{
    QFileDialog dialog(besitzer_);
    dialog.setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filter = QtFilterAusFilter(Filter).split(QStringLiteral(";;"));
    const QStringList teile = Filter.split(QLatin1Char('|'));
    dialog.setNameFilters(filter);
    // A name typed without suffix gets the suffix of the type chosen, the
    // first type's being DefaultExt.
    const auto suffix = [&](qsizetype eintrag) {
        const qsizetype muster = 2 * eintrag + 1;
        return eintrag == 0 || muster >= teile.size() ? SuffixAusDefaultExt(DefaultExt)
                                                      : SuffixAusDefaultExt(teile[muster].section(QLatin1Char(';'), 0, 0));
    };
    const qsizetype erster = std::clamp<qsizetype>(FilterIndex - 1, 0, filter.size() - 1);
    dialog.selectNameFilter(filter[erster]);
    dialog.setDefaultSuffix(suffix(erster));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& gewaehlt) {
        dialog.setDefaultSuffix(suffix(std::max<qsizetype>(filter.indexOf(gewaehlt), 0)));
    });
    if (!FileName.isEmpty()) {
        const QFileInfo info(FileName);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    FilterIndex = int16_t(std::max<qsizetype>(filter.indexOf(dialog.selectedNameFilter()), 0) + 1);
    return true;
}

bool QtStandarddialog::ShowOpen()
{
    return DateiDialog(false);
}

bool QtStandarddialog::ShowSave()
{
    return DateiDialog(true);
}

bool QtStandarddialog::ShowColor()
{
    const QColor gewaehlt = QColorDialog::getColor(QColor::fromRgb(FarbeAlsArgb(Color)), besitzer_);
    if (!gewaehlt.isValid())
        return false;
    Color = FarbeAusArgb(gewaehlt.rgb());
    return true;
}

bool QtStandarddialog::ShowPrinter()
{
    QPrinter* drucker = Printer();
    const int32_t nurAlles = cdlPDNoSelection | cdlPDNoPageNums;
    DruckDialog dialog(drucker, besitzer_, (Flags & nurAlles) == nurAlles);
    QAbstractPrintDialog::PrintDialogOptions optionen = dialog.options();
    if (Flags & cdlPDNoSelection)
        optionen &= ~QAbstractPrintDialog::PrintSelection;
    if (Flags & cdlPDNoPageNums)
        optionen &= ~QAbstractPrintDialog::PrintPageRange;
    dialog.setOptions(optionen);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Copies = int16_t(std::clamp(drucker->copyCount(), 1, 32767));
    return true;
}

QPrinter* QtStandarddialog::Printer()
{
    if (!drucker_)
        drucker_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return drucker_.get();
}
