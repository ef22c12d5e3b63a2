// SPDX-License-Identifier: GPL-3.0-or-later
#include "koerper.h"

#include <bit>

void Koerper::NameSetzen(const QString& text)
{
    const qsizetype n = std::min<qsizetype>(text.size(), Name.size());
    for (qsizetype i = 0; i < n; ++i)
        Name[size_t(i)] = text.at(i).unicode();
    for (size_t i = size_t(n); i < Name.size(); ++i)
        Name[i] = u' ';
}

QString Koerper::NameText() const
{
    return QString(reinterpret_cast<const QChar*>(Name.data()), qsizetype(Name.size()));
}

bool BitGleich(const Koerper& a, const Koerper& b)
{
    const auto bits = [](double d) { return std::bit_cast<uint64_t>(d); };
    return a.Name == b.Name && bits(a.Masse) == bits(b.Masse) && bits(a.X) == bits(b.X) && bits(a.Y) == bits(b.Y)
        && bits(a.Geschwindigkeit) == bits(b.Geschwindigkeit) && bits(a.Richtung) == bits(b.Richtung)
        && a.Farbe == b.Farbe;
}
