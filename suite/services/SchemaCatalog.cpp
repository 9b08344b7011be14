#include "suite/services/SchemaCatalog.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const auto catalogueName = u"talvexor-schema-catalog"_s;

bool isPostgres(const Connection &connection)
{
    return connection.backend() == u"postgresql"_s;
}

int declaredWidth(const QString &type)
{
    static const QRegularExpression size(u"\\(\\s*(\\d+)"_s);
    const auto match = size.match(type);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool numericType(const QString &type)
{
    static const QStringList numeric{u"INT"_s, u"NUMERIC"_s, u"DECIMAL"_s, u"REAL"_s,
                                     u"DOUBLE"_s, u"FLOAT"_s, u"MONEY"_s};
    const QString upper = type.toUpper();
    for (const auto &word : numeric) {
        if (upper.contains(word))
            return true;
    }
    return false;
}

} // namespace

SchemaCatalog::SchemaCatalog(Connection &connection)
    : QObject(&connection)
    , m_connection(connection)
{
    setObjectName(catalogueName);
}

SchemaCatalog &SchemaCatalog::of(Connection &connection)
{
    auto *catalogue = connection.findChild<SchemaCatalog *>(catalogueName, Qt::FindDirectChildrenOnly);
    if (!catalogue)
        catalogue = new SchemaCatalog(connection);
    return *catalogue;
}

QString SchemaCatalog::fold(const QString &name)
{
    const QString decomposed = name.trimmed().normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain.append(c);
    }
    return plain.toCaseFolded();
}

void SchemaCatalog::loadTables()
{
    const QString statement = isPostgres(m_connection)
        ? u"SELECT table_name FROM information_schema.tables"
          " WHERE table_schema = current_schema()"_s
        : u"SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"_s;
    m_tables.clear();
    m_columns.clear();
    auto rows = m_connection.Execute(statement);
    for (; !rows->Eof(); rows->MoveNext()) {
        const QString name = rows->fieldValue(0).toString();
        m_tables.insert(fold(name), name);
    }
}

QHash<QString, SchemaCatalog::Column> SchemaCatalog::loadColumns(const QString &table)
{
    QHash<QString, Column> columns;
    if (isPostgres(m_connection)) {
        auto rows = m_connection.Execute(
            u"SELECT column_name, data_type, character_maximum_length"
            " FROM information_schema.columns"
            " WHERE table_schema = current_schema() AND table_name = '"_s
            + sqlEscape(table) + u"'"_s);
        for (; !rows->Eof(); rows->MoveNext()) {
            Column column;
            column.name = rows->fieldValue(0).toString();
            column.numeric = numericType(rows->fieldValue(1).toString());
            column.width = rows->fieldValue(2).isNull() ? 0 : rows->fieldValue(2).toInt();
            columns.insert(fold(column.name), column);
        }
    } else {
        auto rows = m_connection.Execute(u"SELECT name, type FROM pragma_table_info('"_s
                                         + sqlEscape(table) + u"')"_s);
        for (; !rows->Eof(); rows->MoveNext()) {
            Column column;
            column.name = rows->fieldValue(0).toString();
            const QString type = rows->fieldValue(1).toString();
            column.numeric = numericType(type);
            column.width = declaredWidth(type);
            columns.insert(fold(column.name), column);
        }
    }
    return columns;
}

QString SchemaCatalog::table(const QString &name)
{
    const QString key = fold(name);
    if (m_tables.isEmpty() || !m_tables.contains(key))
        loadTables();
    const auto found = m_tables.constFind(key);
    if (found == m_tables.constEnd() || key.isEmpty())
        throw SuiteError(u"La tabla \"%1\" no existe en la base de datos."_s.arg(name));
    return found.value();
}

SchemaCatalog::Column SchemaCatalog::column(const QString &table, const QString &name)
{
    const QString key = fold(name);
    auto cached = m_columns.find(table);
    if (cached == m_columns.end() || !cached->contains(key))
        cached = m_columns.insert(table, loadColumns(table));
    const auto found = cached->constFind(key);
    if (found == cached->constEnd() || key.isEmpty())
        throw SuiteError(u"La columna \"%1\" no existe en la tabla \"%2\"."_s.arg(name, table));
    return found.value();
}

} // namespace suite
