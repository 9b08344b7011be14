#pragma once

#include "suite/kit/SearchQuery.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace suite {

class Connection;
class SearchMarks;
class SearchRunner;

// The search dialog of one query of table Consulta (its statement's first
// column is the key, the others describe it). It filters as the user types,
// in the database, on the key and the description (the second column),
// literally (quotes and wildcards are not special), and shows at most maxRows
// rows (see SearchQuery). Typing never waits for a search: they run on a
// connection of their own, the last filter's only. Enter or a double click
// chooses, from the rows of what is typed; Esc cancels. Rows can be marked
// (SearchMarks) for what the dialog offers to do with them.
class SearchDialog : public QDialog
{
    Q_OBJECT

public:
    // Throws SuiteError when the query id is unknown.
    SearchDialog(Connection *connection, const QString &queryId, int maxRows,
                 QWidget *parent = nullptr);
    ~SearchDialog() override;

    QString title() const { return m_title; }
    QString filter() const;
    // Types text as a whole and returns once its rows are shown.
    void setFilter(const QString &text);
    // Returns once the rows of what is typed are shown.
    void waitForRows();
    int rowCount() const;
    QStringList rowTexts(int row) const;
    bool capped() const { return m_capped; }   // more rows match than are shown
    bool partial() const { return m_partial; } // only the first keys were looked at
    QString errorText() const { return m_error; }
    QString chosenKey() const { return m_chosen; }
    QLineEdit *filterBox() const { return m_filter; }
    QTreeWidget *resultList() const { return m_list; }

    // A button that runs action on the keys of the marked rows, in the order
    // they were marked, and leaves the dialog open; enabled while any is.
    QPushButton *addAction(const QString &caption, const std::function<void(const QStringList &keys)> &action);
    SearchMarks *marks() const { return m_marks; }

public Q_SLOTS:
    void choose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void searchHere();
    void showRows(const SearchQuery::Result &result);
    void showError(const QString &error);
    void setUpColumns(const QStringList &columns);

    Connection *m_connection;
    QString m_queryId;
    int m_maxRows;
    QString m_title;
    std::unique_ptr<SearchQuery> m_query;
    std::unique_ptr<SearchRunner> m_runner;
    QTimer m_searchHere;   // searches still to run on the dialog's own connection
    QTimer m_searching;    // says so when a search takes a while
    bool m_waiting = false;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_marked = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    SearchMarks *m_marks = nullptr;
    bool m_capped = false;
    bool m_partial = false;
    QString m_error;
    QString m_chosen;
};

} // namespace suite
