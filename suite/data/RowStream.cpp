#include "suite/data/RowStream.h"

#include "suite/data/Connection.h"
#include "suite/data/RowReader.h"
#include "suite/data/SuiteError.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Enough rows to make each round trip worth it, few enough to stay small.
constexpr int BatchRows = 2000;

std::atomic<int> cursorCounter{0};

} // namespace

RowStream::RowStream(QStringList columns, Rows first, Fetch fetch, std::function<void()> close)
    : m_columns(std::move(columns))
    , m_batch(std::move(first))
    , m_fetch(std::move(fetch))
    , m_close(std::move(close))
{
}

RowStream::~RowStream() = default;

int RowStream::columnIndex(const QString &name) const
{
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool RowStream::next()
{
    if (m_ended)
        return false;
    if (++m_position < m_batch.size())
        return true;
    m_batch = m_fetch ? m_fetch() : Rows();
    m_position = 0;
    if (m_batch.isEmpty()) {
        m_ended = true;
        return false;
    }
    return true;
}

const QVariant &RowStream::value(int column) const
{
    if (m_ended || m_position < 0 || m_position >= m_batch.size())
        throw SuiteError(u"BOF o EOF es True, o el registro actual se eliminó"_s);
    const QVector<QVariant> &row = m_batch.at(m_position);
    if (column < 0 || column >= row.size())
        throw SuiteError(u"El índice de campo %1 está fuera del intervalo"_s.arg(column));
    return row.at(column);
}

void RowStream::close()
{
    if (m_ended)
        return;
    m_ended = true;
    m_batch.clear();
    if (m_close)
        m_close();
}

std::unique_ptr<RowStream> RowStream::fromQuery(std::shared_ptr<QSqlQuery> query, const Dialect &dialect)
{
    auto reader = std::make_shared<RowReader>(dialect, query->record());
    auto fetch = [query, reader]() {
        Rows rows;
        while (rows.size() < BatchRows && query->next())
            rows.append(reader->read(*query));
        return rows;
    };
    Rows first = fetch();
    return std::make_unique<RowStream>(reader->columns(), std::move(first), fetch, [query] { query->finish(); });
}

std::unique_ptr<RowStream> RowStream::throughCursor(Connection &connection, const QString &statement)
{
    if (!connection.inTransaction() && connection.unitDepth() == 0)
        throw SuiteError(u"Una lectura por partes necesita una transacción abierta en PostgreSQL."_s);
    const QString cursor = u"talvexor_cursor_%1"_s.arg(++cursorCounter);
    connection.Execute(u"DECLARE "_s + cursor + u" NO SCROLL CURSOR FOR "_s + statement);
    const QString fetchSql = u"FETCH FORWARD %1 FROM %2"_s.arg(BatchRows).arg(cursor);
    Connection *link = &connection;
    const RecordsetPtr first = link->Execute(fetchSql);
    auto fetch = [link, fetchSql]() { return link->Execute(fetchSql)->rows(); };
    auto close = [link, cursor] {
        if (link->inTransaction() || link->unitDepth() > 0)
            link->Execute(u"CLOSE "_s + cursor);
    };
    return std::make_unique<RowStream>(first->columns(), first->rows(), fetch, close);
}

} // namespace suite
