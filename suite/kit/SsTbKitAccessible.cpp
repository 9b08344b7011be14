#include "suite/kit/SsTbKitAccessible.h"

#include "suite/kit/SsTbKit.h"

#include <QPointer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// One caption of the strip: a page tab that a screen reader can name and press.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TabAccessible(ssTbKit *strip, int index)
        : m_strip(strip)
        , m_index(index)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    bool isValid() const override { return m_strip && m_index < m_strip->tabcount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_strip ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_strip.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Accelerator))
            return {};
        if (t == QAccessible::Accelerator)
            return u"Alt+%1"_s.arg(m_index + 1);
        return m_strip->tabCaption(m_index);
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_strip->captionRect(m_index);
        return QRect(m_strip->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        const bool selected = m_strip->tab() == m_index;
        s.selectable = true;
        s.selected = selected;
        s.focusable = true;
        s.focused = selected && m_strip->hasFocus();
        s.disabled = !m_strip->isEnabled();
        s.invisible = !m_strip->isVisible();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (isValid() && name == pressAction())
            m_strip->setTab(m_index);
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        return name == pressAction() ? QStringList{text(QAccessible::Accelerator)} : QStringList();
    }

private:
    QPointer<ssTbKit> m_strip;
    int m_index;
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *strip = qobject_cast<ssTbKit *>(object))
        return new SsTbKitAccessible(strip);
    return nullptr;
}

} // namespace

SsTbKitAccessible::SsTbKitAccessible(ssTbKit *strip)
    : QAccessibleWidget(strip, QAccessible::PageTabList)
{
}

SsTbKitAccessible::~SsTbKitAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_tabs))
        QAccessible::deleteAccessibleInterface(id);
}

void SsTbKitAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed)
}

ssTbKit *SsTbKitAccessible::strip() const
{
    return static_cast<ssTbKit *>(widget());
}

QString SsTbKitAccessible::text(QAccessible::Text t) const
{
    QString own = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && own.isEmpty())
        own = u"Pestañas"_s;
    return own;
}

QAccessibleInterface *SsTbKitAccessible::tab(int index) const
{
    if (index < 0 || index >= strip()->tabcount())
        return nullptr;
    auto found = m_tabs.constFind(index);
    if (found != m_tabs.constEnd())
        return QAccessible::accessibleInterface(found.value());
    auto *made = new TabAccessible(strip(), index);
    m_tabs.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

int SsTbKitAccessible::childCount() const
{
    return strip()->tabcount() + QAccessibleWidget::childCount();
}

QAccessibleInterface *SsTbKitAccessible::child(int index) const
{
    const int tabs = strip()->tabcount();
    if (index < tabs)
        return tab(index);
    return QAccessibleWidget::child(index - tabs);
}

int SsTbKitAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    }
    const int own = QAccessibleWidget::indexOfChild(child);
    return own < 0 ? -1 : own + strip()->tabcount();
}

QAccessibleInterface *SsTbKitAccessible::focusChild() const
{
    return strip()->hasFocus() ? tab(strip()->tab()) : QAccessibleWidget::focusChild();
}

} // namespace suite
