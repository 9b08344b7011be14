#pragma once

#include "suite/data/Recordset.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace suite {

class Dialect;
class RowStream;

// The connection every screen statement runs through. Statements are written
// in the SQL Server dialect; the backend's Dialect rewrites the constructs the
// suite uses before they reach the driver. Every failure throws SuiteError with
// the database's own text.
//
// A link found closed (see armLinkLoss) is reopened by the next statement run
// outside a transaction; inside one, its work is gone and the statement fails.
// A read or a BEGIN that finds the server ended the session (a restart) runs
// again on a new one, so the user never sees it.
//
// No wait is unbounded: a lock another session holds is waited for
// LockWaitSeconds on both backends, then the statement fails in words; on
// PostgreSQL both ends of the link send keepalives, so a vanished client's
// locks go within about a minute.
//
// URLs: "sqlite:/path/file.db", "sqlite::memory:", "postgresql://user@host:port/db".
class Connection : public QObject
{
    Q_OBJECT

public:
    static constexpr int LockWaitSeconds = 10;

    static std::unique_ptr<Connection> open(const QString &url);
    ~Connection() override;

    // Why the database takes no writes, in words for the user with what to
    // do; empty when it takes them. Found when the link opens.
    QString writeRefusal() const;
    // Any one statement running longer than this fails (0: no limit), on the
    // backends where a statement can hang on something outside it. Kept
    // when the link is opened again.
    void setStatementTimeout(int seconds);

    // Runs one statement; a statement that returns no rows gives an empty
    // recordset. recordsAffected, when given, receives the driver's count.
    RecordsetPtr Execute(const QString &statement, int *recordsAffected = nullptr);

    // The rows of a SELECT read forward a batch at a time, for reads too
    // large to hold at once (RowStream). On PostgreSQL it needs an open
    // transaction or unit, where its cursor lives.
    std::unique_ptr<RowStream> stream(const QString &statement);

    // Flat transactions: a BeginTrans while one is open throws.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const; // a BeginTrans is open (units aside)

    // A unit of work made of several commands, each with its own
    // BeginTrans ... CommitTrans: inside a unit those are savepoints, so a
    // command that fails is undone alone and the unit goes on, and the
    // unit's end keeps or undoes all of them together. A unit may hold
    // units (savepoints too); none is opened inside a command's transaction.
    // readOnly (outermost unit): one snapshot of the database, no write lock.
    void BeginUnit(bool readOnly = false);
    void CommitUnit();
    void RollbackUnit();
    int unitDepth() const;

    QString url() const;
    QString backend() const; // "sqlite" or "postgresql"
    const Dialect &dialect() const;
    QSqlDatabase database() const;
    QString translate(const QString &statement) const;

    // The open database's catalogue (names as the database spells them).
    QStringList tableNames() const;
    QStringList columnNames(const QString &table) const;
    bool tableExists(const QString &table) const; // case-insensitive

    // Fault injection, for tests that prove a write command atomic by making
    // each of its statements fail in turn. Counted statements: those sent
    // through Execute, BeginTrans and CommitTrans, from the moment of arming
    // (never a ROLLBACK, nor what reopening a link runs). A fault strikes
    // once, then disarms; arming again replaces it.
    //
    // The N-th counted statement fails without reaching the database, with
    // text or "Falla simulada en la sentencia N: <statement>". A struck COMMIT
    // rolls back, as a failed real one does.
    void armFault(int statement, const QString &text = {});
    // The N-th counted statement fails and the link is really closed, so the
    // backend discards the open transaction; RollbackTrans then only ends the
    // transaction. Refused on an in-memory SQLite database, which closing
    // would discard.
    void armLinkLoss(int statement, const QString &text = {});
    void disarmFault();
    bool faultArmed() const;
    // The counted number and the statement (as sent to the driver) the last
    // armed fault struck; 0 and empty until it fires.
    int faultStatement() const;
    QString faultSql() const;

Q_SIGNALS:
    // Every statement, as sent to the driver, with how long it took (reading
    // its rows included).
    void statementExecuted(const QString &statement, qint64 microseconds);
    // An armed fault struck statement number `statement`, before it fails.
    void faultFired(int statement, const QString &sql);

private:
    Connection();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace suite
