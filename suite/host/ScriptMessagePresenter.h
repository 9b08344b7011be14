#pragma once

#include "suite/session/MessagePresenter.h"

#include <QList>
#include <functional>

namespace suite {

class JsonText;

// Messages of a scripted run: each one is reported as it is shown, and a
// question takes the next queued answer (No, 7, when none is queued), so no
// box ever waits for a person. A message shown while the session's
// transaction is open is a fault of its own, told to `problem`: for a
// person the box would hold the transaction's locks for as long as it stays.
class ScriptMessagePresenter : public MessagePresenter
{
public:
    using Sink = std::function<void(const JsonText &)>;
    using Problem = std::function<void(const QString &)>;
    ScriptMessagePresenter(Sink sink, Problem problem);

    void queueAnswer(int answer) { m_answers.append(answer); }
    int show(const MessageRequest &request) override;

    static bool isQuestion(int style);

private:
    Sink m_sink;
    Problem m_problem;
    QList<int> m_answers;
};

} // namespace suite
