#pragma once

#include "suite/data/SuiteError.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace suite {

// A form's controls by design name, in creation order: the form fills it as
// it builds its controls, and the record operations reach them through it.
class FormControls
{
public:
    void add(const QString &name, QWidget *widget)
    {
        if (!m_byName.contains(name))
            m_order.append(name);
        m_byName.insert(name, widget);
    }

    QWidget *widget(const QString &name) const { return m_byName.value(name).data(); }
    template<class T>
    T *as(const QString &name) const { return qobject_cast<T *>(widget(name)); }

    // Like widget(), but a missing control is a programming error of the
    // form's description and throws SuiteError naming it.
    QWidget *require(const QString &name) const
    {
        QWidget *w = widget(name);
        if (!w)
            throw suite::SuiteError(QStringLiteral("No existe el control %1").arg(name));
        return w;
    }
    template<class T>
    T *require(const QString &name) const
    {
        T *w = qobject_cast<T *>(require(name));
        if (!w)
            throw suite::SuiteError(QStringLiteral("El control %1 no es del tipo esperado").arg(name));
        return w;
    }

    QStringList names() const { return m_order; }
    int count() const { return m_order.size(); }

private:
    QHash<QString, QPointer<QWidget>> m_byName;
    QStringList m_order;
};

} // namespace suite
