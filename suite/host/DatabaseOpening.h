#pragma once

#include "suite/host/HostOptions.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace suite {

class Connection;

// How the host opens the database it shows the screen on. Every refusal
// throws SuiteError with what happened and what to do.
class DatabaseOpening
{
public:
    // A statement of the screen that runs longer than this is cancelled,
    // so the window never freezes for good on a server.
    static constexpr int StatementSeconds = 30;

    // The options' database, or the demo database in the user's data folder.
    static QString urlOf(const HostOptions &options);

    // A sqlite: file that is not there is refused, unless mayCreate (--init-db):
    // a mistyped path would otherwise become a new, empty database.
    static void refuseMissingFile(const QString &url, bool mayCreate);

    // For the screen. The demo database is made on first use, its schema and
    // demo data in one transaction, so that a second host starting at the
    // same moment waits for the first and finds it made; an older database
    // gets the columns the screen now relies on; one without the suite's
    // tables is refused. A database that takes no writes is opened all the
    // same, for looking up only (Connection::writeRefusal). What the upgrade
    // left undone goes to standard error and into notices.
    static std::unique_ptr<Connection> openForScreen(const HostOptions &options, QStringList &notices);
};

} // namespace suite
