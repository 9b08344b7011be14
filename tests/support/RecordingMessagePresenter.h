#pragma once

#include "suite/session/MessagePresenter.h"

#include <QList>
#include <QStringList>

// Records every message a test's code shows; a question is answered No (7).
class RecordingMessagePresenter : public suite::MessagePresenter
{
public:
    int show(const suite::MessageRequest &request) override
    {
        m_requests.append(request);
        return request.style == 36 ? 7 : 1;
    }

    int count() const { return m_requests.size(); }
    QStringList prompts() const { return collect(&suite::MessageRequest::prompt); }
    QStringList ids() const { return collect(&suite::MessageRequest::id); }

private:
    QStringList collect(QString suite::MessageRequest::*member) const
    {
        QStringList out;
        for (const auto &r : m_requests)
            out.append(r.*member);
        return out;
    }

    QList<suite::MessageRequest> m_requests;
};
