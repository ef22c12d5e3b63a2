// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking into a PDF that a test printed: its pages, and pictures of them
// rendered by pdftoppm where that tool is installed.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <vector>

// Page objects ("/Type /Page", not the "/Type /Pages" tree).
inline int PdfSeitenzahl(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression seite(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(f.readAll()).count(seite));
}

// Every page at `dpi`; empty when pdftoppm is missing or fails.
inline std::vector<QImage> PdfSeitenBilder(const QString& pfad, int dpi)
{
    const QString werkzeug = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (werkzeug.isEmpty())
        return {};
    const QString praefix = pfad + QStringLiteral("-seite");
    if (QProcess::execute(werkzeug, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pfad, praefix}) != 0)
        return {};
    std::vector<QImage> seiten;
    const QFileInfo info(praefix);
    const QStringList dateien =
        info.dir().entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (const QString& d : dateien)
        seiten.emplace_back(info.dir().filePath(d));
    return seiten;
}

// The pictures drawn on page `seite` (from 1) as stored in the file, taken
// out by pdfimages; empty when that tool is missing or fails.
inline std::vector<QImage> PdfBildobjekte(const QString& pfad, int seite)
{
    const QString werkzeug = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (werkzeug.isEmpty())
        return {};
    const QString praefix = pfad + QStringLiteral("-bild%1").arg(seite);
    const QString s = QString::number(seite);
    if (QProcess::execute(werkzeug, {QStringLiteral("-png"), QStringLiteral("-f"), s, QStringLiteral("-l"), s, pfad,
                                     praefix})
        != 0)
        return {};
    std::vector<QImage> bilder;
    const QFileInfo info(praefix);
    for (const QString& d : info.dir().entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        bilder.emplace_back(info.dir().filePath(d));
    return bilder;
}

// The smallest rectangle holding every pixel darker than mid-grey in any channel.
inline QRect DunklerBereich(const QImage& bild)
{
    QRect r;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QRgb p = bild.pixel(x, y);
            if (qRed(p) < 128 || qGreen(p) < 128 || qBlue(p) < 128)
                r |= QRect(x, y, 1, 1);
        }
    return r;
}
