#include "suite/data/Schema.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"

#include <QHash>
#include <QMap>
#include <utility>
#include <optional>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The last column declared since a table was first made, for each table an
// older database may have without it (version columns aside); reading each
// table's columns at every start would cost a query per table.
const QList<std::pair<QString, QString>> AddedColumns = {
    {u"Etiqueta"_s, u"Et_Posicion_Inicial"_s},
};

// Indexes older databases have and the schema replaced.
const QStringList RetiredIndexes = {u"IX_Activo_Fijo_Serie"_s, u"IX_Activo_Fijo_Economico"_s,
                                     u"IX_Activo_Fijo_Depreciacion_Libro"_s};
// Unique indexes that compared with regard to case, each retired once the
// index that replaces it is in place (until then it keeps exact repeats out).
const QList<std::pair<QString, QString>> ReplacedUniqueIndexes = {
    {u"UX_Activo_Fijo_Serie"_s, u"UX_Activo_Fijo_Serie_Caso"_s},
    {u"UX_Activo_Fijo_Economico"_s, u"UX_Activo_Fijo_Economico_Caso"_s},
};

bool caseBlindIndex(const IndexDef &index)
{
    const TableDef *table = Schema::table(index.table);
    for (const QString &name : index.columns) {
        const ColumnDef *column = table ? table->column(name) : nullptr;
        if (column && column->caseBlind)
            return true;
    }
    return false;
}

// The rows that share a value of a case-blind unique index, as a notice
// naming them by key; empty when there are none.
QString clashes(Connection &connection, const IndexDef &index)
{
    const Dialect &dialect = connection.dialect();
    const TableDef *table = Schema::table(index.table);
    const QString key = table->primaryKey().value(0);
    QStringList folded;
    for (const QString &column : index.columns)
        folded.append(dialect.foldedSql(column));
    const QString value = folded.join(u" || '|' || "_s);
    const RecordsetPtr rows = connection.Execute(
        u"SELECT "_s + key + u", "_s + index.columns.join(u" || ' ' || "_s) + u" AS valor, "_s + value
        + u" AS grupo FROM "_s + index.table + u" WHERE "_s + value + u" IN (SELECT "_s + value + u" FROM "_s
        + index.table + u" GROUP BY "_s + value + u" HAVING COUNT(*) > 1) ORDER BY 3, 1"_s);
    QMap<QString, QStringList> groups;
    for (; !rows->Eof(); rows->MoveNext()) {
        groups[rows->fieldValue(2).toString()].append(
            u"%1 («%2»)"_s.arg(rows->fieldValue(0).toString(), rows->fieldValue(1).toString()));
    }
    if (groups.isEmpty())
        return {};
    QStringList lines;
    for (const QStringList &group : std::as_const(groups))
        lines.append(u"  "_s + group.join(u", "_s));
    return u"%1.%2 no admite repetidos sin importar mayúsculas y minúsculas, y estos registros los repiten; "
           "el índice %3 se creará cuando se corrijan:\n"_s.arg(index.table, index.columns.join(u", "_s), index.name)
           + lines.join(u'\n');
}

} // namespace

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QStringList TableDef::primaryKey() const
{
    QStringList key;
    for (const ColumnDef &c : columns) {
        if (c.primaryKey)
            key.append(c.name);
    }
    return key;
}

const TableDef *Schema::table(const QString &name)
{
    for (const TableDef &t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

bool Schema::kindOf(const QString &column, ColumnKind *kind)
{
    static const QHash<QString, ColumnKind> kinds = [] {
        QHash<QString, ColumnKind> map;
        for (const TableDef &t : tables()) {
            for (const ColumnDef &c : t.columns)
                map.insert(c.name.toLower(), c.kind);
        }
        return map;
    }();
    const auto found = kinds.constFind(column.toLower());
    if (found == kinds.constEnd())
        return false;
    *kind = *found;
    return true;
}

QStringList Schema::create(Connection &connection)
{
    QStringList notices;
    const Dialect &dialect = connection.dialect();
    std::optional<TransactionGuard> transaction;
    if (!connection.inTransaction())
        transaction.emplace(connection);
    if (const QString lock = dialect.schemaLockSql(); !lock.isEmpty())
        connection.Execute(lock);

    for (const TableDef &table : tables()) {
        if (!connection.tableExists(table.name)) {
            connection.Execute(dialect.createTableSql(table));
            continue;
        }
        // An older database gains the columns declared since it was made.
        const QStringList existing = connection.columnNames(table.name);
        for (const ColumnDef &column : table.columns) {
            if (!existing.contains(column.name, Qt::CaseInsensitive))
                connection.Execute(dialect.addColumnSql(table.name, column));
        }
    }
    for (const QString &retired : RetiredIndexes)
        connection.Execute(u"DROP INDEX IF EXISTS "_s + retired);
    QStringList postponed;
    for (const IndexDef &index : indexes()) {
        if (!index.unique || !caseBlindIndex(index)) {
            connection.Execute(dialect.createIndexSql(index));
            continue;
        }
        // Rows already repeating what the index forbids are named, not failed on.
        connection.Execute(u"SAVEPOINT indice_unico"_s);
        try {
            connection.Execute(dialect.createIndexSql(index));
            connection.Execute(u"RELEASE SAVEPOINT indice_unico"_s);
        } catch (const SuiteError &) {
            connection.Execute(u"ROLLBACK TO SAVEPOINT indice_unico"_s);
            const QString clash = clashes(connection, index);
            if (clash.isEmpty())
                throw;
            notices.append(clash);
            postponed.append(index.name);
        }
    }
    for (const auto &[old, replacement] : ReplacedUniqueIndexes) {
        if (!postponed.contains(replacement))
            connection.Execute(u"DROP INDEX IF EXISTS "_s + old);
    }
    for (const SearchIndexDef &index : searchIndexes()) {
        for (const QString &statement : dialect.searchIndexSql(index, connection.database()))
            connection.Execute(statement);
    }
    for (const QString &routine : dialect.routinesSql())
        connection.Execute(routine);
    for (const VersionDef &version : versions()) {
        for (const QString &statement : dialect.versionTriggerSql(*table(version.table), version.column))
            connection.Execute(statement);
    }

    if (transaction)
        transaction->commit();
    return notices;
}

bool Schema::needsUpgrade(Connection &connection)
{
    const QStringList existing = connection.tableNames();
    const auto exists = [&](const QString &table) { return existing.contains(table, Qt::CaseInsensitive); };
    if (!exists(u"Activo_Fijo"_s))
        return false;
    for (const TableDef &table : tables()) {
        if (!exists(table.name))
            return true;
    }
    for (const VersionDef &version : versions()) {
        if (!connection.columnNames(version.table).contains(version.column, Qt::CaseInsensitive))
            return true;
    }
    for (const auto &[table, column] : AddedColumns) {
        if (!connection.columnNames(table).contains(column, Qt::CaseInsensitive))
            return true;
    }
    // An index the last upgrade had to leave for later (its rows clashed) is
    // tried again at every start, and its notice given again, until it is made.
    const QStringList made = connection.dialect().indexNames(connection.database());
    for (const IndexDef &index : indexes()) {
        if (!made.contains(index.name, Qt::CaseInsensitive))
            return true;
    }
    // So is a search index a bulk load dropped and never made again.
    for (const SearchIndexDef &index : searchIndexes()) {
        if (!connection.dialect().hasSearchIndex(index, connection.database()))
            return true;
    }
    return false;
}

} // namespace suite
