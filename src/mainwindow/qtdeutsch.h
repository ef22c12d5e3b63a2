// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own German texts: the standard buttons and the file, colour and print
// dialogs speak German whatever the system's language is.

class QTranslator;

// Loads qtbase_de from Qt's translations folder into `uebersetzer` and
// installs it in the application. False when the translations are missing
// (package qt6-translations-l10n on Debian).
bool QtDeutschLaden(QTranslator& uebersetzer);
