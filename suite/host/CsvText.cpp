#include "suite/host/CsvText.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool startsFormula(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

} // namespace

QString CsvText::field(const QString &value, QChar separator)
{
    const bool blankEnd = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool quote = value.contains(separator) || value.contains(u'"') || value.contains(u'\n')
                       || value.contains(u'\r') || blankEnd;
    if (!quote)
        return value;
    QString out = value;
    out.replace(u"\""_s, u"\"\""_s);
    return u'"' + out + u'"';
}

QString CsvText::line(const QStringList &values, QChar separator)
{
    QString out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(separator);
        out.append(field(values.at(i), separator));
    }
    return out;
}

QString CsvText::guarded(const QString &text)
{
    if (!text.isEmpty() && (startsFormula(text.front()) || text.front() == u'\''))
        return u'\'' + text;
    return text;
}

QString CsvText::unguarded(const QString &text)
{
    if (text.size() >= 2 && text.front() == u'\'' && (startsFormula(text.at(1)) || text.at(1) == u'\''))
        return text.mid(1);
    return text;
}

} // namespace suite
