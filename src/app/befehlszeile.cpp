// SPDX-License-Identifier: GPL-3.0-or-later
#include "befehlszeile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {
// Exit status of a call the program does not understand.
constexpr int FalscherAufruf = 2;

// Qt's own window-system options, taken off the command line later by
// QApplication; they must not count as unknown here.
void QtOptionenDulden(QCommandLineParser& parser)
{
    const char* mitWert[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "geometry", "qwindowicon", "icon", "qwindowtitle", "title", "display", "session",
                             "style", "stylesheet", "name"};
    const char* ohneWert[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* n : mitWert) {
        QCommandLineOption o(QString::fromLatin1(n), QString(), QStringLiteral("wert"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* n : ohneWert) {
        QCommandLineOption o(QString::fromLatin1(n));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
}
}  // namespace

Befehlszeile BefehlszeileLesen(const QStringList& argumente)
{
    QCommandLineParser parser;
    // Qt's options are written with one dash ("-platform xcb").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Simuliert Planeten, Monde und Sterne, die sich in einer Ebene unter ihrer "
                       "gegenseitigen Schwerkraft bewegen."));
    const QCommandLineOption hilfe({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Zeigt diese Hilfe an."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsnummer an."));
    parser.addOption(hilfe);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("DATEI"),
                                 QStringLiteral("Körperdatei (*.plv), die beim Start geöffnet wird."),
                                 QStringLiteral("[DATEI]"));
    QtOptionenDulden(parser);

    Befehlszeile b;
    const QString programm = QCoreApplication::applicationName().toLower();
    auto falsch = [&](const QString& grund) {
        b.weiter = false;
        b.status = FalscherAufruf;
        b.fehler = programm + QStringLiteral(": ") + grund + QStringLiteral("\n\n") + parser.helpText();
        return b;
    };
    if (!parser.parse(argumente))
        return falsch(parser.errorText());
    if (parser.isSet(hilfe)) {
        b.weiter = false;
        b.ausgabe = parser.helpText();
        return b;
    }
    if (parser.isSet(version)) {
        b.weiter = false;
        b.ausgabe = QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return b;
    }
    const QStringList dateien = parser.positionalArguments();
    if (dateien.size() > 1)
        return falsch(QStringLiteral("Es kann nur eine Datei auf einmal geöffnet werden."));
    // Absolute, as the open dialog gives it: a later Save writes to the same file.
    if (!dateien.isEmpty() && !dateien[0].isEmpty())
        b.datei = QFileInfo(dateien[0]).absoluteFilePath();
    return b;
}
