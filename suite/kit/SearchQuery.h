#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

namespace suite {

class Connection;
class Dialect;
struct SearchIndexDef;

// The rows a search definition (a statement of table Consulta: its first
// column the key, the second the description) shows for a filter: those
// whose key or description contains the filter, literally and ignoring case
// as the backend's case-insensitive LIKE does, in key order, at most maxRows.
//
// A definition that reads one table of the schema's search indexes by its
// key and description is answered in steps that each stay small however
// large the table grows: the first rows in key order, reading on from the
// last match while the matches say the list fills soon, and otherwise the
// keys the trigram index finds. The index only narrows the rows down: every
// row shown passed the same filter as without it. A filter the index cannot
// serve (shorter than a trigram) is looked for among the first rows in key
// order only, and the result says so.
class SearchQuery
{
public:
    struct Result
    {
        QStringList columns;
        QVector<QVector<QVariant>> rows;
        bool capped = false;   // more rows match than are shown
        bool partial = false;  // only the first rows in key order were looked at
    };

    // How many rows in key order a filter the index cannot serve is looked
    // for among.
    static constexpr int FirstRows = 1000;

    SearchQuery(const QString &statement, int maxRows);

    // The definition's columns, known once it has run unfiltered.
    void setColumns(const QStringList &columns) { m_columns = columns; }
    const QStringList &columns() const { return m_columns; }
    // The search index that serves this definition; null when none does.
    const SearchIndexDef *index() const { return m_index; }
    // Forgets the index when the database does not have it (not upgraded
    // yet): the definition is then searched as one without. Throws SuiteError.
    void checkIndex(Connection &connection);

    // Throws SuiteError. stop is asked between statements: when it answers
    // true the search gives up and gives no result.
    std::optional<Result> run(Connection &connection, const QString &filter,
                              const std::function<bool()> &stop = {}) const;

    // The same rows without an index: one statement that reads the rows in
    // key order until it has maxRows + 1 that match (all of them, for a rare
    // filter). What the dialog did before it had indexes, and what it still
    // does for a definition none serves.
    QString plainStatement(const Dialect &dialect, const QString &filter) const;

private:
    QString rows() const;
    QString condition(const Dialect &dialect, const QString &filter) const;
    QString keyOrder(const Dialect &dialect, const QString &condition, const QVariant &after, int rows,
                     int wanted) const;

    QString m_statement;
    int m_maxRows;
    QStringList m_columns;
    const SearchIndexDef *m_index = nullptr;
};

} // namespace suite
