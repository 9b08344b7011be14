#pragma once

#include "suite/session/SearchPresenter.h"

#include <QList>

// Records which queries a search dialog was opened for and chooses nothing,
// as when the user cancels.
class ScriptedSearchPresenter : public suite::SearchPresenter
{
public:
    struct Call
    {
        QString queryId;
        int maxRows = 0;
    };

    QString choose(const QString &queryId, int maxRows, QWidget *) override
    {
        m_calls.append(Call{queryId, maxRows});
        return QString();
    }

    const QList<Call> &calls() const { return m_calls; }

private:
    QList<Call> m_calls;
};
