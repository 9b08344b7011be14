#include "suite/host/DatabaseOpening.h"

#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

bool hasAssets(Connection &connection)
{
    const RecordsetPtr count = connection.Execute(u"SELECT COUNT(*) AS n FROM Activo_Fijo"_s);
    return !count->Eof() && count->Fields(u"n"_s).toLongLong() > 0;
}

} // namespace

QString DatabaseOpening::urlOf(const HostOptions &options)
{
    return options.databaseUrl.isEmpty() ? u"sqlite:"_s + HostOptions::defaultDatabaseFile() : options.databaseUrl;
}

void DatabaseOpening::refuseMissingFile(const QString &url, bool mayCreate)
{
    if (mayCreate || !url.startsWith(u"sqlite:"_s))
        return;
    const QString path = url.mid(7);
    if (path.isEmpty() || path == u":memory:"_s || QFileInfo::exists(path))
        return;
    throw SuiteError(u"el archivo %1 no existe. Revise la ruta; para crear ahí una base de datos nueva, use "
                     "--init-db."_s.arg(QFileInfo(path).absoluteFilePath()));
}

std::unique_ptr<Connection> DatabaseOpening::openForScreen(const HostOptions &options, QStringList &notices)
{
    const bool demo = options.databaseUrl.isEmpty();
    const QString url = urlOf(options);
    if (demo)
        QDir().mkpath(QFileInfo(HostOptions::defaultDatabaseFile()).absolutePath());
    else
        refuseMissingFile(url, false);
    std::unique_ptr<Connection> connection = Connection::open(url);

    if (connection->writeRefusal().isEmpty() && (demo || Schema::needsUpgrade(*connection))) {
        // A second host waits here (SQLite's write lock) and then finds it all done.
        TransactionGuard transaction(*connection);
        // What the schema leaves for later (rows clashing with a unique index) is said, not failed on.
        notices = Schema::create(*connection);
        for (const QString &notice : std::as_const(notices))
            std::fprintf(stderr, "talvexor: aviso: %s\n", notice.toUtf8().constData());
        if (demo && !hasAssets(*connection))
            DemoData::load(*connection);
        transaction.commit();
    }
    if (!connection->tableExists(u"Activo_Fijo"_s)) {
        throw SuiteError(u"no tiene las tablas de Talvexor. Si es nueva, prepárela con talvexor --db %1 "
                         "--init-db."_s.arg(url));
    }
    connection->setStatementTimeout(StatementSeconds);
    return connection;
}

} // namespace suite
