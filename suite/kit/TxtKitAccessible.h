#pragma once

#include <QAccessibleWidget>

namespace suite {

class txtKIT;

// What assistive technology sees of a read-only (locked) text box, such as
// the description beside a lookup: text it can read and select, never
// editable. Qt's own description of a line edit calls every one editable.
// Boxes that can be typed in keep Qt's description.
class TxtKitAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TxtKitAccessible(txtKIT *box);

    // Registers the factory once.
    static void install();
    // The box was locked or unlocked: its description is made again when next asked.
    static void forget(txtKIT *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    txtKIT *box() const;
};

} // namespace suite
