#include "suite/data/Connection.h"

#include "suite/data/Dialect.h"
#include "suite/data/StatementFault.h"
#include "suite/data/StatementTrace.h"
#include "suite/data/SuiteError.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <atomic>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

std::atomic<int> connectionCounter{0};

// What a user can make of the refusals a clerk runs into, before the
// database's own words (SQLSTATE on PostgreSQL, the message on SQLite).
QString plainReason(const QSqlError &error, const QString &database)
{
    const QString code = error.nativeErrorCode();
    if (code == u"23505"_s || database.startsWith(u"UNIQUE constraint failed"_s))
        return u"Ya hay otro registro con ese valor y la base de datos no admite repetirlo."_s;
    if (code == u"22001"_s)
        return u"Un texto es más largo de lo que cabe en su columna."_s;
    if (code == u"22003"_s)
        return u"Un número no cabe en su columna."_s;
    if (code == u"40P01"_s || code == u"40001"_s || database.startsWith(u"database is locked"_s))
        return u"Otro usuario ocupaba los mismos datos a la vez; vuelva a intentarlo."_s;
    return {};
}

// The database's own words first; the driver's when the database said nothing.
QString errorText(const QSqlError &error)
{
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    QString text;
    if (database.isEmpty())
        text = driver.isEmpty() ? u"Error desconocido de la base de datos"_s : driver;
    else if (driver.isEmpty() || database.contains(driver))
        text = database;
    else
        text = database + u" ("_s + driver + u')';
    const QString reason = plainReason(error, database);
    return reason.isEmpty() ? text : reason + u'\n' + text;
}

// NUL ends a statement early for both drivers, and half a surrogate pair
// makes SQLite read the quote after it as part of the character: either
// would turn a value into something else, so neither reaches the database.
void refuseUnsendable(const QString &statement)
{
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c.isNull())
            throw SuiteError(u"El texto tiene un carácter nulo (U+0000), que la base de datos no puede guardar."_s);
        if (c.isHighSurrogate() && i + 1 < statement.size() && statement.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            throw SuiteError(u"El texto tiene medio carácter (U+%1 sin su pareja), que la base de datos no puede "
                             "guardar."_s.arg(QString::number(c.unicode(), 16).toUpper()));
        }
    }
}

} // namespace

struct Connection::Private
{
    QString name;
    QString url;
    QSqlDatabase db;
    std::unique_ptr<Dialect> dialect;
    bool inTransaction = false;
    StatementFault fault;

    // counted: one of the caller's statements, which an armed fault may strike.
    // fetch reads the rows of a statement that ran: the database finds most
    // of them only as they are read, so their time is the statement's too.
    template<typename Fetch>
    void run(Connection *self, const QString &statement, QSqlQuery &query, bool counted, Fetch &&fetch)
    {
        if (counted && fault.strikes(statement))
            strike(self);
        QElapsedTimer timer;
        timer.start();
        const bool ok = query.exec(statement);
        if (ok)
            fetch();
        Q_EMIT self->statementExecuted(statement, timer.nsecsElapsed() / 1000);
        if (!ok)
            throw SuiteError(errorText(query.lastError()));
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

    [[noreturn]] void strike(Connection *self)
    {
        const QString text = fault.text();
        if (fault.kind() == StatementFault::Kind::LoseLink)
            db.close(); // SQLite drops the open transaction; PostgreSQL's server aborts it
        Q_EMIT self->faultFired(fault.struckNumber(), fault.struckStatement());
        throw SuiteError(text);
    }

    // Opens the database and makes it what the suite expects; a link that
    // opened but could not be prepared is closed again, so the next attempt
    // starts over.
    void openLink(Connection *self)
    {
        if (!db.open())
            throw SuiteError(errorText(db.lastError()));
        try {
            dialect->prepare(db);
            if (dialect->backend() == u"sqlite"_s && db.databaseName() != u":memory:"_s)
                runPlain(self, u"PRAGMA journal_mode=WAL"_s, false);
            if (dialect->backend() == u"postgresql"_s)
                runPlain(self, u"SET client_min_messages TO WARNING"_s, false);
        } catch (...) {
            db.close();
            throw;
        }
    }

    // Before each statement: a lost link is reopened when no transaction
    // depended on it. A failed reopen leaves it closed, to be tried again.
    void ensureLink(Connection *self)
    {
        if (db.isOpen())
            return;
        if (inTransaction)
            throw SuiteError(u"Se perdió la conexión con la base de datos y la transacción en curso se deshizo"_s);
        try {
            openLink(self);
        } catch (const SuiteError &error) {
            throw SuiteError(u"No se pudo restablecer la conexión con la base de datos: %1"_s.arg(error.description()));
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
        if (d->inTransaction && d->db.isOpen()) {
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
        p.db.setDatabaseName(path);
        // Two processes may share one file: wait for the other's lock.
        p.db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=10000"_s);
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
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    QStringList columns;
    QVector<QVector<QVariant>> rows;
    d->run(this, translated, query, true, [&] {
        if (!query.isSelect())
            return;
        const QSqlRecord record = query.record();
        columns.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            columns.append(record.fieldName(i));
        while (query.next()) {
            QVector<QVariant> row;
            row.reserve(columns.size());
            for (int i = 0; i < columns.size(); ++i) {
                QVariant value = query.value(i);
                // A NULL keeps a type, so isValid() tells it from a missing value.
                if (!value.isValid())
                    value = QVariant(QMetaType::fromType<QString>());
                row.append(d->dialect->normalize(columns.at(i), value));
            }
            rows.append(std::move(row));
        }
    });

    if (recordsAffected)
        *recordsAffected = query.numRowsAffected();
    if (!query.isSelect())
        return std::make_shared<Recordset>();
    if (query.lastError().isValid())
        throw SuiteError(errorText(query.lastError()));
    return std::make_shared<Recordset>(std::move(columns), std::move(rows));
}

void Connection::BeginTrans()
{
    if (d->inTransaction)
        throw SuiteError(u"Ya hay una transacción abierta en esta conexión"_s);
    d->ensureLink(this);
    d->runPlain(this, d->dialect->beginSql(), true);
    d->inTransaction = true;
}

void Connection::CommitTrans()
{
    if (!d->inTransaction)
        throw SuiteError(u"No hay una transacción abierta que confirmar"_s);
    try {
        d->ensureLink(this);
        d->runPlain(this, d->dialect->commitSql(), true);
    } catch (...) {
        // A failed commit leaves nothing committed: end the transaction so the
        // connection stays usable, then report the database's text. A lost
        // link took the transaction with it.
        if (d->db.isOpen()) {
            QSqlQuery query(d->db);
            query.exec(d->dialect->rollbackSql());
        }
        d->inTransaction = false;
        throw;
    }
    d->inTransaction = false;
}

void Connection::RollbackTrans()
{
    if (!d->inTransaction)
        throw SuiteError(u"No hay una transacción abierta que deshacer"_s);
    d->inTransaction = false;
    // A lost link took the transaction with it: the backend has undone it.
    if (!d->db.isOpen())
        return;
    d->runPlain(this, d->dialect->rollbackSql(), false);
}

bool Connection::inTransaction() const
{
    return d->inTransaction;
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
