#include "suite/kit/TxtKitAccessible.h"

#include "suite/kit/TxtKit.h"

#include <QFontMetrics>

namespace suite {

namespace {

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *box = qobject_cast<txtKIT *>(object);
    return box && box->isReadOnly() ? new TxtKitAccessible(box) : nullptr;
}

} // namespace

TxtKitAccessible::TxtKitAccessible(txtKIT *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{
}

void TxtKitAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed)
}

void TxtKitAccessible::forget(txtKIT *box)
{
    if (QAccessibleInterface *described = QAccessible::queryAccessibleInterface(box))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(described));
}

txtKIT *TxtKitAccessible::box() const
{
    return static_cast<txtKIT *>(widget());
}

void *TxtKitAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TxtKitAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.editable = false;
    s.selectableText = true;
    return s;
}

QString TxtKitAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

void TxtKitAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (box()->hasSelectedText()) {
        *startOffset = box()->selectionStart();
        *endOffset = *startOffset + int(box()->selectedText().size());
    }
}

int TxtKitAccessible::selectionCount() const
{
    return box()->hasSelectedText() ? 1 : 0;
}

void TxtKitAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TxtKitAccessible::removeSelection(int)
{
    box()->deselect();
}

void TxtKitAccessible::setSelection(int, int startOffset, int endOffset)
{
    box()->setSelection(startOffset, endOffset - startOffset);
}

int TxtKitAccessible::cursorPosition() const
{
    return box()->cursorPosition();
}

void TxtKitAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

QString TxtKitAccessible::text(int startOffset, int endOffset) const
{
    return box()->text().mid(startOffset, endOffset - startOffset);
}

int TxtKitAccessible::characterCount() const
{
    return int(box()->text().size());
}

// From the start of the box's text area: near enough for a reader's
// highlight, since the box shows its text from the beginning.
QRect TxtKitAccessible::characterRect(int offset) const
{
    const QString text = box()->text();
    if (offset < 0 || offset >= text.size())
        return {};
    const QFontMetrics metrics(box()->font());
    const QRect area = box()->contentsRect();
    const QPoint topLeft(area.left() + metrics.horizontalAdvance(text.left(offset)), area.top());
    return QRect(box()->mapToGlobal(topLeft), QSize(metrics.horizontalAdvance(text.at(offset)), area.height()));
}

int TxtKitAccessible::offsetAtPoint(const QPoint &point) const
{
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void TxtKitAccessible::scrollToSubstring(int startIndex, int)
{
    box()->setCursorPosition(startIndex);
}

QString TxtKitAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace suite
