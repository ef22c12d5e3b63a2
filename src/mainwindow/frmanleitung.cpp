// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmanleitung.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

FrmAnleitung::FrmAnleitung(QWidget* besitzer)
    : QWidget(besitzer, Qt::Window)
{
    setObjectName(QStringLiteral("frmAnleitung"));
    setWindowTitle(QStringLiteral("Plavo – Anleitung"));
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtAnleitung"));
    // Links to the web open in the user's browser; the guide itself needs none.
    browser_->setOpenExternalLinks(true);
    // Its pictures are found beside it in the resources.
    browser_->setSource(QUrl(QStringLiteral("qrc:/anleitung/anleitung.md")), QTextDocument::MarkdownResource);
    spalte->addWidget(browser_);
    resize(720, 640);
}
