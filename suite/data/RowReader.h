#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>

class QSqlQuery;
class QSqlRecord;

namespace suite {

class Dialect;

// Reads the current row of a query that ran as the suite hands rows over
// (Recordset): a NULL keeps a type, so isValid() tells it from a missing
// value; a number a double stands for exactly is a double, a longer one its
// exact text; every value as the dialect normalizes it.
class RowReader
{
public:
    RowReader(const Dialect &dialect, const QSqlRecord &record);

    const QStringList &columns() const { return m_columns; }
    QVector<QVariant> read(const QSqlQuery &query) const;

private:
    const Dialect &m_dialect;
    QStringList m_columns;
    QVector<bool> m_numeric;
};

} // namespace suite
