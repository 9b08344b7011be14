#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <utility>

namespace suite {

class Connection;

// Writes what a command changed in one record into table Historial: the
// record's values as read before the command's writes and again just before
// its commit, compared one by one, give a row for each value that differs,
// whatever statements made the difference. Runs inside the command's
// transaction, so a command rolled back leaves no history. Every failure
// raises SuiteError with the database's text.
class RecordHistory
{
public:
    // A record's values in its own order, each under what it is of (a column,
    // "distribución 000120"...); a NULL, or a part the record does not have,
    // is a null value. Values are compared as textOf() gives them.
    using Values = QList<std::pair<QString, QVariant>>;

    RecordHistory(Connection &connection, const QString &entity, const QString &key);

    // A database value as the history keeps it, the same text whatever the
    // backend gave: numbers as their exact decimal without trailing zeros,
    // dates YYYY-MM-DD, stamps YYYY-MM-DD HH:MM:SS (.zzz when it has them),
    // texts as they are; NULL stays null.
    static QVariant textOf(const QVariant &value);

    // One row for each value that differs, as `command` by user at the
    // stamp (asked for only then); nothing at all when none does. Returns
    // the rows written.
    int record(const Values &before, const Values &after, const QString &command, const QString &user,
               const std::function<QString()> &stamp) const;

private:
    using Change = std::pair<QString, std::pair<QVariant, QVariant>>;
    static QList<Change> changes(const Values &before, const Values &after);

    Connection &m_connection;
    QString m_entity;
    QString m_key;
};

} // namespace suite
