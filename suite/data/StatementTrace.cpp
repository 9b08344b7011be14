#include "suite/data/StatementTrace.h"

#include "suite/data/Connection.h"

#include <QFile>
#include <QString>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

StatementTrace *StatementTrace::attachIfRequested(Connection &connection)
{
    const QString target = qEnvironmentVariable("TALVEXOR_SQL_TRACE");
    if (target.isEmpty() || target == u"0"_s)
        return nullptr;
    return new StatementTrace(connection, target);
}

StatementTrace::StatementTrace(Connection &connection, const QString &target)
    : QObject(&connection)
{
    auto *file = new QFile(this);
    if (target == u"1"_s) {
        file->open(stderr, QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered);
    } else {
        file->setFileName(target);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            // A trace that cannot be written must not stop the suite; say so once.
            std::fprintf(stderr, "TALVEXOR_SQL_TRACE: %s\n", qPrintable(file->errorString()));
            return;
        }
    }
    m_device = file;
    connect(&connection, &Connection::statementExecuted, this, &StatementTrace::write);
}

StatementTrace::~StatementTrace() = default;

QString StatementTrace::formatLine(const QString &statement, qint64 microseconds)
{
    QString oneLine = statement.simplified();
    return u"[sql %1 us] %2\n"_s.arg(microseconds, 8).arg(oneLine);
}

void StatementTrace::write(const QString &statement, qint64 microseconds)
{
    m_device->write(formatLine(statement, microseconds).toUtf8());
    if (auto *file = qobject_cast<QFile *>(m_device))
        file->flush();
}

} // namespace suite
