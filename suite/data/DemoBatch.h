#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace suite {

class Connection;

// The demo's rows of one table, sent as multi-row inserts: values of any
// type (text, numbers, dates, stamps, NULL) written as SQL literals.
class DemoBatch
{
public:
    DemoBatch(Connection &connection, QString table, QStringList columns);

    void add(const QVariantList &values);
    void flush();

private:
    Connection &m_connection;
    QString m_table;
    QStringList m_columns;
    QStringList m_rows;
};

} // namespace suite
