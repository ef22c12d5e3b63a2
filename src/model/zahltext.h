// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number text: the program's one conversion between doubles and text.
//
// Writing follows the general number format: at most 15 significant digits,
// the locale's decimal separator, no group separators, no trailing zeros, and
// exponent form ("2,5E+30", "1E-05") when the decimal exponent is 15 or more
// or below -4. Reading accepts what writing produces (also a lowercase e and
// surrounding blanks) and nothing else: no group separators, no infinities or
// NaN, nothing beyond the double range.

#include <QLocale>
#include <QString>
#include <optional>

QString ZahlZuText(double wert, const QLocale& locale = QLocale());
// As ZahlZuText, with as many more digits (up to 17) as it takes to read
// back as exactly this double: for values the user is offered to keep.
QString GenauZuText(double wert, const QLocale& locale = QLocale());
// For reading only, not for reading back: `stellen` significant digits (1 to 17).
QString KurzZuText(double wert, int stellen, const QLocale& locale = QLocale());
std::optional<double> TextZuZahl(const QString& text, const QLocale& locale = QLocale());
