#include "suite/services/Variants.h"

#include "suite/data/SuiteError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QMetaType>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool isNumeric(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isNullValue(const QVariant &value)
{
    return value.isValid() && value.isNull();
}

// Numbers in texts are read the way SQL literals are written (C locale) and,
// since users of a Spanish suite type them too, with a decimal comma.
bool parseNumber(const QString &text, double &number)
{
    bool ok = false;
    number = QLocale::c().toDouble(text, &ok);
    if (!ok) {
        QString comma = text;
        if (comma.count(u',') == 1 && !comma.contains(u'.')) {
            comma.replace(u',', u'.');
            number = QLocale::c().toDouble(comma, &ok);
        }
    }
    return ok;
}

QString numberText(double number)
{
    QString text = QString::number(number, 'g', 15);
    return text.toUpper(); // 1E+20, as the platform writes exponents
}

[[noreturn]] void throwNull()
{
    throw SuiteError(u"Uso no válido de Null"_s);
}

[[noreturn]] void throwMismatch(const QString &shown)
{
    throw SuiteError(u"No coinciden los tipos: \"%1\" no es un valor lógico"_s.arg(shown));
}

} // namespace

QString cStr(const QVariant &value)
{
    if (!value.isValid())
        return QString();
    if (isNullValue(value))
        throwNull();
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? u"Verdadero"_s : u"Falso"_s;
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::QDate:
        return value.toDate().toString(u"dd/MM/yyyy"_s);
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        if (stamp.time() == QTime(0, 0))
            return stamp.date().toString(u"dd/MM/yyyy"_s);
        return stamp.toString(u"dd/MM/yyyy HH:mm:ss"_s);
    }
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        break;
    }
    if (isNumeric(value))
        return value.toString();
    if (value.canConvert<QString>())
        return value.toString();
    throw SuiteError(u"No coinciden los tipos: el valor no se puede convertir a texto"_s);
}

bool cBool(const QVariant &value)
{
    if (!value.isValid())
        return false;
    if (isNullValue(value))
        throwNull();
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool();
    if (isNumeric(value))
        return value.toDouble() != 0.0;
    if (value.metaType().id() != QMetaType::QString && value.metaType().id() != QMetaType::QByteArray)
        throwMismatch(value.toString());

    const QString original = value.metaType().id() == QMetaType::QByteArray
                                 ? QString::fromUtf8(value.toByteArray())
                                 : value.toString();
    const QString text = original.trimmed();
    if (text.isEmpty())
        return false;

    static const QStringList yes{u"true"_s, u"verdadero"_s, u"si"_s, u"sí"_s};
    static const QStringList no{u"false"_s, u"falso"_s, u"no"_s};
    if (yes.contains(text, Qt::CaseInsensitive))
        return true;
    if (no.contains(text, Qt::CaseInsensitive))
        return false;

    double number = 0.0;
    if (parseNumber(text, number))
        return number != 0.0;
    throwMismatch(original);
}

} // namespace suite
