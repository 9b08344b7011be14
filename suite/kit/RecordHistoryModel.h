#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace suite {

class Connection;

// A record's history (table Historial), newest first: each change a command
// made to one of its values. Read a page at a time as a view scrolls down to
// it (Qt's fetchMore), so a record changed thousands of times opens at once.
class RecordHistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int PageRows = 100;

    // Reads the first page; a database without the table has no history.
    RecordHistoryModel(Connection &connection, const QString &entity, const QString &key,
                       QObject *parent = nullptr);

    // What each change holds, in column order: fecha, operador, orden, campo, anterior, nuevo.
    static const QStringList &fields();
    // One change's values as read (NULL: no value).
    QVariantList change(int row) const { return m_rows.value(row); }
    // Older changes follow the rows read so far.
    bool hasMore() const { return m_more; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QList<QVariantList> readPage(); // the page after the rows read so far

    Connection &m_connection;
    QString m_entity;
    QString m_key;
    QList<QVariantList> m_rows;
    QVariant m_lastNumber; // Hi_Numero of the last row read
    bool m_more = false;
};

} // namespace suite
