#pragma once

#include "suite/session/MessagePresenter.h"

#include <QList>
#include <functional>

namespace suite {

class JsonText;

// Messages of a scripted run: each one is reported as it is shown, and a
// question takes the next queued answer (No, 7, when none is queued), so no
// box ever waits for a person.
class ScriptMessagePresenter : public MessagePresenter
{
public:
    using Sink = std::function<void(const JsonText &)>;
    explicit ScriptMessagePresenter(Sink sink);

    void queueAnswer(int answer) { m_answers.append(answer); }
    int show(const MessageRequest &request) override;

    static bool isQuestion(int style);

private:
    Sink m_sink;
    QList<int> m_answers;
};

} // namespace suite
