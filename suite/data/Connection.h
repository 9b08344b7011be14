#pragma once

#include "suite/data/Recordset.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace suite {

class Dialect;

// The connection every screen statement runs through. Statements are written
// in the SQL Server dialect; the backend's Dialect rewrites the constructs the
// suite uses before they reach the driver. Every failure throws SuiteError with
// the database's own text.
//
// URLs: "sqlite:/path/file.db", "sqlite::memory:", "postgresql://user@host:port/db".
class Connection : public QObject
{
    Q_OBJECT

public:
    static std::unique_ptr<Connection> open(const QString &url);
    ~Connection() override;

    // Runs one statement; a statement that returns no rows gives an empty
    // recordset. recordsAffected, when given, receives the driver's count.
    RecordsetPtr Execute(const QString &statement, int *recordsAffected = nullptr);

    // Flat transactions: a BeginTrans while one is open throws.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;

    QString url() const;
    QString backend() const; // "sqlite" or "postgresql"
    const Dialect &dialect() const;
    QSqlDatabase database() const;
    QString translate(const QString &statement) const;

    // The open database's catalogue (names as the database spells them).
    QStringList tableNames() const;
    QStringList columnNames(const QString &table) const;
    bool tableExists(const QString &table) const; // case-insensitive

Q_SIGNALS:
    // Every statement, as sent to the driver, with how long it took.
    void statementExecuted(const QString &statement, qint64 microseconds);

private:
    Connection();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace suite
