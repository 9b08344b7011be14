#include "bench/generate/BulkInsert.h"

#include "bench/generate/SqlRun.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace bench {

BulkInsert::BulkInsert(QSqlDatabase database, const QString &table, const QStringList &columns,
                       int rowsPerStatement)
    : m_database(std::move(database))
    , m_head(u"INSERT INTO "_s + table + u" ("_s + columns.join(u", "_s) + u") VALUES "_s)
    , m_columns(int(columns.size()))
    , m_rowsPerStatement(rowsPerStatement)
{
}

// A writer that goes out of scope unflushed was abandoned by an error: its
// rows are dropped with the transaction they belonged to.
BulkInsert::~BulkInsert() = default;

void BulkInsert::separate()
{
    if (m_values == 0) {
        if (m_pending == 0) {
            m_sql.reserve(m_head.size() + m_rowsPerStatement * (m_columns * 12 + 4));
            m_sql += m_head;
        } else {
            m_sql += u",\n"_s;
        }
        m_sql += u'(';
    } else {
        m_sql += u", "_s;
    }
    ++m_values;
}

BulkInsert &BulkInsert::text(const QString &value)
{
    separate();
    m_sql += u'\'';
    if (value.contains(u'\''))
        m_sql += QString(value).replace(u"'"_s, u"''"_s);
    else
        m_sql += value;
    m_sql += u'\'';
    return *this;
}

BulkInsert &BulkInsert::integer(qint64 value)
{
    separate();
    m_sql += QString::number(value);
    return *this;
}

BulkInsert &BulkInsert::cents(qint64 value)
{
    separate();
    if (value < 0) {
        m_sql += u'-';
        value = -value;
    }
    m_sql += QString::number(value / 100);
    m_sql += u'.';
    const int fraction = int(value % 100);
    if (fraction < 10)
        m_sql += u'0';
    m_sql += QString::number(fraction);
    return *this;
}

BulkInsert &BulkInsert::real(double value)
{
    separate();
    m_sql += QString::number(value, 'g', QLocale::FloatingPointShortest);
    return *this;
}

// Dates are formatted by hand: a million assets carry several each, and
// this is where a generic formatter would spend the time.
void BulkInsert::digits(int value, int width)
{
    QChar buffer[8];
    for (int i = width - 1; i >= 0; --i) {
        buffer[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    m_sql.append(buffer, width);
}

BulkInsert &BulkInsert::date(const QDate &value)
{
    if (!value.isValid())
        return null();
    separate();
    int year = 0, month = 0, day = 0;
    value.getDate(&year, &month, &day);
    m_sql += u'\'';
    digits(year, 4);
    m_sql += u'-';
    digits(month, 2);
    m_sql += u'-';
    digits(day, 2);
    m_sql += u'\'';
    return *this;
}

BulkInsert &BulkInsert::stamp(const QDate &day, int secondOfDay)
{
    if (!day.isValid())
        return null();
    date(day);
    m_sql.chop(1);
    m_sql += u' ';
    digits(secondOfDay / 3600, 2);
    m_sql += u':';
    digits(secondOfDay / 60 % 60, 2);
    m_sql += u':';
    digits(secondOfDay % 60, 2);
    m_sql += u'\'';
    return *this;
}

BulkInsert &BulkInsert::null()
{
    separate();
    m_sql += u"NULL"_s;
    return *this;
}

void BulkInsert::endRow()
{
    Q_ASSERT(m_values == m_columns);
    m_sql += u')';
    m_values = 0;
    if (++m_pending >= m_rowsPerStatement)
        flush();
}

void BulkInsert::flush()
{
    Q_ASSERT(m_values == 0);
    if (m_pending == 0)
        return;
    SqlRun::exec(m_database, m_sql);
    m_written += m_pending;
    m_pending = 0;
    m_sql.clear();
}

} // namespace bench
