#pragma once

#include "suite/data/Dialect.h"

namespace suite {

// PostgreSQL: routines live in the database (schema dbo for the suite's
// functions), stored procedures are set-returning functions, a search index
// is a GIN trigram index (pg_trgm) on the table itself.
class PostgresDialect : public Dialect
{
public:
    PostgresDialect();
    QStringList sessionSql(int waitSeconds) const override;
    QString statementTimeoutSql(int seconds) const override;
    QString writeRefusal(const QSqlDatabase &database) const override;
    QStringList routinesSql() const override;
    QString indexNamesSql() const override;
    QString schemaLockSql() const override;
    QStringList versionTriggerSql(const TableDef &table, const QString &column) const override;
    std::function<void()> interrupter(const QSqlDatabase &database) const override;
    QStringList searchIndexSql(const SearchIndexDef &index, const QSqlDatabase &database) const override;
    bool hasSearchIndex(const SearchIndexDef &index, const QSqlDatabase &database) const override;
    QStringList dropSearchIndexSql(const SearchIndexDef &index) const override;
    QStringList searchSessionSql() const override;
    QString searchRowsSql(const QString &statement, int wanted) const override;
    QString searchConditionSql(const SearchIndexDef &index, const QString &text, const QString &key,
                               const QString &description) const override;
    QString searchCountSql(const SearchIndexDef &index, const QString &text, int atMost) const override;
    QString forUpdateClause() const override;
    QString beginReadSql() const override;

protected:
    static QString searchText(const QString &key, const QString &description);
    QString qualifiedFunction(const QString &word) const override;
    QString execStatement(const QString &name, const QStringList &argumentLiterals,
                          const QSqlDatabase &database) const override;
};

} // namespace suite
