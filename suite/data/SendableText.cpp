#include "suite/data/SendableText.h"

#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

void refuseUnsendable(const QString &statement)
{
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c.isNull())
            throw SuiteError(u"El texto tiene un carácter nulo (U+0000), que la base de datos no puede guardar."_s);
        if (c.isHighSurrogate() && i + 1 < statement.size() && statement.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            throw SuiteError(u"El texto tiene medio carácter (U+%1 sin su pareja), que la base de datos no puede "
                             "guardar."_s.arg(QString::number(c.unicode(), 16).toUpper()));
        }
    }
}

} // namespace suite
