#include "tests/support/RecordingMessagePresenter.h"

#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

int RecordingMessagePresenter::show(const suite::MessageRequest &request)
{
    m_requests.append(request);
    if (request.style != 36)
        return 1;
    return m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst();
}

const suite::MessageRequest &RecordingMessagePresenter::last() const
{
    if (m_requests.isEmpty())
        throw suite::SuiteError(u"No message was shown"_s);
    return m_requests.last();
}

QStringList RecordingMessagePresenter::prompts() const
{
    QStringList out;
    for (const auto &r : m_requests)
        out.append(r.prompt);
    return out;
}

QStringList RecordingMessagePresenter::ids() const
{
    QStringList out;
    for (const auto &r : m_requests)
        out.append(r.id);
    return out;
}
