#include "suite/kit/NumberFormat.h"

#include "suite/data/DecimalText.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

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
    return formatDecimal(DecimalText::fromDouble(value).value_or(u"0"_s));
}

QString NumberFormat::formatDecimal(const QString &canonical) const
{
    const QString shown = DecimalText::rounded(m_percent ? DecimalText::shifted(canonical, 2) : canonical,
                                               m_maxDecimals);
    // A value rounded away to nothing shows no minus sign.
    const bool negative = DecimalText::isNegative(shown);
    const QString digits = negative ? shown.mid(1) : shown;
    const qsizetype point = digits.indexOf(u'.');
    QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    while (fraction.size() < m_minDecimals)
        fraction += u'0';
    if (m_grouping) {
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, u',');
    }
    return (negative ? u"-"_s : QString()) + m_prefix + whole + (fraction.isEmpty() ? QString() : u'.' + fraction)
           + (m_percent ? u"%"_s : QString());
}

QString NumberFormat::plain(const QString &canonical) const
{
    return m_percent ? DecimalText::shifted(canonical, 2) + u'%' : canonical;
}

std::optional<QString> NumberFormat::read(const QString &text) const
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return QString();
    const bool negative = t.startsWith(u'-');
    if (negative)
        t.remove(0, 1);
    if (!m_prefix.isEmpty() && t.startsWith(m_prefix))
        t.remove(0, m_prefix.size());
    if (t.endsWith(u'%')) {
        if (!m_percent)
            return std::nullopt;
        t.chop(1);
    }
    if (t.contains(u'-'))
        return std::nullopt; // one minus, before everything else
    const qsizetype point = t.indexOf(u'.');
    QString whole = point < 0 ? t : t.left(point);
    const QString fraction = point < 0 ? QString() : t.mid(point);
    // Commas group the whole digits by thousands, and nothing else.
    static const QRegularExpression grouped(u"^[0-9]{1,3}(,[0-9]{3})+$"_s);
    if (whole.contains(u',')) {
        if (!grouped.match(whole).hasMatch())
            return std::nullopt;
        whole.remove(u',');
    }
    const std::optional<QString> value = DecimalText::canonical((negative ? u"-"_s : QString()) + whole + fraction);
    if (!value || !m_percent)
        return value;
    return DecimalText::shifted(*value, -2);
}

} // namespace suite
