#pragma once

#include <QList>

class QWidget;

namespace suite {

// The controls of a form that carry one group number in their "tag": every
// descendant widget, in the form's child order.
class ControlGroup
{
public:
    ControlGroup(QWidget *form, int group); // throws SuiteError without a form

    const QList<QWidget *> &members() const { return m_members; }

    // Empties each member (its own limpia() when it has one, option buttons
    // unchecked, text inputs cleared; containers keep their children) and
    // disables it through its "enabled" property, so kit controls keep their
    // own flag right.
    void clear();
    // Enables each member; values are left alone.
    void enable();

private:
    static void empty(QWidget *control);

    QList<QWidget *> m_members;
};

} // namespace suite
