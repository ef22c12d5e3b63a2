// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdeutsch.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtDeutschLaden(QTranslator& uebersetzer)
{
    if (!uebersetzer.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&uebersetzer);
}
