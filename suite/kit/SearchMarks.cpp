#include "suite/kit/SearchMarks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

namespace suite {

SearchMarks::SearchMarks(QTreeWidget *list)
    : QObject(list)
    , m_list(list)
{
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    // A click on the check box itself.
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (!m_showing && column == 0 && (item->checkState(0) == Qt::Checked) != isMarked(item->text(0))) {
            m_anchor = item->text(0);
            setMarked(item->text(0), item->checkState(0) == Qt::Checked);
        }
    });
}

void SearchMarks::setMarked(const QString &key, bool marked)
{
    if (marked == isMarked(key))
        return;
    if (marked)
        m_keys.append(key);
    else
        m_keys.removeAll(key);
    const QList<QTreeWidgetItem *> shown = m_list->findItems(key, Qt::MatchExactly, 0);
    for (QTreeWidgetItem *item : shown)
        showMark(item);
    Q_EMIT changed(int(m_keys.size()));
}

void SearchMarks::toggle(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_anchor = item->text(0);
    setMarked(item->text(0), !isMarked(item->text(0)));
}

void SearchMarks::showMark(QTreeWidgetItem *item)
{
    m_showing = true;
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, isMarked(item->text(0)) ? Qt::Checked : Qt::Unchecked);
    m_showing = false;
}

void SearchMarks::rowsShown()
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        showMark(m_list->topLevelItem(row));
}

void SearchMarks::markRange(QTreeWidgetItem *to)
{
    const QList<QTreeWidgetItem *> anchors = m_list->findItems(m_anchor, Qt::MatchExactly, 0);
    QTreeWidgetItem *from = anchors.isEmpty() ? m_list->currentItem() : anchors.constFirst();
    const int last = m_list->indexOfTopLevelItem(to);
    const int first = from ? m_list->indexOfTopLevelItem(from) : last;
    for (int row = std::min(first, last); row <= std::max(first, last); ++row)
        setMarked(m_list->topLevelItem(row)->text(0), true);
    m_anchor = to->text(0);
}

void SearchMarks::markAllShown()
{
    bool all = true;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        all = all && isMarked(m_list->topLevelItem(row)->text(0));
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        setMarked(m_list->topLevelItem(row)->text(0), !all);
}

bool SearchMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            toggle(m_list->currentItem());
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            markAllShown();
            return true;
        }
    }
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        QTreeWidgetItem *item = m_list->itemAt(mouse->position().toPoint());
        const Qt::KeyboardModifiers modifiers = mouse->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
        if (!item || mouse->button() != Qt::LeftButton || !modifiers)
            return false;
        if (modifiers & Qt::ShiftModifier)
            markRange(item);
        else
            toggle(item);
        m_list->setCurrentItem(item);
        return true;
    }
    return false;
}

} // namespace suite
