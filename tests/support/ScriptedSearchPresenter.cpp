#include "tests/support/ScriptedSearchPresenter.h"

QString ScriptedSearchPresenter::choose(const QString &queryId, int maxRows, QWidget *)
{
    m_calls.append(Call{queryId, maxRows});
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

QStringList ScriptedSearchPresenter::queryIds() const
{
    QStringList out;
    for (const auto &c : m_calls)
        out.append(c.queryId);
    return out;
}
