#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace suite {

class ssTbKit;

// What assistive technology sees of the tab strip: a page tab list whose
// first children are its tabs, by caption (selected, pressable), followed by
// the controls of the page shown.
class SsTbKitAccessible : public QAccessibleWidget
{
public:
    explicit SsTbKitAccessible(ssTbKit *strip);
    ~SsTbKitAccessible() override;

    // Registers the factory once; every strip made afterwards is described.
    static void install();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;

private:
    ssTbKit *strip() const;
    QAccessibleInterface *tab(int index) const;

    mutable QHash<int, QAccessible::Id> m_tabs;
};

} // namespace suite
