#include "suite/data/DemoBatch.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"

#include <QDate>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString literal(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return u"NULL"_s;
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        QString number = QString::number(value.toDouble(), 'f', 6);
        while (number.endsWith(u'0'))
            number.chop(1);
        if (number.endsWith(u'.'))
            number.chop(1);
        return number;
    }
    case QMetaType::QDate:
        return u"'"_s + value.toDate().toString(u"yyyy-MM-dd"_s) + u"'"_s;
    case QMetaType::QDateTime:
        return u"'"_s + value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s) + u"'"_s;
    default:
        return u"'"_s + sqlEscape(value.toString()) + u"'"_s;
    }
}

} // namespace

DemoBatch::DemoBatch(Connection &connection, QString table, QStringList columns)
    : m_connection(connection), m_table(std::move(table)), m_columns(std::move(columns))
{
}

void DemoBatch::add(const QVariantList &values)
{
    Q_ASSERT(values.size() == m_columns.size());
    QStringList literals;
    for (const QVariant &v : values)
        literals.append(literal(v));
    m_rows.append(u"("_s + literals.join(u", "_s) + u")"_s);
    if (m_rows.size() >= 100)
        flush();
}

void DemoBatch::flush()
{
    if (m_rows.isEmpty())
        return;
    m_connection.Execute(u"INSERT INTO "_s + m_table + u" ("_s + m_columns.join(u", "_s) + u") VALUES\n"_s
                         + m_rows.join(u",\n"_s));
    m_rows.clear();
}

} // namespace suite
