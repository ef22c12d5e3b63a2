#include "koerper.h"

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
