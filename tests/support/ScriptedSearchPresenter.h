#pragma once

#include "suite/session/SearchPresenter.h"

#include <QList>
#include <QStringList>

// Answers search dialogs from a queue of keys (empty when the queue is out,
// as when the user cancels) and records which queries were opened.
class ScriptedSearchPresenter : public suite::SearchPresenter
{
public:
    struct Call
    {
        QString queryId;
        int maxRows = 0;
    };

    QString choose(const QString &queryId, int maxRows, QWidget *owner) override;

    void answerNext(const QString &key) { m_answers.append(key); }
    const QList<Call> &calls() const { return m_calls; }
    QStringList queryIds() const;

private:
    QList<QString> m_answers;
    QList<Call> m_calls;
};
