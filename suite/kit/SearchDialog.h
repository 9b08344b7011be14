#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace suite {

class Connection;

// The search dialog of one query of table Consulta (its statement's first
// column is the key, the others describe it). It filters as the user types,
// in the database, on the key and the description (the second column),
// literally (quotes and wildcards are not special), and shows at most maxRows
// rows. Enter or a double click chooses; Esc cancels.
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
    void setFilter(const QString &text);
    int rowCount() const;
    QStringList rowTexts(int row) const;
    bool capped() const { return m_capped; }   // more rows match than are shown
    QString errorText() const { return m_error; }
    QString chosenKey() const { return m_chosen; }
    QLineEdit *filterBox() const { return m_filter; }
    QTreeWidget *resultList() const { return m_list; }

public Q_SLOTS:
    void choose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    QString statementFor(const QString &filter) const;

    Connection *m_connection;
    QString m_queryId;
    int m_maxRows;
    QString m_title;
    QString m_statement;
    QStringList m_columns;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    bool m_capped = false;
    QString m_error;
    QString m_chosen;
};

} // namespace suite
