#pragma once

#include "bench/commands/Samples.h"

#include <QString>

namespace bench {

// Sends a command's statements again, alone, the way the database's own
// tools do: on SQLite through libsqlite3 by bench_floor (the sqlite3 shell's
// timer has whole milliseconds only), on PostgreSQL through psql with its
// \timing. Each replay's untimed statements undo what the command wrote
// around it, so the database ends as the benchmark left it.
class StatementFloor
{
public:
    // floorTool: the bench_floor executable (SQLite only).
    StatementFloor(QString url, QString floorTool);

    // The milliseconds of every replay's timed statements; throws
    // suite::SuiteError when a statement fails or the tool cannot run.
    QList<double> time(const QList<Replay> &replays) const;

private:
    QList<double> timeSqlite(const QList<Replay> &replays) const;
    QList<double> timePostgres(const QList<Replay> &replays) const;

    QString m_url;
    QString m_floorTool;
};

} // namespace bench
