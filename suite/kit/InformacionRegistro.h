#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

class QWidget;

namespace suite {

class Connection;
class RecordHistoryModel;

// The suite's record information: who created a record and when, who changed
// it last, and its state, read from the record's own audit columns, and its
// history of changes, newest first. A person sees it in a dialog; an
// unattended host is told the values (and the history's first page) instead.
class InformacionRegistro
{
public:
    // connection: where the record lives; the caller's, so the kit opens no
    // session of its own.
    explicit InformacionRegistro(Connection &connection) : m_connection(connection) {}

    // entity: the table (any letter case); keyColumn and key select the row;
    // the four further texts are not used by this suite.
    void Muestra(const QString &entity, const QString &keyColumn, const QString &key, const QString &e1,
                 const QString &e2, const QString &e3, const QString &e4);

    // The audit columns read, in the order shown; empty values when no row.
    static const QStringList &fields();

private:
    QVariantList read(const QString &entity, const QString &keyColumn, const QString &key, bool *found) const;
    void show(const QString &entity, const QString &key, bool found, const QVariantList &values,
              RecordHistoryModel &history) const;

    Connection &m_connection;
};

} // namespace suite
