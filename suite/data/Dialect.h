#pragma once

#include "suite/data/Schema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace suite {

// What differs between backends. Statements reach the connection in the SQL
// Server dialect the suite's screens are written in; translate() rewrites the
// constructs they use:
//   - '+' beside a string literal (and the rest of its chain) becomes '||';
//   - dbo.Function( is resolved as the backend keeps its routines;
//   - EXEC name 'arg', ... calls the backend's form of a stored procedure;
//   - GETDATE() and ISNULL( become their portable forms.
// Everything else passes unchanged. The dialect also makes the DDL of the
// schema and offers the small helpers the suite's own statements need.
class Dialect
{
public:
    static std::unique_ptr<Dialect> create(const QString &driverName); // "QSQLITE", "QPSQL"
    virtual ~Dialect();

    QString backend() const { return m_traits.backend; }       // "sqlite", "postgresql"
    QString driverName() const { return m_traits.driverName; } // "QSQLITE", "QPSQL"

    // Called once on every newly opened database (functions, pragmas).
    virtual void prepare(QSqlDatabase &database) const;
    // What a new session runs before the first statement: how long it waits
    // for another session's lock, and how soon the server notices a client
    // that is gone. waitSeconds is the same on every backend.
    virtual QStringList sessionSql(int waitSeconds) const;
    // Cancels any one statement that runs longer; empty where statements
    // cannot hang on another user (SQLite's wait is its busy timeout).
    virtual QString statementTimeoutSql(int seconds) const;
    // Why this database takes no writes (a read-only file or folder, a full
    // disk, a read-only server or missing permission), in words for the
    // user with what to do; empty when it takes them.
    virtual QString writeRefusal(const QSqlDatabase &database) const = 0;
    // What stops the statement an open database is running, called from
    // another thread while that database stays open: the statement fails
    // with the backend's text. Nothing happens when none runs.
    virtual std::function<void()> interrupter(const QSqlDatabase &database) const = 0;

    // The statement as the backend must receive it; database serves the
    // look-ups some rewrites need (stored statements on SQLite).
    QString translate(const QString &statement, const QSqlDatabase &database) const;

    // A value read from column as the suite expects it (numbers as numbers,
    // dates as QDate/QDateTime), whatever the driver returned.
    virtual QVariant normalize(const QString &column, const QVariant &value) const;

    // Transactions, as statements.
    virtual QString beginSql() const;
    // A transaction that only reads, all of it from one snapshot of the database.
    virtual QString beginReadSql() const;
    QString commitSql() const { return QStringLiteral("COMMIT"); }
    QString rollbackSql() const { return QStringLiteral("ROLLBACK"); }
    // What a SELECT inside a transaction ends with to keep the rows it read
    // until the transaction ends, so another session's write command on them
    // waits; empty where a write transaction holds the whole database already.
    virtual QString forUpdateClause() const { return {}; }

    // One row, one column: the server's local date and time.
    QString currentDateTimeSql() const;

    QString limitClause(int rows) const;                          // " LIMIT n"
    QString limit(const QString &statement, int rows) const;      // statement capped at n rows
    static QString likeEscape(const QString &text);                // % _ \ searched literally
    // Parts of text that a row holding text holds too, for a trigram index
    // to look for: its stretches without the trigram "000" (the zeros that
    // pad keys), which nearly every row has and which costs a look-up dearly,
    // at most six characters each. Text itself when it has no other trigram.
    static QStringList searchPieces(const QString &text);
    static QString likeEscapeClause() { return QStringLiteral(" ESCAPE '\\'"); }
    QString caseInsensitiveLike() const { return m_traits.caseInsensitiveLike; } // "LIKE" / "ILIKE"
    // The expression in a form that compares without regard to case, the
    // same on every backend and needing no function of ours (other programs
    // open the database too): the ASCII letters and the accented ones of
    // Spanish and its neighbours (áéíóúüñ àèìòù âêîôû äö ç) in capitals,
    // every other character as it is.
    QString foldedSql(const QString &expression) const;

    // Catalogue of the open database.
    virtual bool tableExists(const QSqlDatabase &database, const QString &table) const;
    QStringList columnNames(const QSqlDatabase &database, const QString &table) const;
    // The indexes it has, named as it keeps them.
    QStringList indexNames(const QSqlDatabase &database) const;

    // DDL from the schema's declarations.
    QString columnType(const ColumnDef &column) const;
    QString columnSql(const ColumnDef &column) const;
    QString createTableSql(const TableDef &table) const;
    QString addColumnSql(const QString &table, const ColumnDef &column) const;
    QString createIndexSql(const IndexDef &index) const;
    // Routines and stored statements the schema adds after its tables.
    virtual QStringList routinesSql() const = 0;
    // Taken first in the transaction that makes or upgrades the schema, so
    // that hosts starting at once upgrade one after the other (SQLite's
    // write lock does it by itself).
    virtual QString schemaLockSql() const { return {}; }
    // The statement that lists the open database's indexes by name.
    virtual QString indexNamesSql() const = 0;
    // The trigger that adds one to column on every update of a row of table.
    virtual QStringList versionTriggerSql(const TableDef &table, const QString &column) const = 0;

    // The trigram index of a search: the statements that make what is missing
    // of it, filled from the rows already in the table.
    virtual QStringList searchIndexSql(const SearchIndexDef &index, const QSqlDatabase &database) const = 0;
    // Whether the database has it whole (one not upgraded yet may not).
    virtual bool hasSearchIndex(const SearchIndexDef &index, const QSqlDatabase &database) const = 0;
    // What drops it (a bulk load is faster without it; the schema makes it again).
    virtual QStringList dropSearchIndexSql(const SearchIndexDef &index) const = 0;
    // What a connection that only runs searches is set up with.
    virtual QStringList searchSessionSql() const { return {}; }
    // Whether the rows of "SELECT * FROM (... ORDER BY ... LIMIT n) q WHERE
    // ..." come out in the subquery's order without an ORDER BY of their own.
    virtual bool keepsSubqueryOrder() const { return false; }
    // The first `wanted` of the rows a statement selects from a search's
    // definition through searchConditionSql, in key order.
    virtual QString searchRowsSql(const QString &statement, int wanted) const;
    // A condition on the columns `key` and `description` of a search's rows
    // (those of index.table) that holds for every row whose key or
    // description contains text (searched literally, case as the backend's
    // case-insensitive LIKE ignores it), found through the index. It may hold
    // for rows that do not contain it (callers filter again), never fails one
    // that does. Empty when the index cannot serve this text (too short to
    // make a trigram).
    virtual QString searchConditionSql(const SearchIndexDef &index, const QString &text, const QString &key,
                                       const QString &description) const = 0;
    // One row, one column: how many rows the index finds for text, counted
    // up to atMost + 1 (more than atMost means "more"). Empty as above.
    virtual QString searchCountSql(const SearchIndexDef &index, const QString &text, int atMost) const = 0;

protected:
    // What tells the backends apart where it is only a word or two.
    struct Traits
    {
        QString backend;
        QString driverName;
        QString caseInsensitiveLike;
        QString serialType;                // an integer key numbered by the database
        QString stampType;                 // date and time without a zone
        QString currentDateTimeExpression; // the server's local date and time
        QString asciiUpper;                // upper() of %1 that changes ASCII letters only
    };
    explicit Dialect(Traits traits);

    // dbo.Name as this backend calls it.
    virtual QString qualifiedFunction(const QString &word) const = 0;
    // The statement that runs EXEC name with its argument literals.
    virtual QString execStatement(const QString &name, const QStringList &argumentLiterals,
                                  const QSqlDatabase &database) const = 0;

    QString translateExpressions(const QString &statement) const;
    // The index's description as this backend writes it, its columns
    // qualified (qualifier "new." for a trigger's row; empty: bare).
    QString searchDescription(const SearchIndexDef &index, const QString &qualifier) const;

private:
    Traits m_traits;
};

} // namespace suite
