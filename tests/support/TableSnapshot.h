#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace suite {
class Connection;
}

// Every row of every table of the schema, each value in one canonical text,
// so that two snapshots of a database are equal exactly when no row
// appeared, disappeared or changed. For proving a write command atomic: one
// before it, a fault armed at each of its statements in turn, one after each
// failed run, compared whole (as tst_fault_injection does).
class TableSnapshot
{
public:
    // Refused (SuiteError) while a fault is armed: its statements would be
    // counted and could set it off. Disarm first a fault that outlived the
    // command (N past its last statement).
    // leaveOut names what a command is meant to change, left out of the
    // snapshot: a table ("Bitacora") or a column ("Activo_Fijo.Fecha_Ult_Modif").
    static TableSnapshot take(suite::Connection &connection, const QStringList &leaveOut = {});

    bool operator==(const TableSnapshot &other) const { return m_rows == other.m_rows; }
    bool operator!=(const TableSnapshot &other) const { return !(*this == other); }

    // What changed from this snapshot to `later`: each table that differs
    // and the rows that appeared (+) and disappeared (-), a changed row being
    // one of each. Rows show their columns that are not NULL, as
    // "Column=value", so a difference fits in a QVERIFY2 message (cut at
    // about 1000 characters). Empty when the snapshots are equal.
    QString difference(const TableSnapshot &later) const;

    // A table's rows as "(value, value, ...)" in the schema's column order,
    // sorted; the table named as the schema spells it.
    QStringList rows(const QString &table) const;

    // One value: NULL; a text quoted as SQL writes it ('it''s'); a number as
    // the exact decimal it stands for, without trailing zeros (2 and 2.0
    // alike); dates as YYYY-MM-DD and stamps as YYYY-MM-DD HH:MM:SS.zzz,
    // whatever type the backend gave.
    static QString canonical(const QVariant &value);

private:
    using Row = QStringList; // canonical values in the schema's column order
    QMap<QString, QList<Row>> m_rows; // by table, sorted
    QStringList m_leaveOut;
};
