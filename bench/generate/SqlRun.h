#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QVariant>

namespace bench {

// Statements of the generator go to the driver as written: they are plain
// SQL both backends understand, or backend-specific on purpose, and need none
// of the screen's rewriting. Failures throw SuiteError with the database's
// text and the start of the statement.
class SqlRun
{
public:
    static qint64 exec(QSqlDatabase database, const QString &sql); // rows affected
    static QVariant scalar(QSqlDatabase database, const QString &sql);
    static qint64 count(QSqlDatabase database, const QString &table);
    // Every row, each column as text (NULL as an empty text).
    static QVector<QStringList> texts(QSqlDatabase database, const QString &sql);
};

} // namespace bench
