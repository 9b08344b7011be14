#include "suite/host/ScriptMessagePresenter.h"

#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/host/JsonText.h"
#include "suite/session/Session.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {
constexpr int answerOk = 1;
constexpr int answerNo = 7;

bool transactionOpen()
{
    try {
        const Session *session = Session::currentOrNull();
        return session && session->connection()->inTransaction();
    } catch (const SuiteError &) {
        return false; // no connection, no transaction
    }
}
} // namespace

ScriptMessagePresenter::ScriptMessagePresenter(Sink sink, Problem problem)
    : m_sink(std::move(sink))
    , m_problem(std::move(problem))
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
    if (transactionOpen())
        m_problem(u"El mensaje %1 se mostró con una transacción abierta."_s.arg(request.id));
    return answer;
}

} // namespace suite
