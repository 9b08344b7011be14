#pragma once

#include "suite/data/Dialect.h"

namespace suite {

// SQLite: routines are C functions registered on each connection's handle,
// stored procedures are statements kept in table Procedimiento.
class SqliteDialect : public Dialect
{
public:
    SqliteDialect();
    void prepare(QSqlDatabase &database) const override;
    QVariant normalize(const QString &column, const QVariant &value) const override;
    QString beginSql() const override;
    QString writeRefusal(const QSqlDatabase &database) const override;
    QStringList routinesSql() const override;
    QStringList versionTriggerSql(const TableDef &table, const QString &column) const override;

protected:
    QString qualifiedFunction(const QString &word) const override;
    QString execStatement(const QString &name, const QStringList &argumentLiterals,
                          const QSqlDatabase &database) const override;
};

} // namespace suite
