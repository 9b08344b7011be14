#include "suite/data/Connection.h"

#include "suite/data/DatabaseFault.h"
#include "suite/data/Dialect.h"
#include "suite/data/RowReader.h"
#include "suite/data/RowStream.h"
#include "suite/data/SendableText.h"
#include "suite/data/StatementFault.h"
#include "suite/data/StatementTrace.h"
#include "suite/data/SuiteError.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUrl>
#include <atomic>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

std::atomic<int> connectionCounter{0};

// A statement that only reads, or the one that begins a transaction: run
// again after the server ended the session, it does what it would have done.
bool runsAgainSafely(const QString &statement, const Dialect &dialect)
{
    const QString head = statement.trimmed();
    return head.startsWith(u"SELECT"_s, Qt::CaseInsensitive) || head == dialect.beginSql()
           || head == dialect.beginReadSql();
}

// A folder SQLite cannot make its -wal and -shm files in, with no changes
// waiting in a -wal file there: the file alone is the whole database, read
// as it stands and never written (the write refusal says so). Changes in a
// -wal are read through it, as SQLite does when its files are there.
bool readAsItStands(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() && ::access(QFile::encodeName(file.absolutePath()).constData(), W_OK | X_OK) != 0
           && QFileInfo(path + u"-wal"_s).size() == 0;
}

} // namespace

struct Connection::Private
{
    QString name;
    QString url;
    QSqlDatabase db;
    std::unique_ptr<Dialect> dialect;
    // Open transactions, outermost first: units (BeginUnit) and at most one
    // command's (BeginTrans), innermost. The outermost is the database's
    // transaction, every other a savepoint inside it.
    enum class Level { Unit, Command };
    QVector<Level> levels;
    StatementFault fault;
    bool struck = false; // the last failure was an armed fault's
    QString writeRefusal;
    int statementTimeout = 0;

    // counted: one of the caller's statements, which an armed fault may strike.
    // fetch reads the rows of a statement that ran: the database finds most
    // of them only as they are read, so their time is the statement's too.
    template<typename Fetch>
    void run(Connection *self, const QString &statement, QSqlQuery &query, bool counted, Fetch &&fetch)
    {
        struck = false;
        if (counted && fault.strikes(statement))
            strike(self);
        QElapsedTimer timer;
        timer.start();
        const bool ok = query.exec(statement);
        if (ok)
            fetch();
        Q_EMIT self->statementExecuted(statement, timer.nsecsElapsed() / 1000);
        if (!ok)
            throw SuiteError(DatabaseFault::describe(query.lastError(), dialect->backend(), !db.isOpen()));
    }

    void run(Connection *self, const QString &statement, QSqlQuery &query, bool counted)
    {
        run(self, statement, query, counted, [] {});
    }

    void runPlain(Connection *self, const QString &statement, bool counted)
    {
        QSqlQuery query(db);
        run(self, statement, query, counted);
    }

    RecordsetPtr execute(Connection *self, const QString &statement, int *recordsAffected, bool counted)
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        // NUMERIC values as the text the server writes, every digit of it; Qt
        // would hand them over as doubles.
        query.setNumericalPrecisionPolicy(QSql::HighPrecision);
        QStringList columns;
        QVector<QVector<QVariant>> rows;
        run(self, statement, query, counted, [&] {
            if (!query.isSelect())
                return;
            const RowReader reader(*dialect, query.record());
            columns = reader.columns();
            while (query.next())
                rows.append(reader.read(query));
        });

        if (recordsAffected)
            *recordsAffected = query.numRowsAffected();
        if (!query.isSelect())
            return std::make_shared<Recordset>();
        if (query.lastError().isValid())
            throw SuiteError(DatabaseFault::describe(query.lastError(), dialect->backend(), !db.isOpen()));
        return std::make_shared<Recordset>(std::move(columns), std::move(rows));
    }

    // The server ended the session (a restart, a network cut) under a
    // statement that is safe to run again on a new one; a simulated loss is
    // left to the caller, as a test arms it.
    bool runsAgain(const QString &statement) const
    {
        return !struck && levels.isEmpty() && !db.isOpen() && runsAgainSafely(statement, *dialect);
    }

    [[noreturn]] void strike(Connection *self)
    {
        struck = true;
        const QString text = fault.text();
        if (fault.kind() == StatementFault::Kind::LoseLink)
            db.close(); // SQLite drops the open transaction; PostgreSQL's server aborts it
        Q_EMIT self->faultFired(fault.struckNumber(), fault.struckStatement());
        throw SuiteError(text);
    }

    // A new file takes WAL mode (readers then never wait for a writer). The
    // switch needs the file to itself: when another host is making the same
    // new database it is tried again until the wait runs out.
    void switchToWal()
    {
        const QDeadlineTimer deadline(LockWaitSeconds * 1000);
        for (;;) {
            QSqlQuery query(db);
            if (query.exec(u"PRAGMA journal_mode=WAL"_s))
                return;
            const QSqlError error = query.lastError();
            if (!DatabaseFault::isBusy(error))
                throw SuiteError(DatabaseFault::describe(error, dialect->backend()));
            if (deadline.hasExpired())
                throw SuiteError(DatabaseFault::lockedAtStart(LockWaitSeconds) + u'\n' + error.databaseText());
            QThread::msleep(20);
        }
    }

    // Opens the database and makes it what the suite expects; a link that
    // opened but could not be prepared is closed again, so the next attempt
    // starts over.
    void openLink(Connection *self)
    {
        if (!db.open())
            throw SuiteError(DatabaseFault::cannotOpen(db.lastError(), dialect->backend()));
        try {
            dialect->prepare(db);
            writeRefusal = dialect->writeRefusal(db);
            if (dialect->backend() == u"sqlite"_s && db.databaseName() != u":memory:"_s && writeRefusal.isEmpty())
                switchToWal();
            for (const QString &setting : dialect->sessionSql(LockWaitSeconds))
                runPlain(self, setting, false);
            if (statementTimeout > 0 && !dialect->statementTimeoutSql(statementTimeout).isEmpty())
                runPlain(self, dialect->statementTimeoutSql(statementTimeout), false);
        } catch (...) {
            db.close();
            throw;
        }
    }

    bool commandOpen() const { return !levels.isEmpty() && levels.last() == Level::Command; }
    static QString savepoint(qsizetype depth) { return u"talvexor_%1"_s.arg(depth); }

    void open(Connection *self, Level level, bool readOnly)
    {
        ensureLink(self);
        if (!levels.isEmpty()) {
            runPlain(self, u"SAVEPOINT "_s + savepoint(levels.size() + 1), true);
            levels.append(level);
            return;
        }
        const QString begin = readOnly ? dialect->beginReadSql() : dialect->beginSql();
        try {
            runPlain(self, begin, true);
        } catch (const SuiteError &) {
            if (!runsAgain(begin))
                throw;
            ensureLink(self);
            runPlain(self, begin, false);
        }
        levels.append(level);
    }

    void close(Connection *self, bool commit)
    {
        const QString name = savepoint(levels.size());
        const bool outermost = levels.size() == 1;
        levels.removeLast();
        try {
            if (outermost && commit) {
                ensureLink(self);
                runPlain(self, dialect->commitSql(), true);
            } else if (commit) {
                runPlain(self, u"RELEASE SAVEPOINT "_s + name, true);
            } else if (outermost && db.isOpen()) { // a lost link took the transaction with it
                runPlain(self, dialect->rollbackSql(), false);
            }
        } catch (...) {
            // A failed commit leaves nothing of its level: undone, so the connection
            // (or the enclosing transaction) stays usable; then the database's text.
            if (outermost)
                levels.clear();
            undo(outermost, name);
            throw;
        }
        if (!outermost && !commit)
            undo(false, name);
    }

    // Back to before the transaction, or to where the savepoint was taken
    // (the enclosing transaction goes on).
    void undo(bool outermost, const QString &name)
    {
        if (!db.isOpen())
            return;
        QSqlQuery query(db);
        query.exec(outermost ? dialect->rollbackSql() : u"ROLLBACK TO SAVEPOINT "_s + name);
        if (!outermost)
            query.exec(u"RELEASE SAVEPOINT "_s + name);
    }

    // Before each statement: a lost link is reopened when no transaction
    // depended on it. A failed reopen leaves it closed, to be tried again.
    void ensureLink(Connection *self)
    {
        if (db.isOpen())
            return;
        if (!levels.isEmpty())
            throw SuiteError(u"Se perdió la conexión con la base de datos y la transacción en curso se deshizo"_s);
        try {
            openLink(self);
        } catch (const SuiteError &error) {
            throw SuiteError(DatabaseFault::cannotReconnect(error.description()));
        }
    }
};

Connection::Connection()
    : d(std::make_unique<Private>())
{
}

Connection::~Connection()
{
    if (d->db.isValid()) {
        if (!d->levels.isEmpty() && d->db.isOpen()) {
            QSqlQuery query(d->db);
            query.exec(d->dialect->rollbackSql());
        }
        d->db.close();
    }
    d->db = QSqlDatabase();
    QSqlDatabase::removeDatabase(d->name);
}

std::unique_ptr<Connection> Connection::open(const QString &url)
{
    std::unique_ptr<Connection> connection(new Connection);
    Private &p = *connection->d;
    p.url = url;
    p.name = u"talvexor-%1"_s.arg(++connectionCounter);

    if (url.startsWith(u"sqlite:"_s)) {
        const QString path = url.mid(7);
        if (path.isEmpty())
            throw SuiteError(u"Falta la ruta del archivo de SQLite en '%1'"_s.arg(url));
        p.dialect = Dialect::create(u"QSQLITE"_s);
        p.db = QSqlDatabase::addDatabase(u"QSQLITE"_s, p.name);
        // Two processes may share one file: wait for the other's lock.
        QString options = u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(LockWaitSeconds * 1000);
        if (path != u":memory:"_s && readAsItStands(path)) {
            p.db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                                 + u"?immutable=1"_s);
            options += u";QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"_s;
        } else {
            p.db.setDatabaseName(path);
        }
        p.db.setConnectOptions(options);
    } else if (url.startsWith(u"postgresql://"_s) || url.startsWith(u"postgres://"_s)) {
        const QUrl parsed(url);
        if (!parsed.isValid() || parsed.host().isEmpty())
            throw SuiteError(u"La dirección de PostgreSQL '%1' no es válida"_s.arg(url));
        p.dialect = Dialect::create(u"QPSQL"_s);
        p.db = QSqlDatabase::addDatabase(u"QPSQL"_s, p.name);
        p.db.setHostName(parsed.host());
        p.db.setPort(parsed.port(5432));
        p.db.setUserName(parsed.userName());
        if (!parsed.password().isEmpty())
            p.db.setPassword(parsed.password());
        QString database = parsed.path();
        if (database.startsWith(u'/'))
            database.remove(0, 1);
        p.db.setDatabaseName(database.isEmpty() ? parsed.userName() : database);
        // A server that does not answer is given up on; a link gone quiet is
        // probed, so a dead server is noticed within about a minute.
        p.db.setConnectOptions(u"connect_timeout=%1;keepalives=1;keepalives_idle=30;keepalives_interval=10;"
                               "keepalives_count=3;application_name=talvexor"_s.arg(LockWaitSeconds));
    } else {
        throw SuiteError(u"La dirección de base de datos '%1' no es de SQLite (sqlite:) ni de PostgreSQL (postgresql://)"_s.arg(url));
    }

    if (!p.db.isValid())
        throw SuiteError(u"No está disponible el controlador %1 de Qt SQL"_s.arg(p.dialect->driverName()));
    p.openLink(connection.get());

    StatementTrace::attachIfRequested(*connection);
    return connection;
}

RecordsetPtr Connection::Execute(const QString &statement, int *recordsAffected)
{
    refuseUnsendable(statement);
    d->ensureLink(this);
    const QString translated = translate(statement);
    try {
        return d->execute(this, translated, recordsAffected, true);
    } catch (const SuiteError &) {
        if (!d->runsAgain(translated))
            throw;
    }
    d->ensureLink(this);
    return d->execute(this, translated, recordsAffected, false);
}

std::unique_ptr<RowStream> Connection::stream(const QString &statement)
{
    refuseUnsendable(statement);
    d->ensureLink(this);
    if (d->dialect->backend() == u"postgresql"_s)
        return RowStream::throughCursor(*this, statement);
    auto query = std::make_shared<QSqlQuery>(d->db);
    query->setForwardOnly(true);
    d->run(this, translate(statement), *query, true);
    return RowStream::fromQuery(std::move(query), *d->dialect);
}

void Connection::BeginTrans()
{
    if (d->commandOpen())
        throw SuiteError(u"Ya hay una transacción abierta en esta conexión"_s);
    d->open(this, Private::Level::Command, false);
}

void Connection::CommitTrans()
{
    if (!d->commandOpen())
        throw SuiteError(u"No hay una transacción abierta que confirmar"_s);
    d->close(this, true);
}

void Connection::RollbackTrans()
{
    if (!d->commandOpen())
        throw SuiteError(u"No hay una transacción abierta que deshacer"_s);
    d->close(this, false);
}

void Connection::BeginUnit(bool readOnly)
{
    if (d->commandOpen())
        throw SuiteError(u"No se puede abrir una unidad de trabajo dentro de una transacción"_s);
    d->open(this, Private::Level::Unit, readOnly);
}

void Connection::CommitUnit()
{
    if (d->levels.isEmpty() || d->commandOpen())
        throw SuiteError(u"No hay una unidad de trabajo abierta que confirmar"_s);
    d->close(this, true);
}

void Connection::RollbackUnit()
{
    if (d->levels.isEmpty() || d->commandOpen())
        throw SuiteError(u"No hay una unidad de trabajo abierta que deshacer"_s);
    d->close(this, false);
}

int Connection::unitDepth() const
{
    return int(d->levels.count(Private::Level::Unit));
}

QString Connection::writeRefusal() const
{
    return d->writeRefusal;
}

void Connection::setStatementTimeout(int seconds)
{
    d->statementTimeout = seconds;
    const QString sql = d->dialect->statementTimeoutSql(seconds > 0 ? seconds : 0);
    if (!sql.isEmpty() && d->db.isOpen())
        d->runPlain(this, sql, false);
}

bool Connection::inTransaction() const
{
    return d->commandOpen();
}

QString Connection::url() const
{
    return d->url;
}

QString Connection::backend() const
{
    return d->dialect->backend();
}

const Dialect &Connection::dialect() const
{
    return *d->dialect;
}

QSqlDatabase Connection::database() const
{
    return d->db;
}

QString Connection::translate(const QString &statement) const
{
    return d->dialect->translate(statement, d->db);
}

QStringList Connection::tableNames() const
{
    return d->db.tables(QSql::Tables);
}

QStringList Connection::columnNames(const QString &table) const
{
    return d->dialect->columnNames(d->db, table);
}

bool Connection::tableExists(const QString &table) const
{
    return d->dialect->tableExists(d->db, table);
}

void Connection::armFault(int statement, const QString &text)
{
    d->fault.arm(StatementFault::Kind::FailStatement, statement, text);
}

void Connection::armLinkLoss(int statement, const QString &text)
{
    if (backend() == u"sqlite"_s && d->db.databaseName() == u":memory:"_s)
        throw SuiteError(u"Una base de datos SQLite en memoria no sobrevive a perder la conexión"_s);
    d->fault.arm(StatementFault::Kind::LoseLink, statement, text);
}

void Connection::disarmFault()
{
    d->fault.disarm();
}

bool Connection::faultArmed() const
{
    return d->fault.armed();
}

int Connection::faultStatement() const
{
    return d->fault.struckNumber();
}

QString Connection::faultSql() const
{
    return d->fault.struckStatement();
}

} // namespace suite
