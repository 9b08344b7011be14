#include "suite/kit/TxtKit.h"

#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/SearchDialogPresenter.h"
#include "suite/session/Session.h"

#include <QPointer>

// The text box's description lookup (sql, sql_control_resultado) and its F2
// search (idconsulta).

using namespace Qt::StringLiterals;

namespace suite {

void txtKIT::setSql(const QString &statement)
{
    m_sql = statement;
}

void txtKIT::setSqlControlResultado(const QString &name)
{
    m_sqlControlResultado = name;
}

QWidget *txtKIT::resultBox() const
{
    if (m_sqlControlResultado.isEmpty())
        return nullptr;
    QWidget *top = window();
    if (top == this)
        return nullptr;
    return top->findChild<QWidget *>(m_sqlControlResultado);
}

void txtKIT::buscaDescripcion()
{
    if (m_sql.isEmpty())
        return;
    QWidget *box = resultBox();
    QString description;
    m_lookupFound = false;
    m_lookupError.clear();
    const QString typed = text();
    if (!typed.isEmpty()) {
        try {
            if (m_rows) {
                QString statement = m_sql;
                statement.replace(u"'?'"_s, u"'"_s + sqlEscape(typed) + u"'"_s);
                const RecordsetPtr rows = m_rows(statement);
                if (rows && !rows->Eof() && rows->fieldCount() > 0) {
                    const QVariant first = rows->fieldValue(0);
                    description = first.isNull() ? QString() : first.toString();
                    m_lookupFound = true;
                }
            }
        } catch (const SuiteError &error) {
            // A lookup that cannot run describes nothing; the box stays usable
            // and keeps the reason (lookupError), which it also signals.
            description.clear();
            m_lookupFound = false;
            m_lookupError = error.description();
        }
    }
    if (box)
        box->setProperty("text", description);
    if (!m_lookupError.isEmpty())
        Q_EMIT descripcionNoLeida(m_lookupError);
}

bool txtKIT::abreConsulta()
{
    if (m_idconsulta.isEmpty() || isReadOnly() || !isEnabled())
        return false;
    Session *session = Session::currentOrNull();
    if (!session)
        return false;
    QString key;
    QPointer<txtKIT> self(this);
    if (SearchPresenter *presenter = session->search()) {
        key = presenter->choose(m_idconsulta, 100, this);
    } else {
        SearchDialogPresenter dialog;
        key = dialog.choose(m_idconsulta, 100, this);
    }
    if (!self || key.isEmpty())
        return false;
    setText(key);
    setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace suite
