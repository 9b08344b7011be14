#include "bench/generate/SqlRun.h"

#include "suite/data/SuiteError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

[[noreturn]] void fail(const QSqlQuery &query, const QString &sql)
{
    const QSqlError error = query.lastError();
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    throw suite::SuiteError(text.trimmed() + u" (in: "_s + sql.left(160).simplified() + u" ...)"_s);
}

} // namespace

qint64 SqlRun::exec(QSqlDatabase database, const QString &sql)
{
    QSqlQuery query(database);
    if (!query.exec(sql))
        fail(query, sql);
    return query.numRowsAffected();
}

QVariant SqlRun::scalar(QSqlDatabase database, const QString &sql)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        fail(query, sql);
    return query.next() ? query.value(0) : QVariant();
}

qint64 SqlRun::count(QSqlDatabase database, const QString &table)
{
    return scalar(database, u"SELECT COUNT(*) FROM "_s + table).toLongLong();
}

QVector<QStringList> SqlRun::texts(QSqlDatabase database, const QString &sql)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        fail(query, sql);
    QVector<QStringList> rows;
    const int columns = query.record().count();
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i).toString());
        rows.append(row);
    }
    return rows;
}

} // namespace bench
