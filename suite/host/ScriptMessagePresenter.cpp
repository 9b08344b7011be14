#include "suite/host/ScriptMessagePresenter.h"

#include "suite/host/JsonText.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {
constexpr int answerOk = 1;
constexpr int answerNo = 7;
} // namespace

ScriptMessagePresenter::ScriptMessagePresenter(Sink sink)
    : m_sink(std::move(sink))
{}

bool ScriptMessagePresenter::isQuestion(int style)
{
    // The button set is the low nibble: 3 Yes/No/Cancel, 4 Yes/No.
    const int buttons = style & 0x0F;
    return buttons == 3 || buttons == 4;
}

int ScriptMessagePresenter::show(const MessageRequest &request)
{
    JsonText event;
    event.add(u"event"_s, u"mensaje"_s);
    event.add(u"prompt"_s, request.prompt);
    event.add(u"style"_s, request.style);
    event.add(u"title"_s, request.title);
    event.add(u"id"_s, request.id);
    int answer = answerOk;
    if (isQuestion(request.style)) {
        answer = m_answers.isEmpty() ? answerNo : m_answers.takeFirst();
        event.add(u"answer"_s, answer);
    }
    m_sink(event);
    return answer;
}

} // namespace suite
