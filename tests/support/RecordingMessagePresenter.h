#pragma once

#include "suite/session/MessagePresenter.h"

#include <QList>
#include <QStringList>

// Records every message a test's code shows and answers questions from a
// queue (Yes = 6, No = 7); an unscripted question is answered No.
class RecordingMessagePresenter : public suite::MessagePresenter
{
public:
    int show(const suite::MessageRequest &request) override;

    void answerNext(int answer) { m_answers.append(answer); }
    void setDefaultAnswer(int answer) { m_defaultAnswer = answer; }

    const QList<suite::MessageRequest> &requests() const { return m_requests; }
    int count() const { return m_requests.size(); }
    const suite::MessageRequest &last() const; // fails the test's expectations when none
    QStringList prompts() const;
    QStringList ids() const;
    void clear() { m_requests.clear(); }

private:
    QList<suite::MessageRequest> m_requests;
    QList<int> m_answers;
    int m_defaultAnswer = 7;
};
