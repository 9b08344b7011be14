#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace suite {

class Connection;

// Kinds of column; each dialect turns a kind into its own type.
enum class ColumnKind {
    Text,     // VARCHAR(size)
    Memo,     // unbounded text
    Integer,
    Serial,   // integer key numbered by the database
    Money,    // NUMERIC(18,4)
    Percent,  // NUMERIC(18,9)
    Double,
    Date,
    Stamp     // date and time
};

struct ColumnDef
{
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int size = 0;
    bool notNull = false;
    QString defaultValue; // an SQL literal ("'AC'", "0"); empty: no default
    bool primaryKey = false;
    // Compared without regard to case (Dialect::foldedSql), in look-ups
    // (Utilerias.BuscaValor) and in its unique index.
    bool caseBlind = false;
};

struct TableDef
{
    QString name;
    QVector<ColumnDef> columns;

    const ColumnDef *column(const QString &name) const; // case-insensitive
    QStringList primaryKey() const;
};

// A column the database itself adds one to on every update of its table's
// row (a trigger on each backend), so a command can tell that the row was
// written since a user was shown it.
struct VersionDef
{
    QString table;
    QString column;
};

struct IndexDef
{
    QString name;
    QString table;
    QStringList columns;
    bool unique = false;
};

// What the search dialogs filter on in a table that grows with the company:
// its key and the text that describes a row (a column, or an expression over
// the table's columns in the suite's SQL Server dialect). Each backend keeps
// a trigram index of both, so that "contains" filters find their rows
// without reading the table.
struct SearchIndexDef
{
    QString name;
    QString table;
    QString key;
    QString description;
};

// The database the suite and the screen work on, declared once as data. Each
// backend's Dialect makes its DDL from these declarations.
class Schema
{
public:
    static const QVector<TableDef> &tables();
    static const QVector<IndexDef> &indexes();
    static const QVector<VersionDef> &versions();
    static const QVector<SearchIndexDef> &searchIndexes();
    static const TableDef *table(const QString &name); // case-insensitive
    // The columns a row of the table is written with, in their declared
    // order: all but the key the database numbers and the version it counts.
    static QStringList writtenColumns(const QString &table);

    // The kind of a column by its name alone, looked up across every table;
    // false when no table declares it. Column names of the schema carry their
    // table's prefix, so a name means one kind wherever it appears.
    static bool kindOf(const QString &column, ColumnKind *kind);

    // Creates what is missing: tables, columns added to older tables, indexes,
    // search indexes (filled from the rows already there), the backend's
    // routines and stored statements, the version triggers. Safe to run any
    // number of times; runs in one transaction unless the caller already
    // opened one. A unique index that the rows already break is left for
    // later: the returned notices say which rows clash (nothing else stops).
    static QStringList create(Connection &connection);
    // An older database that lacks a table, a version column or a column
    // added since: create() brings it up to date. A database without the
    // tables is not one to upgrade.
    static bool needsUpgrade(Connection &connection);
};

} // namespace suite
