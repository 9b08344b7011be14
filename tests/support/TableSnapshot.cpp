#include "tests/support/TableSnapshot.h"

#include "suite/data/Connection.h"
#include "suite/data/DecimalText.h"
#include "suite/data/Recordset.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

using Row = QStringList;

// Rows listed per table and direction in a difference; enough to see what a
// command did without burying the message.
constexpr int listedRows = 5;

QStringList columnNames(const suite::TableDef &table, const QStringList &leaveOut = {})
{
    QStringList names;
    for (const suite::ColumnDef &column : table.columns) {
        if (!leaveOut.contains(table.name + u'.' + column.name, Qt::CaseInsensitive))
            names.append(column.name);
    }
    return names;
}

// The rows of `all` that `others` lacks (both sorted), one line each.
void listRows(QString &out, const QString &sign, const QStringList &columns, const QList<Row> &all, const QList<Row> &others)
{
    QList<Row> rows;
    std::set_difference(all.begin(), all.end(), others.begin(), others.end(), std::back_inserter(rows));
    for (int i = 0; i < rows.size() && i < listedRows; ++i) {
        QStringList shown;
        const Row &row = rows.at(i);
        for (int c = 0; c < row.size(); ++c) {
            if (row.at(c) != u"NULL"_s)
                shown.append(columns.value(c, u"?"_s) + u'=' + row.at(c));
        }
        out += u"  "_s + sign + u' ' + shown.join(u", "_s) + u'\n';
    }
    if (rows.size() > listedRows)
        out += u"  %1 … y %2 filas más\n"_s.arg(sign).arg(rows.size() - listedRows);
}

} // namespace

TableSnapshot TableSnapshot::take(suite::Connection &connection, const QStringList &leaveOut)
{
    if (connection.faultArmed())
        throw suite::SuiteError(u"No se toma una instantánea con una falla simulada armada: desármela antes"_s);
    TableSnapshot snapshot;
    snapshot.m_leaveOut = leaveOut;
    for (const suite::TableDef &table : suite::Schema::tables()) {
        if (leaveOut.contains(table.name, Qt::CaseInsensitive))
            continue;
        const suite::RecordsetPtr result =
            connection.Execute(u"SELECT "_s + columnNames(table, leaveOut).join(u", "_s) + u" FROM "_s + table.name);
        // A long NUMERIC arrives as its exact text: written as a number all the same.
        QVector<bool> numeric;
        for (const QString &name : columnNames(table, leaveOut)) {
            const suite::ColumnKind kind = table.column(name)->kind;
            numeric.append(kind == suite::ColumnKind::Money || kind == suite::ColumnKind::Percent);
        }
        QList<Row> rows;
        for (const QVector<QVariant> &values : result->rows()) {
            Row row;
            for (qsizetype i = 0; i < values.size(); ++i)
                row.append(numeric.at(i) && values.at(i).typeId() == QMetaType::QString && !values.at(i).isNull()
                               ? values.at(i).toString()
                               : canonical(values.at(i)));
            rows.append(row);
        }
        // Sorted here rather than by ORDER BY: the backends order NULLs and
        // texts differently, the canonical texts sort alike everywhere.
        std::sort(rows.begin(), rows.end());
        snapshot.m_rows.insert(table.name, rows);
    }
    return snapshot;
}

QStringList TableSnapshot::rows(const QString &table) const
{
    QStringList out;
    for (const Row &row : m_rows.value(table))
        out.append(u'(' + row.join(u", "_s) + u')');
    return out;
}

QString TableSnapshot::difference(const TableSnapshot &later) const
{
    QString out;
    for (const suite::TableDef &table : suite::Schema::tables()) {
        const QList<Row> before = m_rows.value(table.name);
        const QList<Row> after = later.m_rows.value(table.name);
        if (before == after)
            continue;
        const QStringList columns = columnNames(table, m_leaveOut);
        out += table.name + u":\n"_s;
        listRows(out, u"+"_s, columns, after, before);
        listRows(out, u"-"_s, columns, before, after);
    }
    return out;
}

QString TableSnapshot::canonical(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return u"NULL"_s;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? u"1"_s : u"0"_s;
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::Short: case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULong: case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Float: case QMetaType::Double:
        // Whole numbers alike whether the backend kept them as integers or not.
        return suite::DecimalText::fromDouble(value.toDouble()).value_or(value.toString());
    case QMetaType::QDate:
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s);
    default: {
        QString text = value.toString();
        return u'\'' + text.replace(u'\'', u"''"_s) + u'\'';
    }
    }
}
