#pragma once

#include <QString>

namespace suite {

class Connection;

// Issues the next free numeric key of a table. The last number issued per
// table is kept in Clave_Siguiente, so no table is ever scanned: the next
// number is probed through the key's index, in every zero-padded width the key
// column can hold, and skipped while a row (typed in by hand) already has it.
// Runs inside the caller's transaction when one is open, so a rollback takes
// the counter back too; otherwise in a transaction of its own.
class KeyGenerator
{
public:
    explicit KeyGenerator(Connection &connection);

    int next(const QString &table, const QString &keyColumn);

private:
    qint64 issue(const QString &table, const QString &keyColumn);
    qint64 highestKey(const QString &table, const QString &keyColumn, bool numeric, int width);
    bool taken(const QString &table, const QString &keyColumn, bool numeric, int width, qint64 number);

    Connection &m_connection;
};

} // namespace suite
