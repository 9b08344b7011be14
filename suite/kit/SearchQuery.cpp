#include "suite/kit/SearchQuery.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlLexer.h"
#include "suite/data/SqlText.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The rows in key order a search reads first when the index can serve it:
// as many as a text found in a third of the rows needs to fill the list.
constexpr int FirstLook = 300;
// The index finds this many rows at most for a search to read them by key,
// a look-up each (about 2 µs), rather than in key order (about 1 µs a row,
// 101 matches wanted).
constexpr int FewKeys = 5000;
// The most rows in key order a search reads before it takes every row the
// index finds, however many.
constexpr int MostRows = 30000;

using Kind = SqlLexer::Kind;

// The solid tokens of an SQL text, words in capitals, one blank apart.
QStringList words(const QVector<SqlLexer::Token> &tokens)
{
    QStringList out;
    for (const auto &t : tokens) {
        if (t.kind == Kind::Space || t.kind == Kind::Comment)
            continue;
        out << (t.kind == Kind::Word ? t.text.toUpper() : t.text);
    }
    return out;
}

// "SELECT key [AS a], description [AS b] ... FROM Table [WHERE ...]" over a
// table with a search index of that key and that description: the index.
// Anything else (a join, an alias of the table, DISTINCT, another
// expression) is served by no index.
const SearchIndexDef *servingIndex(const QString &statement)
{
    const QStringList w = words(SqlLexer::tokenize(statement));
    if (w.isEmpty() || w.first() != u"SELECT"_s)
        return nullptr;
    QVector<QStringList> items(1);
    int depth = 0;
    qsizetype i = 1;
    for (; i < w.size(); ++i) {
        const QString &t = w.at(i);
        if (t == u"("_s)
            ++depth;
        else if (t == u")"_s)
            --depth;
        if (depth == 0 && t == u"FROM"_s)
            break;
        if (depth == 0 && t == u","_s)
            items.append(QStringList());
        else
            items.last() << t;
    }
    if (i + 1 >= w.size() || items.size() < 2 || (i + 2 < w.size() && w.at(i + 2) != u"WHERE"_s))
        return nullptr;
    for (QStringList &item : items) {
        if (item.size() > 2 && item.at(item.size() - 2) == u"AS"_s)
            item.resize(item.size() - 2);
    }
    for (const SearchIndexDef &index : Schema::searchIndexes()) {
        if (index.table.compare(w.at(i + 1), Qt::CaseInsensitive) == 0
            && items.at(0) == words(SqlLexer::tokenize(index.key))
            && items.at(1) == words(SqlLexer::tokenize(index.description)))
            return &index;
    }
    return nullptr;
}

} // namespace

SearchQuery::SearchQuery(const QString &statement, int maxRows)
    : m_statement(statement)
    , m_maxRows(maxRows)
    , m_index(servingIndex(statement))
{
}

void SearchQuery::checkIndex(Connection &connection)
{
    if (m_index && !connection.dialect().hasSearchIndex(*m_index, connection.database()))
        m_index = nullptr;
}

QString SearchQuery::rows() const
{
    return u"SELECT * FROM ("_s + m_statement + u") q"_s;
}

QString SearchQuery::condition(const Dialect &dialect, const QString &filter) const
{
    // Searched literally: wildcards escaped for LIKE, quotes doubled.
    const QString pattern = u"'%"_s + sqlEscape(Dialect::likeEscape(filter)) + u"%'"_s;
    QStringList conditions;
    for (int i = 0; i < qMin<qsizetype>(2, m_columns.size()); ++i) {
        conditions << u"CAST(q.%1 AS VARCHAR(400)) %2 %3%4"_s.arg(m_columns.at(i), dialect.caseInsensitiveLike(),
                                                                 pattern, Dialect::likeEscapeClause());
    }
    return u"("_s + conditions.join(u" OR "_s) + u')';
}

QString SearchQuery::plainStatement(const Dialect &dialect, const QString &filter) const
{
    QString statement = rows();
    const QString trimmed = filter.trimmed();
    if (!trimmed.isEmpty() && !m_columns.isEmpty())
        statement += u" WHERE "_s + condition(dialect, trimmed);
    // One row more than shown tells whether there are more.
    return dialect.limit(statement + u" ORDER BY 1"_s, m_maxRows + 1);
}

// The matches among `rows` rows in key order, after the key `after` (from
// the first when null), `wanted` at most.
QString SearchQuery::keyOrder(const Dialect &dialect, const QString &condition, const QVariant &after, int rows,
                              int wanted) const
{
    QString from = this->rows();
    if (after.isValid()) {
        const bool number = after.typeId() == QMetaType::Int || after.typeId() == QMetaType::LongLong
                            || after.typeId() == QMetaType::Double;
        from += u" WHERE q.%1 > %2"_s.arg(m_columns.first(), number ? after.toString()
                                                                    : u"'"_s + sqlEscape(after.toString()) + u"'"_s);
    }
    // Read in key order and stopped at the rows wanted.
    return dialect.limit(u"SELECT * FROM ("_s + dialect.limit(from + u" ORDER BY 1"_s, rows) + u") q WHERE "_s
                             + condition + (dialect.keepsSubqueryOrder() ? QString() : u" ORDER BY 1"_s),
                         wanted);
}

std::optional<SearchQuery::Result> SearchQuery::run(Connection &connection, const QString &filter,
                                                    const std::function<bool()> &stop) const
{
    const Dialect &dialect = connection.dialect();
    const QString text = filter.trimmed();
    Result result;
    auto shown = [&](const RecordsetPtr &found) {
        result.columns = found->columns();
        result.rows += found->rows();
        result.capped = result.rows.size() > m_maxRows;
        result.rows.resize(std::min<qsizetype>(result.rows.size(), m_maxRows));
        return result;
    };
    if (text.isEmpty() || m_columns.isEmpty() || !m_index)
        return shown(connection.Execute(plainStatement(dialect, text)));

    const QString matches = condition(dialect, text);
    const int wanted = m_maxRows + 1;
    auto moreThan = [&](int rows) {
        return !connection.Execute(this->rows() + u" ORDER BY 1"_s + dialect.limitClause(1) + u" OFFSET %1"_s.arg(rows))
                    ->Eof();
    };
    const QString count = dialect.searchCountSql(*m_index, text, FewKeys);
    if (count.isEmpty()) {
        // Too short for the index: the first rows in key order, and word when there are more.
        shown(connection.Execute(keyOrder(dialect, matches, {}, FirstRows, wanted)));
        result.partial = !result.capped && moreThan(FirstRows);
        return result;
    }

    // A frequent text fills the list from the first rows in key order.
    shown(connection.Execute(keyOrder(dialect, matches, {}, FirstLook, wanted)));
    if (result.capped || !moreThan(FirstLook))
        return result;
    if (stop && stop())
        return std::nullopt;

    // Reading on in key order from the last match, for the rows still wanted.
    auto readOn = [&](int rows) {
        const QVariant last = result.rows.isEmpty() ? QVariant() : result.rows.constLast().constFirst();
        Result before = result;
        shown(connection.Execute(keyOrder(dialect, matches, last, rows, wanted - int(result.rows.size()))));
        if (!result.capped)
            result = before;
        return result.capped;
    };
    // How far the list fills, judged from the matches among the first rows:
    // within bounds, reading on costs less than asking the index (a text that
    // frequent has more rows than are read by key).
    const qsizetype seen = result.rows.size();
    const qint64 near = seen > 0 ? 2 * (wanted - seen) * qint64(FirstLook) / seen : MostRows + 1;
    if (near <= MostRows && readOn(int(near)))
        return result;
    if (stop && stop())
        return std::nullopt;

    // A rarer text: the keys the index finds, read by key when they are few;
    // many, the key order holds the list within bounds, most likely; where it
    // does not, every key the index gives.
    if (connection.Execute(count)->fieldValue(0).toInt() > FewKeys && readOn(MostRows))
        return result;
    if (stop && stop())
        return std::nullopt;
    const QString found = dialect.searchConditionSql(*m_index, text, u"q."_s + m_columns.at(0), u"q."_s + m_columns.at(1));
    result.rows.clear();
    return shown(connection.Execute(dialect.searchRowsSql(rows() + u" WHERE "_s + found + u" AND "_s + matches, wanted)));
}

} // namespace suite
