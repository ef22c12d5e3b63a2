// SPDX-License-Identifier: GPL-3.0-or-later
#include "zahltext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace {

QString Dezimaltrenner(const QLocale& locale)
{
    const QString d = locale.decimalPoint();
    return d.isEmpty() ? QStringLiteral(".") : d;
}

}  // namespace

namespace {

// The general number format with `stellen` significant digits; exponent form
// from 10^stellen on and below 10^-4.
QString Allgemein(double wert, int stellen, const QLocale& locale)
{
    if (std::isnan(wert))
        return QStringLiteral("NaN");
    if (std::isinf(wert))
        return wert > 0 ? QStringLiteral("Unendlich") : QStringLiteral("-Unendlich");
    if (wert == 0.0)
        return QStringLiteral("0");

    // Round to the significant digits once: d.dddddddddddddde±x.
    char puffer[40];
    const auto ende =
        std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::scientific, stellen - 1).ptr;
    const std::string_view s(puffer, size_t(ende - puffer));
    const size_t ePos = s.find('e');
    int exponent = 0;
    const char* e = s.data() + ePos + 1;
    std::from_chars(e + (*e == '+' ? 1 : 0), s.data() + s.size(), exponent);
    const bool negativ = s[0] == '-';
    std::string ziffern;
    for (size_t i = negativ ? 1 : 0; i < ePos; ++i)
        if (s[i] != '.')
            ziffern += s[i];
    while (ziffern.size() > 1 && ziffern.back() == '0')
        ziffern.pop_back();

    const QString trenner = Dezimaltrenner(locale);
    QString text = negativ ? QStringLiteral("-") : QString();
    if (exponent >= stellen || exponent < -4) {
        text += QChar(ziffern[0]);
        if (ziffern.size() > 1)
            text += trenner + QString::fromLatin1(ziffern.data() + 1, qsizetype(ziffern.size() - 1));
        text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        text += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        text += QStringLiteral("0") + trenner + QString(-exponent - 1, QLatin1Char('0'))
              + QString::fromLatin1(ziffern.data(), qsizetype(ziffern.size()));
    } else {
        const size_t ganz = size_t(exponent) + 1;
        if (ziffern.size() <= ganz) {
            text += QString::fromLatin1(ziffern.data(), qsizetype(ziffern.size()))
                  + QString(qsizetype(ganz - ziffern.size()), QLatin1Char('0'));
        } else {
            text += QString::fromLatin1(ziffern.data(), qsizetype(ganz)) + trenner
                  + QString::fromLatin1(ziffern.data() + ganz, qsizetype(ziffern.size() - ganz));
        }
    }
    return text;
}

}  // namespace

QString ZahlZuText(double wert, const QLocale& locale)
{
    return Allgemein(wert, 15, locale);
}

QString GenauZuText(double wert, const QLocale& locale)
{
    for (int stellen = 15; stellen < 17; ++stellen) {
        const QString text = Allgemein(wert, stellen, locale);
        const std::optional<double> zurueck = TextZuZahl(text, locale);
        if (zurueck && std::memcmp(&*zurueck, &wert, sizeof wert) == 0)
            return text;
    }
    return Allgemein(wert, 17, locale);
}

QString KurzZuText(double wert, int stellen, const QLocale& locale)
{
    return Allgemein(wert, std::clamp(stellen, 1, 17), locale);
}

std::optional<double> TextZuZahl(const QString& text, const QLocale& locale)
{
    const QString t = text.trimmed();
    const QString trenner = Dezimaltrenner(locale);

    // Build a plain C-form number while checking the shape:
    // [sign] digits [sep digits] [(e|E) [sign] digits], at least one mantissa digit.
    std::string c;
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        c += char(t[i++].unicode());
    int mantissenZiffern = 0;
    while (i < n && t[i] >= u'0' && t[i] <= u'9') {
        c += char(t[i++].unicode());
        ++mantissenZiffern;
    }
    if (i < n && t.mid(i, trenner.size()) == trenner) {
        i += trenner.size();
        c += '.';
        while (i < n && t[i] >= u'0' && t[i] <= u'9') {
            c += char(t[i++].unicode());
            ++mantissenZiffern;
        }
    }
    if (mantissenZiffern == 0)
        return std::nullopt;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        c += 'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            c += char(t[i++].unicode());
        int exponentZiffern = 0;
        while (i < n && t[i] >= u'0' && t[i] <= u'9') {
            c += char(t[i++].unicode());
            ++exponentZiffern;
        }
        if (exponentZiffern == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    const char* anfang = c.data();
    if (*anfang == '+')
        ++anfang;
    const char* const schluss = c.data() + c.size();
    double wert = 0.0;
    auto [ende, fehler] = std::from_chars(anfang, schluss, wert);
    if (fehler == std::errc::result_out_of_range) {
        // Too large is refused; too small (subnormal or below) is taken as
        // the nearest double, so tiny values read from a file can be shown
        // and read back.
        long double weit = 0.0L;
        const auto r = std::from_chars(anfang, schluss, weit);
        if (r.ec != std::errc())
            return std::nullopt;
        // The largest double shows as 1,79769313486232E+308, a little above
        // it: take that text as the largest double, so it reads back.
        constexpr long double GroessterText = 1.79769313486232e308L;
        if (std::fabs(weit) > GroessterText)
            return std::nullopt;
        wert = std::fabs(weit) >= 1.0L ? std::copysign(std::numeric_limits<double>::max(), double(weit))
                                       : double(weit);
        ende = r.ptr;
        fehler = r.ec;
    }
    if (fehler != std::errc() || ende != schluss || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}
