#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace xb733 {

// The form's controls by design name, in creation order.
class FormControls
{
public:
    void add(const QString &name, QWidget *widget);

    QWidget *widget(const QString &name) const;
    template<class T>
    T *as(const QString &name) const { return qobject_cast<T *>(widget(name)); }

    // Like widget(), but a missing control is a programming error of the
    // form's description and throws SuiteError naming it.
    QWidget *require(const QString &name) const;
    template<class T>
    T *require(const QString &name) const
    {
        T *w = qobject_cast<T *>(require(name));
        if (!w)
            throwWrongKind(name);
        return w;
    }

    QStringList names() const { return m_order; }
    int count() const { return m_order.size(); }

private:
    [[noreturn]] static void throwWrongKind(const QString &name);

    QHash<QString, QPointer<QWidget>> m_byName;
    QStringList m_order;
};

} // namespace xb733
