#include "suite/host/KeyList.h"

#include "suite/data/SuiteError.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace suite {

QStringList KeyList::read(const QString &file)
{
    QFile input;
    const bool opened = file == u"-"_s ? input.open(stdin, QIODevice::ReadOnly)
                                       : (input.setFileName(file), input.open(QIODevice::ReadOnly));
    if (!opened)
        throw SuiteError(u"No se pudo leer la lista de claves %1: %2"_s.arg(file, input.errorString()));
    QStringList keys;
    while (!input.atEnd()) {
        const QString key = QString::fromUtf8(input.readLine()).trimmed();
        if (!key.isEmpty())
            keys << key;
    }
    return keys;
}

} // namespace suite
