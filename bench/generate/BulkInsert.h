#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace bench {

// Rows of one table written as multi-row INSERT statements of literal values,
// straight to the driver: one statement carries hundreds of rows. PostgreSQL
// saves a round trip per row; on SQLite too this beats one prepared statement
// per row with bound values, whose cost through Qt SQL is in the binding.
// Values are appended in column order; endRow() closes a row.
class BulkInsert
{
public:
    BulkInsert(QSqlDatabase database, const QString &table, const QStringList &columns,
               int rowsPerStatement = 400);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    BulkInsert &text(const QString &value);
    BulkInsert &integer(qint64 value);
    BulkInsert &cents(qint64 value);  // an amount kept in cents, written with two decimals
    BulkInsert &real(double value);
    BulkInsert &date(const QDate &value);                 // NULL when invalid
    BulkInsert &stamp(const QDate &day, int secondOfDay);  // NULL when the day is invalid
    BulkInsert &null();
    void endRow();

    void flush();
    qint64 rows() const { return m_written + m_pending; }

private:
    void separate();
    void digits(int value, int width);

    QSqlDatabase m_database;
    QString m_head;
    QString m_sql;
    int m_columns = 0;
    int m_rowsPerStatement = 0;
    int m_values = 0;
    int m_pending = 0;
    qint64 m_written = 0;
};

} // namespace bench
