#pragma once

namespace suite {
class Connection;
}

namespace bench {

// What makes a bulk load fast on each backend, and putting the database back
// the way the suite keeps it afterwards. During the load SQLite writes
// without waiting for the disk and keeps its rollback journal in memory, and
// PostgreSQL commits without waiting for its log: a failed run leaves a
// database to throw away, never a half-trusted one. The secondary indexes
// are dropped and built once at the end, from sorted data.
class BackendTuning
{
public:
    explicit BackendTuning(suite::Connection &connection);

    void forBulkLoad();
    int rebuildIndexes(); // how many
    void analyze();
    void restore();

private:
    suite::Connection &m_connection;
    bool m_sqlite;
};

} // namespace bench
