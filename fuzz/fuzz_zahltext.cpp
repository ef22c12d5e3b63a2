// SPDX-License-Identifier: GPL-3.0-or-later
// Number text in the German and the C locale, from arbitrary text and from
// arbitrary doubles.
//
// Properties:
//  - what reads as a number is finite, and its text reads back to a number
//    whose text is the same (text -> number -> text is stable after one round);
//  - only digits, one sign, the locale's separator and an exponent are read;
//  - every finite double gets a text of digits, separator, sign and E only,
//    which reads back within the rounding to 15 significant digits;
//  - the German and the C text differ only in the decimal separator;
//  - NaN and the infinities get their words, which never read as numbers.

#include "model/zahltext.h"
#include "pruefen.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

const QLocale& Deutsch()
{
    static const QLocale l(QLocale::German, QLocale::Germany);
    return l;
}

bool NurZeichen(const QString& text, const QString& erlaubt)
{
    for (const QChar c : text)
        if (!erlaubt.contains(c))
            return false;
    return true;
}

QString Erlaubt(const QLocale& l)
{
    return QStringLiteral("0123456789+-eE") + (l.decimalPoint().isEmpty() ? QStringLiteral(".") : l.decimalPoint());
}

// The shown value of a double: within half a unit of the 15th digit, plus the
// spacing of the subnormals.
bool Nahe(double gelesen, double wert)
{
    return std::fabs(gelesen - wert) <= 5.2e-15 * std::fabs(wert) + 4.95e-324;
}

void TextPruefen(const QString& text, const QLocale& l)
{
    const std::optional<double> wert = TextZuZahl(text, l);
    if (!wert)
        return;
    PRUEFEN(std::isfinite(*wert));
    PRUEFEN(NurZeichen(text.trimmed(), Erlaubt(l)));
    const QString gezeigt = ZahlZuText(*wert, l);
    const std::optional<double> zurueck = TextZuZahl(gezeigt, l);
    PRUEFEN(zurueck.has_value());
    PRUEFEN(Nahe(*zurueck, *wert));
    PRUEFEN(ZahlZuText(*zurueck, l) == gezeigt);
}

void WertPruefen(double wert)
{
    const QString deutsch = ZahlZuText(wert, Deutsch());
    const QString c = ZahlZuText(wert, QLocale::c());
    if (!std::isfinite(wert)) {
        const QString wort = std::isnan(wert) ? QStringLiteral("NaN")
                           : wert > 0         ? QStringLiteral("Unendlich")
                                              : QStringLiteral("-Unendlich");
        PRUEFEN(deutsch == wort && c == wort);
        PRUEFEN(!TextZuZahl(wort, Deutsch()) && !TextZuZahl(wort, QLocale::c()));
        return;
    }
    PRUEFEN(QString(deutsch).replace(QLatin1Char(','), QLatin1Char('.')) == c);
    PRUEFEN(deutsch.size() <= 22);   // sign, 15 digits, separator, "E-308"
    for (const QLocale& l : {Deutsch(), QLocale::c()}) {
        const QString text = ZahlZuText(wert, l);
        PRUEFEN(NurZeichen(text, Erlaubt(l)));
        const std::optional<double> zurueck = TextZuZahl(text, l);
        PRUEFEN(zurueck.has_value());
        PRUEFEN(Nahe(*zurueck, wert));
        PRUEFEN(ZahlZuText(*zurueck, l) == text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    const auto* zeichen = reinterpret_cast<const char*>(daten);
    const QString utf8 = QString::fromUtf8(zeichen, qsizetype(groesse));
    std::u16string einheiten(groesse / 2, u'\0');   // copied: the input need not be aligned for char16_t
    std::memcpy(einheiten.data(), daten, einheiten.size() * 2);
    const QString utf16 = QString::fromStdU16String(einheiten);
    for (const QLocale& l : {Deutsch(), QLocale::c()}) {
        TextPruefen(utf8, l);
        TextPruefen(utf16, l);
    }
    if (groesse >= sizeof(double)) {
        double wert;
        std::memcpy(&wert, daten, sizeof wert);
        WertPruefen(wert);
    }
    return 0;
}
