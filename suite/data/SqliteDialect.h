#pragma once

#include "suite/data/Dialect.h"

namespace suite {

// SQLite: routines are C functions registered on each connection's handle,
// stored procedures are statements kept in table Procedimiento, a search
// index is an FTS5 table of trigrams kept by triggers.
class SqliteDialect : public Dialect
{
public:
    SqliteDialect();
    void prepare(QSqlDatabase &database) const override;
    std::function<void()> interrupter(const QSqlDatabase &database) const override;
    QVariant normalize(const QString &column, const QVariant &value) const override;
    QString beginSql() const override;
    QString writeRefusal(const QSqlDatabase &database) const override;
    QStringList routinesSql() const override;
    QString indexNamesSql() const override;
    QStringList versionTriggerSql(const TableDef &table, const QString &column) const override;
    QStringList searchIndexSql(const SearchIndexDef &index, const QSqlDatabase &database) const override;
    bool hasSearchIndex(const SearchIndexDef &index, const QSqlDatabase &database) const override;
    QStringList dropSearchIndexSql(const SearchIndexDef &index) const override;
    QString searchConditionSql(const SearchIndexDef &index, const QString &text, const QString &key,
                               const QString &description) const override;
    QString searchCountSql(const SearchIndexDef &index, const QString &text, int atMost) const override;
    // A subquery with a LIMIT is a co-routine whose rows the outer query reads
    // as they are made; an outer ORDER BY would have them all read and sorted.
    bool keepsSubqueryOrder() const override { return true; }

protected:
    QString qualifiedFunction(const QString &word) const override;
    QString execStatement(const QString &name, const QStringList &argumentLiterals,
                          const QSqlDatabase &database) const override;
};

} // namespace suite
