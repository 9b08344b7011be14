#pragma once

#include <QString>
#include <QTableWidget>
#include <QVariant>
#include <QVector>

class QLineEdit;

namespace suite {

// The suite's data grid (the cost-centre distribution). Columns are
// addressed by name or index and carry a caption, a data type code (the
// platform's variant codes: 2 integer, 3 long, 4 single, 5 double, 6
// currency, 8 text) and a number format. Each cell has a text (what is shown
// and typed) and a value (the typed content: a number in numeric columns).
// Below the rows is the new-row line, where new rows are typed.
//
// Notifications are raised as the screen expects them, with by-reference
// answers (connect with Qt::DirectConnection):
// - KeyPress(keyAscii) for every typed character; 0 drops it, another code
//   replaces it;
// - KeyDown/KeyUp(keyCode, shift) for every key;
// - Change() when the user edits the current cell's content (not when code
//   writes a cell);
// - BeforeRowColChange(cancel) before the user (or setCurrentCell) leaves the
//   current cell; a non-zero cancel keeps the grid on it. Loading moves
//   (AddNew, Update, MoveFirst, MoveNext, RemoveAll) raise nothing;
// - BeforeDelete(cancel, dispPromptMsg) before deleteSelectedRows removes
//   rows; with dispPromptMsg non-zero (the default) the user is asked first.
class DataGrid : public QTableWidget
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void addColumn(const QString &name, const QString &caption, int dataType,
                   const QString &numberFormat = {});
    int columnCount() const;
    int columnIndex(const QString &name) const;   // -1 when there is no such column
    QString columnName(int column) const;
    QString columnCaption(int column) const;
    int columnDataType(int column) const;
    QString columnNumberFormat(int column) const;
    // A locked column is filled by code only (the user cannot type in it).
    void setColumnLocked(const QString &name, bool locked);

    int Col() const;   // current column, -1 when none
    int Row() const;   // current row; == Rows() on the new-row line, -1 when none
    int Rows() const;  // committed and pending rows, without the new-row line

    // Cells of the current row; the current cell being typed reads and
    // writes what is in its editor.
    QString cellText(const QString &column) const;
    QVariant cellValue(const QString &column) const;
    void setCellText(const QString &column, const QString &text);
    void setCellValue(const QString &column, const QVariant &value);
    // Cells of any row.
    QString text(int row, const QString &column) const;
    QVariant value(int row, const QString &column) const;
    void setText(int row, const QString &column, const QString &text);
    void setValue(int row, const QString &column, const QVariant &value);

    void setRedraw(bool on);
    void RemoveAll();
    void AddNew();
    void Update();
    void MoveFirst();
    void MoveNext();
    // Makes a cell current as a click would: through BeforeRowColChange;
    // false when it was refused.
    bool setCurrentCell(int row, int column);
    // Removes the selected rows (or the current one), as Ctrl+Delete and the
    // context menu do.
    void deleteSelectedRows();
    Q_INVOKABLE void limpia() { RemoveAll(); }

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }
    bool isOwnEnabled() const;
    void setRowColors(int evenBgr, int oddBgr);

Q_SIGNALS:
    void KeyPress(short &keyAscii);
    void KeyDown(short &keyCode, short shift);
    void KeyUp(short &keyCode, short shift);
    void Change();
    void BeforeRowColChange(short &cancel);
    void BeforeDelete(short &cancel, short &dispPromptMsg);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    class Delegate;
    friend class Delegate;
    void installCellEditors(); // with the handlers that take the keys

    struct Column
    {
        QString name;
        QString caption;
        int dataType = 8;
        QString numberFormat;
        bool locked = false;
    };

    bool isNumeric(int column) const;
    QString displayText(int column, const QVariant &value) const;
    QVariant valueFromText(int column, const QString &text) const;
    void storeText(int row, int column, const QString &text);
    void storeValue(int row, int column, const QVariant &value);
    void insertBlankRow(int row);   // quietly, with an empty item in every cell
    void appendNewRowLine();
    int newRowLine() const;
    void promoteNewRowLine();
    void updateRowHeaders();
    bool askLeave();
    bool editorKeyEvent(QLineEdit *editor, QKeyEvent *event);
    bool notifyKeyDown(QKeyEvent *event, short &ascii);
    bool rowIsEmpty(int row) const;
    void onEditorTextEdited();
    void setCurrentQuietly(int row, int column);
    bool editorOn(int row, int column) const;

    QVector<Column> m_columns;
    QString m_caption;
    QLineEdit *m_editor = nullptr;
    int m_editorRow = -1;
    int m_editorColumn = -1;
    int m_pendingRow = -1;        // row promoted from the new-row line and not yet committed
    int m_quiet = 0;              // loading moves: no notifications
    bool m_asking = false;
    bool m_forwardingKey = false; // the grid hands a typed key to the editor it opens
    bool m_skipNotify = false;    // a key the editor did not take, already notified
    int m_evenBgr = 16777215;
    int m_oddBgr = 15527663;
};

} // namespace suite
