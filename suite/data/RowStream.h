#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

class QSqlQuery;

namespace suite {

class Connection;
class Dialect;

// The rows of one SELECT read forward as the database hands them over, a
// batch at a time, so a read of any size holds only a few rows in memory
// (a Recordset copies them all). Values come as a Recordset gives them.
// Other statements may run on the connection while it is open. Made by
// Connection::stream.
class RowStream
{
public:
    using Rows = QVector<QVector<QVariant>>;
    using Fetch = std::function<Rows()>; // the next rows; none at the end

    RowStream(QStringList columns, Rows first, Fetch fetch, std::function<void()> close = {});
    ~RowStream();

    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // case-insensitive; -1 when none

    // Moves to the next row (the first, the first time); false at the end.
    bool next();
    const QVariant &value(int column) const; // of the current row

    // Ends the read early; the stream then reports no more rows.
    void close();

    // SQLite steps through the rows of a query that ran as they are asked for.
    static std::unique_ptr<RowStream> fromQuery(std::shared_ptr<QSqlQuery> query, const Dialect &dialect);
    // PostgreSQL would send every row at once: a cursor declared in the open
    // transaction hands them over a batch at a time.
    static std::unique_ptr<RowStream> throughCursor(Connection &connection, const QString &statement);

private:
    QStringList m_columns;
    Rows m_batch;
    qsizetype m_position = -1;
    Fetch m_fetch;
    std::function<void()> m_close;
    bool m_ended = false;
};

} // namespace suite
