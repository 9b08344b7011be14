#include "suite/kit/NumberFormat.h"

#include <QLocale>
#include <cmath>

namespace suite {

NumberFormat::NumberFormat(const QString &pattern)
    : m_pattern(pattern)
{
    // Prefix: whatever comes before the first digit placeholder.
    qsizetype i = 0;
    while (i < pattern.size() && pattern.at(i) != QLatin1Char('#') && pattern.at(i) != QLatin1Char('0')
           && pattern.at(i) != QLatin1Char('.') && pattern.at(i) != QLatin1Char(','))
        ++i;
    m_prefix = pattern.left(i);
    const QString body = pattern.mid(i);
    m_percent = body.endsWith(QLatin1Char('%'));
    m_grouping = body.contains(QLatin1Char(','));
    const qsizetype point = body.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        for (qsizetype j = point + 1; j < body.size(); ++j) {
            const QChar c = body.at(j);
            if (c == QLatin1Char('0')) {
                ++m_minDecimals;
                ++m_maxDecimals;
            } else if (c == QLatin1Char('#')) {
                ++m_maxDecimals;
            } else {
                break;
            }
        }
    }
}

QString NumberFormat::format(double value) const
{
    double shown = m_percent ? value * 100.0 : value;
    if (!std::isfinite(shown))
        shown = 0;
    QLocale c(QLocale::C);
    c.setNumberOptions(m_grouping ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    QString text = c.toString(shown, 'f', m_maxDecimals);
    if (m_maxDecimals > m_minDecimals) {
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        qsizetype keep = text.size();
        const qsizetype minimum = point + 1 + m_minDecimals;
        while (keep > minimum && text.at(keep - 1) == QLatin1Char('0'))
            --keep;
        if (keep == point + 1)
            keep = point;   // no decimals left: no point either
        text.truncate(keep);
    }
    if (text.startsWith(QLatin1Char('-'))) {
        // "-0.00" reads oddly; a rounded-away negative is zero.
        bool allZero = true;
        for (qsizetype j = 1; j < text.size(); ++j) {
            const QChar ch = text.at(j);
            if (ch.isDigit() && ch != QLatin1Char('0'))
                allZero = false;
        }
        if (allZero)
            text.remove(0, 1);
        else
            return QLatin1Char('-') + m_prefix + text.mid(1) + (m_percent ? QStringLiteral("%") : QString());
    }
    return m_prefix + text + (m_percent ? QStringLiteral("%") : QString());
}

std::optional<double> NumberFormat::parse(const QString &text) const
{
    QString t = text.trimmed();
    if (!m_prefix.isEmpty())
        t.remove(m_prefix);
    t.remove(QLatin1Char(','));
    t.remove(QLatin1Char(' '));
    bool percent = false;
    if (t.endsWith(QLatin1Char('%'))) {
        percent = true;
        t.chop(1);
    }
    if (t.isEmpty() || t == QLatin1String("-"))
        return 0.0;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    // A ratio shown as percent is read back as the ratio, typed with or
    // without the sign.
    if (m_percent || percent)
        return number / 100.0;
    return number;
}

} // namespace suite
