#include "bench/generate/BackendTuning.h"

#include "bench/generate/SqlRun.h"
#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"

using namespace Qt::StringLiterals;

namespace bench {

BackendTuning::BackendTuning(suite::Connection &connection)
    : m_connection(connection)
    , m_sqlite(connection.backend() == u"sqlite"_s)
{
}

void BackendTuning::forBulkLoad()
{
    const QSqlDatabase db = m_connection.database();
    if (m_sqlite) {
        SqlRun::exec(db, u"PRAGMA journal_mode = MEMORY"_s);
        SqlRun::exec(db, u"PRAGMA synchronous = OFF"_s);
        SqlRun::exec(db, u"PRAGMA cache_size = -524288"_s); // 512 MB
        SqlRun::exec(db, u"PRAGMA temp_store = MEMORY"_s);
    } else {
        SqlRun::exec(db, u"SET synchronous_commit = off"_s);
        // Must precede the first temporary table of the session.
        SqlRun::exec(db, u"SET temp_buffers = '256MB'"_s);
        SqlRun::exec(db, u"SET maintenance_work_mem = '512MB'"_s);
    }
    for (const suite::IndexDef &index : suite::Schema::indexes())
        SqlRun::exec(db, u"DROP INDEX IF EXISTS "_s + index.name);
    for (const suite::SearchIndexDef &index : suite::Schema::searchIndexes()) {
        for (const QString &statement : m_connection.dialect().dropSearchIndexSql(index))
            SqlRun::exec(db, statement);
    }
}

// The schema creates whatever index is missing, search indexes included.
int BackendTuning::rebuildIndexes()
{
    suite::Schema::create(m_connection);
    return int(suite::Schema::indexes().size() + suite::Schema::searchIndexes().size());
}

void BackendTuning::analyze()
{
    SqlRun::exec(m_connection.database(), u"ANALYZE"_s);
}

// The journal mode is kept in the file; the rest lasts only for this
// connection.
void BackendTuning::restore()
{
    if (m_sqlite)
        SqlRun::exec(m_connection.database(), u"PRAGMA journal_mode = WAL"_s);
}

} // namespace bench
