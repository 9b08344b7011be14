#pragma once

#include <QString>

class QSqlError;

namespace suite {

// What a user can make of a database's failure: a sentence that says what
// happened and what to do, before the database's own words (which support
// needs). The refusals a clerk meets every day (a repeated value, a busy
// row) and the faults of the machine (a lost link, a full disk, a file that
// takes no writes, a damaged file) each get theirs.
class DatabaseFault
{
public:
    // The text of a failed statement on backend ("sqlite", "postgresql").
    // linkLost: the link was found closed after it, whatever the driver said.
    static QString describe(const QSqlError &error, const QString &backend, bool linkLost = false);
    // Another session holds the lock a SQLite statement needed.
    static bool isBusy(const QSqlError &error);

    // The link to the server went away (a restart, a network cut).
    static QString linkLost();
    // The database could not be opened (the server is not there, the file
    // cannot be opened).
    static QString cannotOpen(const QSqlError &error, const QString &backend);
    // A lost link that could not be opened again, for reason.
    static QString cannotReconnect(const QString &reason);
    // Another program kept the database locked for longer than the wait.
    static QString lockedAtStart(int waitSeconds);
};

} // namespace suite
