#include "suite/kit/KeyFormat.h"

namespace suite {

QString formatKey(const QString &key, const QString &pattern)
{
    const QString trimmed = key.trimmed();
    if (trimmed.isEmpty() || pattern.isEmpty())
        return key;
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return key;
    }
    // As a number: "0012" and "12" are the same key.
    qsizetype first = 0;
    while (first < trimmed.size() - 1 && trimmed.at(first) == QLatin1Char('0'))
        ++first;
    const QString digits = trimmed.mid(first);
    if (digits.size() >= pattern.size())
        return digits;
    return QString(pattern.size() - digits.size(), QLatin1Char('0')) + digits;
}

} // namespace suite
