#pragma once

#include <QObject>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace suite {

// The rows a user marks in a search dialog's list, by their key (the first
// column), in the order they were marked; kept while the filter changes, so
// rows found by one filter and then another are marked together. A mark is
// the row's check box: a click on it, Space on the current row, Ctrl+click
// on a row, Shift+click for the rows from the last one clicked (marked in
// the list's order), Ctrl+A for every row shown (or none, when all are).
class SearchMarks : public QObject
{
    Q_OBJECT

public:
    explicit SearchMarks(QTreeWidget *list);

    QStringList keys() const { return m_keys; }
    bool isMarked(const QString &key) const { return m_keys.contains(key); }
    void setMarked(const QString &key, bool marked);
    void toggle(QTreeWidgetItem *item);

    // After the list was filled again: each row shows whether it is marked.
    void rowsShown();

Q_SIGNALS:
    void changed(int count);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void markRange(QTreeWidgetItem *to);
    void markAllShown();
    void showMark(QTreeWidgetItem *item);

    QTreeWidget *m_list;
    QStringList m_keys;
    QString m_anchor; // the row Shift+click counts from
    bool m_showing = false;
};

} // namespace suite
