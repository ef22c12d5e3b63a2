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

// The PNGs `werkzeug` (a poppler tool) writes from `pfad` with `argumente`
// under `pfad` + `zusatz`, in order; empty when the tool is missing or fails.
inline std::vector<QImage> PopplerBilder(const char* werkzeug, const QString& pfad, const QString& zusatz,
                                         QStringList argumente)
{
    const QString programm = QStandardPaths::findExecutable(QString::fromLatin1(werkzeug));
    if (programm.isEmpty())
        return {};
    const QString praefix = pfad + zusatz;
    if (QProcess::execute(programm, argumente << QStringLiteral("-png") << pfad << praefix) != 0)
        return {};
    std::vector<QImage> bilder;
    const QFileInfo info(praefix);
    for (const QString& d : info.dir().entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        bilder.emplace_back(info.dir().filePath(d));
    return bilder;
}

// Every page at `dpi`, rendered by pdftoppm.
inline std::vector<QImage> PdfSeitenBilder(const QString& pfad, int dpi)
{
    return PopplerBilder("pdftoppm", pfad, QStringLiteral("-seite"), {QStringLiteral("-r"), QString::number(dpi)});
}

// The pictures drawn on page `seite` (from 1) as stored in the file, taken
// out by pdfimages.
inline std::vector<QImage> PdfBildobjekte(const QString& pfad, int seite)
{
    const QString s = QString::number(seite);
    return PopplerBilder("pdfimages", pfad, QStringLiteral("-bild") + s, {QStringLiteral("-f"), s, QStringLiteral("-l"), s});
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
