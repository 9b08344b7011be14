#pragma once

#include "suite/session/MessagePresenter.h"

#include <QList>

namespace suite {

// The messages the screen shows while a row is imported, kept for the
// report instead of waiting for a person. A question is answered No: the one
// the accept asks (a taken key, with the automatic key configured: generate
// another?) would otherwise store the row under a key the file never named,
// and importing the file again would then store it twice.
class ImportMessages : public MessagePresenter
{
public:
    int show(const MessageRequest &request) override
    {
        m_shown.append(request);
        const int buttons = request.style & 0x0F;
        return buttons == 3 || buttons == 4 ? No : Ok;
    }

    const QList<MessageRequest> &shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    // Taken from outside the screen (a dialog closed unseen, a failure of the import's own).
    void add(const QString &text) { m_shown.append({text, 16, QString(), QString(), QString(), nullptr}); }

private:
    static constexpr int Ok = 1;
    static constexpr int No = 7;
    QList<MessageRequest> m_shown;
};

} // namespace suite
