#include "suite/kit/DataGrid.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/NumberFormat.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStyledItemDelegate>
#include <set>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr int ValueRole = Qt::UserRole + 1;

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

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

DataGrid::DataGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setProperty("tag", QString());
    setItemDelegate(new Delegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(22);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    setRowColors(m_evenBgr, m_oddBgr);
    appendNewRowLine();
}

DataGrid::~DataGrid() = default;

void DataGrid::addColumn(const QString &name, const QString &caption, int dataType, const QString &numberFormat)
{
    m_columns.append({name, caption, dataType, numberFormat, false});
    const int c = m_columns.size() - 1;
    QTableWidget::setColumnCount(m_columns.size());
    setHorizontalHeaderItem(c, new QTableWidgetItem(caption));
    for (int r = 0; r < rowCount(); ++r)
        setItem(r, c, new QTableWidgetItem());
    // The first text column holds keys; later text columns describe them and
    // take the room left.
    int textColumns = 0;
    for (int i = 0; i < c; ++i)
        textColumns += isNumeric(i) ? 0 : 1;
    if (!isNumeric(c) && textColumns > 0) {
        horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    } else {
        horizontalHeader()->setSectionResizeMode(c, QHeaderView::Interactive);
        setColumnWidth(c, isNumeric(c) ? 120 : 100);
    }
    if (isNumeric(c))
        horizontalHeaderItem(c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

int DataGrid::columnCount() const
{
    return m_columns.size();
}

int DataGrid::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString DataGrid::columnName(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).name : QString();
}

QString DataGrid::columnCaption(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).caption : QString();
}

int DataGrid::columnDataType(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).dataType : 0;
}

QString DataGrid::columnNumberFormat(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).numberFormat : QString();
}

void DataGrid::setColumnLocked(const QString &name, bool locked)
{
    const int c = columnIndex(name);
    if (c >= 0)
        m_columns[c].locked = locked;
}

bool DataGrid::isNumeric(int column) const
{
    const int type = columnDataType(column);
    return type >= 2 && type <= 6;
}

int DataGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

int DataGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int DataGrid::Rows() const
{
    return rowCount() - 1;
}

int DataGrid::newRowLine() const
{
    return rowCount() - 1;
}

bool DataGrid::editorOn(int row, int column) const
{
    return m_editor && m_editorRow == row && m_editorColumn == column;
}

QString DataGrid::displayText(int column, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (!isNumeric(column))
        return value.toString();
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    const QString pattern = columnNumberFormat(column);
    if (pattern.isEmpty())
        return QString::number(number, 'g', 15);
    return NumberFormat(pattern).format(number);
}

QVariant DataGrid::valueFromText(int column, const QString &text) const
{
    if (!isNumeric(column))
        return text;
    if (text.trimmed().isEmpty())
        return QVariant();
    const std::optional<double> number = NumberFormat(columnNumberFormat(column)).parse(text);
    if (!number)
        return text;   // not a number: kept as typed, the screen refuses it
    return *number;
}

void DataGrid::storeText(int row, int column, const QString &text)
{
    QTableWidgetItem *cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row, column, cell);
    }
    const QVariant value = valueFromText(column, text);
    const bool number = isNumeric(column) && value.typeId() == QMetaType::Double;
    cell->setData(ValueRole, value);
    cell->setData(Qt::DisplayRole, number ? displayText(column, value) : text);
    if (isNumeric(column))
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void DataGrid::storeValue(int row, int column, const QVariant &value)
{
    QTableWidgetItem *cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row, column, cell);
    }
    QVariant stored = value;
    if (isNumeric(column) && value.isValid() && !value.isNull()) {
        bool ok = false;
        const double number = value.toString().isEmpty() ? 0.0 : value.toDouble(&ok);
        stored = ok ? QVariant(number) : valueFromText(column, value.toString());
    }
    cell->setData(ValueRole, stored);
    cell->setData(Qt::DisplayRole, displayText(column, stored));
    if (isNumeric(column))
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString DataGrid::cellText(const QString &column) const
{
    return text(Row(), column);
}

QVariant DataGrid::cellValue(const QString &column) const
{
    return value(Row(), column);
}

void DataGrid::setCellText(const QString &column, const QString &text)
{
    setText(Row(), column, text);
}

void DataGrid::setCellValue(const QString &column, const QVariant &value)
{
    setValue(Row(), column, value);
}

QString DataGrid::text(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= rowCount() || c < 0)
        return QString();
    if (editorOn(row, c))
        return m_editor->text();
    const QTableWidgetItem *cell = item(row, c);
    return cell ? cell->data(Qt::DisplayRole).toString() : QString();
}

QVariant DataGrid::value(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= rowCount() || c < 0)
        return QVariant();
    if (editorOn(row, c))
        return valueFromText(c, m_editor->text());
    const QTableWidgetItem *cell = item(row, c);
    return cell ? cell->data(ValueRole) : QVariant();
}

void DataGrid::setText(int row, const QString &column, const QString &text)
{
    const int c = columnIndex(column);
    if (row < 0 || row >= rowCount() || c < 0)
        return;
    if (row == newRowLine()) {
        promoteNewRowLine();
    }
    storeText(row, c, text);
    if (editorOn(row, c))
        m_editor->setText(item(row, c)->data(Qt::DisplayRole).toString());
}

void DataGrid::setValue(int row, const QString &column, const QVariant &value)
{
    const int c = columnIndex(column);
    if (row < 0 || row >= rowCount() || c < 0)
        return;
    if (row == newRowLine())
        promoteNewRowLine();
    storeValue(row, c, value);
    if (editorOn(row, c))
        m_editor->setText(item(row, c)->data(Qt::DisplayRole).toString());
}

void DataGrid::insertBlankRow(int r)
{
    ++m_quiet;
    insertRow(r);
    for (int c = 0; c < m_columns.size(); ++c)
        setItem(r, c, new QTableWidgetItem());
    --m_quiet;
}

void DataGrid::appendNewRowLine()
{
    insertBlankRow(rowCount());
    updateRowHeaders();
}

void DataGrid::promoteNewRowLine()
{
    // What is typed on the new-row line starts a row; a fresh line opens below.
    m_pendingRow = newRowLine();
    appendNewRowLine();
}

bool DataGrid::rowIsEmpty(int row) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!text(row, columnName(c)).isEmpty())
            return false;
    }
    return true;
}

void DataGrid::updateRowHeaders()
{
    QStringList labels;
    const int current = Row();
    for (int r = 0; r < rowCount(); ++r) {
        if (r == newRowLine())
            labels << u"*"_s;
        else if (r == current)
            labels << u"\u25B8"_s;
        else
            labels << QString();
    }
    setVerticalHeaderLabels(labels);
}

void DataGrid::setRedraw(bool on)
{
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void DataGrid::setCurrentQuietly(int row, int column)
{
    ++m_quiet;
    if (m_editor) {
        QWidget *editor = m_editor;
        commitData(editor);
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (row < 0 || column < 0)
        setCurrentIndex(QModelIndex());
    else
        QTableWidget::setCurrentCell(row, column);
    --m_quiet;
    updateRowHeaders();
}

void DataGrid::RemoveAll()
{
    if (m_editor) {
        QWidget *editor = m_editor;
        m_editor = nullptr;
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
    ++m_quiet;
    setCurrentIndex(QModelIndex());
    setRowCount(0);
    m_pendingRow = -1;
    --m_quiet;
    appendNewRowLine();
}

void DataGrid::AddNew()
{
    const int r = newRowLine();
    insertBlankRow(r);
    m_pendingRow = r;
    setCurrentQuietly(r, qMax(0, Col()));
}

void DataGrid::Update()
{
    m_pendingRow = -1;
    updateRowHeaders();
}

void DataGrid::MoveFirst()
{
    setCurrentQuietly(0, qMax(0, Col()));
}

void DataGrid::MoveNext()
{
    const int next = qMin(Row() + 1, newRowLine());
    setCurrentQuietly(next, qMax(0, Col()));
}

bool DataGrid::askLeave()
{
    if (m_quiet || m_asking)
        return true;
    m_asking = true;
    short cancel = 0;
    Q_EMIT BeforeRowColChange(cancel);
    m_asking = false;
    return cancel == 0;
}

bool DataGrid::setCurrentCell(int row, int column)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns.size())
        return false;
    if (row == Row() && column == Col())
        return true;
    if (Row() >= 0 && !askLeave())
        return false;
    if (m_editor) {
        QWidget *editor = m_editor;
        commitData(editor);
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    QTableWidget::setCurrentCell(row, column);
    return true;
}

void DataGrid::deleteSelectedRows()
{
    std::set<int> rows;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (index.row() < Rows())
            rows.insert(index.row());
    }
    if (rows.empty() && Row() >= 0 && Row() < Rows())
        rows.insert(Row());
    if (rows.empty())
        return;
    short cancel = 0;
    short prompt = 1;
    Q_EMIT BeforeDelete(cancel, prompt);
    if (cancel)
        return;
    if (prompt) {
        MessageRequest request;
        request.prompt = rows.size() == 1 ? u"¿Desea eliminar el renglón seleccionado?"_s
                                          : QStringLiteral("¿Desea eliminar los %1 renglones seleccionados?").arg(rows.size());
        request.style = 36;
        request.title = u"Eliminar renglones"_s;
        request.owner = this;
        int answer = 7;
        Session *session = Session::currentOrNull();
        if (session && session->messages()) {
            answer = session->messages()->show(request);
        } else {
            MessageBoxPresenter boxes;
            answer = boxes.show(request);
        }
        if (answer != 6)
            return;
    }
    if (m_editor) {
        QWidget *editor = m_editor;
        m_editor = nullptr;
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
    const int first = *rows.begin();
    const int column = qMax(0, Col());
    ++m_quiet;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        removeRow(*it);
    --m_quiet;
    m_pendingRow = -1;
    clearSelection();
    setCurrentQuietly(qMin(first, newRowLine()), column);
}

void DataGrid::setRowColors(int evenBgr, int oddBgr)
{
    m_evenBgr = evenBgr;
    m_oddBgr = oddBgr;
    QPalette p = palette();
    p.setColor(QPalette::Base, fromBgr(evenBgr));
    p.setColor(QPalette::AlternateBase, fromBgr(oddBgr));
    setPalette(p);
}

bool DataGrid::isOwnEnabled() const
{
    return ownEnabled(this);
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
