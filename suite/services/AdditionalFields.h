#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVariant>

namespace suite {

class Connection;

// The additional fields of a table's records (definitions in Campo_Adicional,
// values in Campo_Adicional_Valor), read and written on the connection it
// is given. Every failure raises SuiteError with the database's text: a
// caller that could not read them must not write them.
class AdditionalFields
{
public:
    // (field, title) pairs in the definitions' order.
    using Definitions = QList<QPair<QString, QString>>;
    // By field; a value stored as NULL is a null QVariant.
    using Values = QMap<QString, QVariant>;

    explicit AdditionalFields(Connection &connection);

    Definitions definitions(const QString &table) const;
    // Every value stored for the record, defined or not.
    Values values(const QString &table, const QString &key) const;
    // Makes the record's stored values exactly `values` (inside the caller's
    // transaction): what was read and not changed is written back as it was.
    void store(const QString &table, const QString &key, const Values &values) const;

private:
    Connection &m_connection;
};

} // namespace suite
