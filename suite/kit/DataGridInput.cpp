#include "suite/kit/DataGrid.h"

#include "suite/kit/KeyCodes.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

// How the grid takes keys, the mouse and its cell editors: every key is seen
// by the grid's handlers before a cell editor gets it.

namespace suite {

namespace {

// The character a key types, as the platform's key-press code: Enter 13,
// Backspace 8, Esc 27, or the character itself; -1 for keys that type none.
int characterCode(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return -1;
    default: break;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return -1;
    const int code = text.at(0).unicode();
    return code <= 0x7FFF ? code : -1;
}

bool isNavigationKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool isCtrlDelete(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier);
}

} // namespace

// Line editors for the cells; reports the editor in use to the grid and lets
// the grid see every key before the editor does.
class DataGrid::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(DataGrid *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (m_grid->isNumeric(index.column()))
            editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->m_editor = editor;
        m_grid->m_editorRow = index.row();
        m_grid->m_editorColumn = index.column();
        connect(editor, &QLineEdit::textEdited, m_grid, &DataGrid::onEditorTextEdited);
        DataGrid *grid = m_grid;
        connect(editor, &QObject::destroyed, grid, [grid, editor] {
            if (grid->m_editor == editor)
                grid->m_editor = nullptr;
        });
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        m_grid->storeText(index.row(), index.column(), static_cast<QLineEdit *>(editor)->text());
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (m_grid->m_editor == editor)
            m_grid->m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QLineEdit *>(watched);
        if (editor && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (m_grid->editorKeyEvent(editor, key))
                return true;
        }
        // The focus going elsewhere (the toolbar's accept, another field)
        // leaves the cell too: the screen checks it as it would on a move.
        // The cell is left whatever the answer.
        if (editor && event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            QWidget *next = QApplication::focusWidget();
            if (!next || (next != m_grid && !m_grid->isAncestorOf(next)))
                m_grid->askLeave();
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    DataGrid *m_grid;
};

void DataGrid::installCellEditors()
{
    setItemDelegate(new Delegate(this));
}

bool DataGrid::notifyKeyDown(QKeyEvent *event, short &ascii)
{
    const int vk = virtualKeyCode(event);
    short code = short(vk);
    Q_EMIT KeyDown(code, short(shiftState(event)));
    if (vk != 0 && code == 0)
        return false;
    ascii = -1;
    const int ch = characterCode(event);
    if (ch >= 0) {
        short typed = short(ch);
        Q_EMIT KeyPress(typed);
        if (typed == 0)
            return false;
        ascii = typed;
    }
    return true;
}

bool DataGrid::editorKeyEvent(QLineEdit *editor, QKeyEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        short code = short(virtualKeyCode(event));
        Q_EMIT KeyUp(code, short(shiftState(event)));
        event->accept();
        return true;   // the grid has reported it; it goes no further
    }
    if (m_forwardingKey)
        return false;  // the key that opened this editor, already reported
    QPointer<QLineEdit> alive(editor);
    short ascii = -1;
    const int original = characterCode(event);
    if (!notifyKeyDown(event, ascii) || !alive || m_editor != editor) {
        event->accept();
        return true;
    }
    if (ascii > 0 && ascii != original) {
        editor->insert(QString(QChar(ushort(ascii))));
        event->accept();
        return true;
    }
    if (isCtrlDelete(event)) {
        deleteSelectedRows();
        event->accept();
        return true;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (!askLeave()) {
            event->accept();
            return true;
        }
        return false;  // the delegate commits and moves on
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        return false;  // the delegate commits or reverts
    // The editor takes the key; what it leaves (arrows up and down, page
    // keys) goes to the grid without being reported twice.
    event->accept();
    static_cast<QObject *>(editor)->event(event);
    if (!event->isAccepted() && alive) {
        m_skipNotify = true;
        keyPressEvent(event);
        m_skipNotify = false;
    }
    event->accept();
    return true;
}

bool DataGrid::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && state() != EditingState) {
            // Tab moves between cells; QWidget would take it before keyPressEvent.
            short ascii = -1;
            if (!notifyKeyDown(key, ascii) || !askLeave()) {
                key->accept();
                return true;
            }
        }
    }
    return QTableWidget::event(event);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    short ascii = -1;
    const int original = characterCode(event);
    if (!m_skipNotify && !notifyKeyDown(event, ascii)) {
        event->accept();
        return;
    }
    if (isCtrlDelete(event)) {
        deleteSelectedRows();
        event->accept();
        return;
    }
    if (isNavigationKey(event) && !askLeave()) {
        event->accept();
        return;
    }
    if (ascii > 0 && ascii != original) {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(), QString(QChar(ushort(ascii))));
        m_forwardingKey = true;
        QTableWidget::keyPressEvent(&replaced);
        m_forwardingKey = false;
        event->setAccepted(replaced.isAccepted());
        return;
    }
    m_forwardingKey = true;
    QTableWidget::keyPressEvent(event);
    m_forwardingKey = false;
}

void DataGrid::keyReleaseEvent(QKeyEvent *event)
{
    short code = short(virtualKeyCode(event));
    Q_EMIT KeyUp(code, short(shiftState(event)));
    QTableWidget::keyReleaseEvent(event);
}

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    const QModelIndex current = currentIndex();
    if (target.isValid() && current.isValid() && target != current && !askLeave()) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void DataGrid::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *remove = menu.addAction(u"Eliminar renglones seleccionados\tCtrl+Supr"_s);
    remove->setEnabled(isEnabled() && Rows() > 0);
    if (menu.exec(event->globalPos()) == remove)
        deleteSelectedRows();
}

bool DataGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (index.isValid() && index.column() < m_columns.size() && m_columns.at(index.column()).locked
        && trigger != QAbstractItemView::NoEditTriggers)
        return false;
    const bool opened = QTableWidget::edit(index, trigger, event);
    if (opened && m_editor && m_editorRow == newRowLine())
        promoteNewRowLine();
    return opened;
}

void DataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableWidget::closeEditor(editor, hint);
    // A row started on the new-row line and left empty goes away again.
    const int pending = m_pendingRow;
    if (pending >= 0 && pending < Rows() && rowIsEmpty(pending)
        && (Row() != pending || !m_editor || hint == QAbstractItemDelegate::RevertModelCache)) {
        const int column = qMax(0, Col());
        const bool wasCurrent = Row() == pending;
        ++m_quiet;
        removeRow(pending);
        --m_quiet;
        m_pendingRow = -1;
        if (wasCurrent)
            setCurrentQuietly(newRowLine(), column);
        updateRowHeaders();
    }
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableWidget::currentChanged(current, previous);
    if (m_pendingRow >= 0 && current.row() != m_pendingRow && previous.row() == m_pendingRow
        && !rowIsEmpty(m_pendingRow))
        m_pendingRow = -1;   // the row is committed when it is left
    updateRowHeaders();
}

void DataGrid::onEditorTextEdited()
{
    Q_EMIT Change();
}

} // namespace suite
