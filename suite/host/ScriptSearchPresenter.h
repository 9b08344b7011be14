#pragma once

#include "suite/session/SearchPresenter.h"

#include <QStringList>
#include <functional>

namespace suite {

class JsonText;

// Search dialogs of a scripted run: each one chooses the next queued key ("",
// or nothing queued, cancels it) and is reported.
class ScriptSearchPresenter : public SearchPresenter
{
public:
    using Sink = std::function<void(const JsonText &)>;
    explicit ScriptSearchPresenter(Sink sink);

    void queueChoice(const QString &key) { m_choices.append(key); }
    QString choose(const QString &queryId, int maxRows, QWidget *owner) override;

private:
    Sink m_sink;
    QStringList m_choices;
};

} // namespace suite
