#include "assets/SqlLiteral.h"

#include "suite/data/DecimalText.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

#include <QLocale>
#include <cmath>

using namespace Qt::StringLiterals;

namespace xb733::SqlLiteral {

namespace {

double toNumber(const QVariant &value, bool *ok)
{
    if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed();
        return QLocale::c().toDouble(t, ok);
    }
    return value.toDouble(ok);
}

} // namespace

QString text(const QString &value)
{
    return u"'"_s + suite::sqlEscape(value) + u"'"_s;
}

QString inner(const QString &value)
{
    return suite::sqlEscape(value);
}

QString number(const QVariant &value)
{
    const std::optional<QString> exact = suite::DecimalText::fromVariant(value);
    if (!exact)
        throw suite::SuiteError(u"No coinciden los tipos: '%1' no es un número"_s.arg(value.toString()));
    return *exact;
}

QString orNull(const QVariant &value, QString (*literal)(const QVariant &))
{
    return value.isValid() && value.isNull() ? u"NULL"_s : literal(value);
}

QString integer16(const QVariant &value)
{
    bool ok = false;
    const double n = toNumber(value, &ok);
    if (!ok || !std::isfinite(n))
        throw suite::SuiteError(u"No coinciden los tipos: '%1' no es un número entero"_s.arg(value.toString()));
    // Halves go to the even neighbour, as the platform's integer conversion does.
    const double rounded = std::nearbyint(n);
    if (rounded < -32768 || rounded > 32767)
        throw suite::SuiteError(u"Desbordamiento: %1 no cabe en un entero de 16 bits (-32768 a 32767)"_s
                                    .arg(value.toString()));
    return QString::number(int(rounded));
}

} // namespace xb733::SqlLiteral
