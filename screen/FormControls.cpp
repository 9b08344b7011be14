#include "screen/FormControls.h"

#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace xb733 {

void FormControls::add(const QString &name, QWidget *widget)
{
    if (!m_byName.contains(name))
        m_order.append(name);
    m_byName.insert(name, widget);
}

QWidget *FormControls::widget(const QString &name) const
{
    return m_byName.value(name).data();
}

QWidget *FormControls::require(const QString &name) const
{
    QWidget *w = widget(name);
    if (!w)
        throw suite::SuiteError(u"No existe el control %1"_s.arg(name));
    return w;
}

void FormControls::throwWrongKind(const QString &name)
{
    throw suite::SuiteError(u"El control %1 no es del tipo esperado"_s.arg(name));
}

} // namespace xb733
