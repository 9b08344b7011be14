#include "suite/data/DecimalText.h"

#include <QLocale>
#include <cmath>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The digits of a canonical number and where its point falls among them.
struct Parts
{
    bool negative = false;
    QString whole;
    QString fraction;
};

Parts split(const QString &canonical)
{
    Parts p;
    QStringView rest(canonical);
    if (rest.startsWith(u'-')) {
        p.negative = true;
        rest = rest.mid(1);
    }
    const qsizetype point = rest.indexOf(u'.');
    p.whole = (point < 0 ? rest : rest.left(point)).toString();
    p.fraction = point < 0 ? QString() : rest.mid(point + 1).toString();
    return p;
}

QString join(bool negative, const QString &whole, const QString &fraction)
{
    QString text = whole;
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    // canonical() strips the zeros and drops the sign of zero.
    return *DecimalText::canonical(QString(negative ? u"-"_s : QString()) + (text.isEmpty() ? u"0"_s : text));
}

} // namespace

std::optional<QString> DecimalText::canonical(QStringView plain)
{
    bool negative = false;
    if (plain.startsWith(u'-')) {
        negative = true;
        plain = plain.mid(1);
    }
    const qsizetype point = plain.indexOf(u'.');
    const QStringView whole = point < 0 ? plain : plain.left(point);
    const QStringView fraction = point < 0 ? QStringView() : plain.mid(point + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    for (const QStringView part : {whole, fraction}) {
        for (const QChar c : part) {
            if (!isAsciiDigit(c))
                return std::nullopt;
        }
    }
    qsizetype first = 0;
    while (first < whole.size() && whole.at(first) == u'0')
        ++first;
    qsizetype end = fraction.size();
    while (end > 0 && fraction.at(end - 1) == u'0')
        --end;
    QString digits = whole.mid(first).toString();
    if (digits.isEmpty())
        digits = u"0"_s;
    if (end > 0)
        digits += u'.' + fraction.left(end).toString();
    if (negative && digits != u"0"_s)
        digits.prepend(u'-');
    return digits;
}

std::optional<QString> DecimalText::fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // 'f' with the shortest precision writes every digit, never an exponent.
    return canonical(QString::number(value, 'f', QLocale::FloatingPointShortest));
}

std::optional<QString> DecimalText::fromVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::Int: case QMetaType::Short: case QMetaType::Long: case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::ULong: case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Double: case QMetaType::Float:
        return fromDouble(value.toDouble());
    case QMetaType::QString:
        return canonical(value.toString().trimmed());
    default:
        return std::nullopt;
    }
}

bool DecimalText::fitsDouble(const QString &canonical)
{
    bool ok = false;
    const double nearest = QLocale::c().toDouble(canonical, &ok);
    return ok && fromDouble(nearest) == canonical;
}

QVariant DecimalText::toVariant(const QString &canonical)
{
    return fitsDouble(canonical) ? QVariant(QLocale::c().toDouble(canonical)) : QVariant(canonical);
}

int DecimalText::wholeDigits(const QString &canonical)
{
    const Parts p = split(canonical);
    return p.whole == u"0"_s ? 0 : int(p.whole.size());
}

int DecimalText::decimals(const QString &canonical)
{
    return int(split(canonical).fraction.size());
}

int DecimalText::significantDigits(const QString &canonical)
{
    const Parts p = split(canonical);
    QString digits = p.whole + p.fraction;
    qsizetype first = 0;
    while (first < digits.size() && digits.at(first) == u'0')
        ++first;
    qsizetype end = digits.size();
    while (end > first && digits.at(end - 1) == u'0')
        --end;
    return int(end - first);
}

QString DecimalText::rounded(const QString &canonical, int decimals)
{
    const Parts p = split(canonical);
    if (p.fraction.size() <= decimals)
        return canonical;
    QString digits = p.whole + p.fraction.left(decimals);
    if (p.fraction.at(decimals) >= u'5') {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits.at(i) == u'9')
            digits[i--] = u'0';
        if (i < 0)
            digits.prepend(u'1');
        else
            digits[i] = QChar(digits.at(i).unicode() + 1);
    }
    const qsizetype wholeSize = digits.size() - decimals;
    return join(p.negative, digits.left(wholeSize), digits.mid(wholeSize));
}

QString DecimalText::shifted(const QString &canonical, int places)
{
    const Parts p = split(canonical);
    const QString digits = p.whole + p.fraction;
    const qsizetype point = p.whole.size() + places;
    if (point <= 0)
        return join(p.negative, u"0"_s, QString(-point, u'0') + digits);
    if (point >= digits.size())
        return join(p.negative, digits + QString(point - digits.size(), u'0'), QString());
    return join(p.negative, digits.left(point), digits.mid(point));
}

} // namespace suite
