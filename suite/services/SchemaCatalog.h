#pragma once

#include <QHash>
#include <QObject>
#include <QString>

namespace suite {

class Connection;

// The tables and columns a connection really has, read once from the
// database's own catalogue, so that names written by hand ("Vehículo",
// "Activo_FIjo") find the schema's spelling. One catalogue lives as a child of
// each connection and dies with it; a name not found reloads it once, so tables
// created after the first look-up are found too.
class SchemaCatalog : public QObject
{
    Q_OBJECT

public:
    struct Column
    {
        QString name;     // as the schema spells it
        int width = 0;    // declared length of a text column, 0 when none
        bool numeric = false;
    };

    static SchemaCatalog &of(Connection &connection);

    // Throws SuiteError when the name matches no table / no column of table.
    QString table(const QString &name);
    Column column(const QString &table, const QString &name);

    // The form names are compared in: no accents, case folded, no blanks around.
    static QString fold(const QString &name);

private:
    explicit SchemaCatalog(Connection &connection);
    void loadTables();
    QHash<QString, Column> loadColumns(const QString &table);

    Connection &m_connection;
    QHash<QString, QString> m_tables;                  // folded name -> schema name
    QHash<QString, QHash<QString, Column>> m_columns;  // schema table -> folded column -> column
};

} // namespace suite
