#include "suite/kit/DataGrid.h"

#include "suite/data/DecimalText.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/kit/NumberFormat.h"
#include "suite/session/Session.h"

#include <QHeaderView>
#include <QLineEdit>
#include <set>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr int ValueRole = Qt::UserRole + 1;

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setProperty("tag", QString());
    installCellEditors();
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
    const std::optional<QString> number = DecimalText::fromVariant(value);
    if (!number)
        return value.toString(); // a text that is no number shows as typed
    const QString pattern = columnNumberFormat(column);
    return pattern.isEmpty() ? *number : NumberFormat(pattern).formatDecimal(*number);
}

QVariant DataGrid::valueFromText(int column, const QString &text) const
{
    if (!isNumeric(column))
        return text;
    if (text.trimmed().isEmpty())
        return QVariant();
    const std::optional<QString> number = NumberFormat(columnNumberFormat(column)).read(text);
    if (!number)
        return text;   // not a number: kept as typed, the screen refuses it
    return DecimalText::toVariant(*number);
}

void DataGrid::storeText(int row, int column, const QString &text)
{
    QTableWidgetItem *cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row, column, cell);
    }
    const QVariant value = valueFromText(column, text);
    const bool number = isNumeric(column) && DecimalText::fromVariant(value).has_value();
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
    // A number is kept exactly, as given or read; a text as typed would be.
    QVariant stored = value;
    if (isNumeric(column) && value.isValid() && !value.isNull()) {
        const std::optional<QString> number = DecimalText::fromVariant(value);
        stored = number ? DecimalText::toVariant(*number) : valueFromText(column, value.toString());
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

} // namespace suite
