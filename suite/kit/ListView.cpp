#include "suite/kit/ListView.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace suite {

namespace {
constexpr double DefaultColumnTwips = 1440.0;
}

ListView::ListView(QWidget *parent)
    : QTreeWidget(parent)
{
    setProperty("tag", QString());
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnCount(0);
    setHeaderLabels({});
}

ListView::~ListView() = default;

void ListView::addColumnHeader(const QString &text, double widthTwips)
{
    m_headers.append(text);
    setColumnCount(m_headers.size());
    setHeaderLabels(m_headers);
    const double twips = widthTwips < 0 ? DefaultColumnTwips : widthTwips;
    setColumnWidth(m_headers.size() - 1, int(twipsToPixelsX(this, twips) + 0.5));
}

void ListView::clearColumnHeaders()
{
    m_headers.clear();
    clear();
    setColumnCount(0);
}

int ListView::columnHeaderCount() const
{
    return m_headers.size();
}

QString ListView::columnHeaderText(int column) const
{
    return m_headers.value(column);
}

double ListView::columnHeaderWidth(int column) const
{
    if (column < 0 || column >= m_headers.size())
        return 0;
    return pixelsToTwipsX(this, columnWidth(column));
}

int ListView::addItem(const QString &text)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(0, text);
    // The new item is the last one; searching for it would make filling a
    // long list quadratic.
    return topLevelItemCount() - 1;
}

void ListView::addSubItem(int item, const QString &text)
{
    QTreeWidgetItem *row = topLevelItem(item);
    if (!row)
        return;
    // Sub-items fill the columns after the item's own, left to right.
    int column = 1;
    const QVariant filled = row->data(0, Qt::UserRole);
    if (filled.isValid())
        column = filled.toInt() + 1;
    row->setText(column, text);
    row->setData(0, Qt::UserRole, column);
}

void ListView::clearItems()
{
    clear();
}

int ListView::itemCount() const
{
    return topLevelItemCount();
}

QStringList ListView::itemTexts(int item) const
{
    QStringList texts;
    const QTreeWidgetItem *row = topLevelItem(item);
    if (!row)
        return texts;
    const int filled = row->data(0, Qt::UserRole).isValid() ? row->data(0, Qt::UserRole).toInt() : 0;
    for (int c = 0; c <= filled; ++c)
        texts.append(row->text(c));
    return texts;
}

bool ListView::isOwnEnabled() const
{
    return ownEnabled(this);
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT KeyDown(virtualKeyCode(event));
    QTreeWidget::keyPressEvent(event);
}

} // namespace suite
