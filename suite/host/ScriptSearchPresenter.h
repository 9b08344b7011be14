#pragma once

#include "suite/session/SearchPresenter.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace suite {

class JsonText;

// Search dialogs of a scripted run: each one chooses the next queued key ("",
// or nothing queued, cancels it) and is reported. A queued marking is done in
// the real dialog instead, as a person would: each key typed into its filter
// and its row marked with Space, then the button of the caption pressed, and
// the dialog cancelled; what goes wrong is told to `problem`.
class ScriptSearchPresenter : public SearchPresenter
{
public:
    using Sink = std::function<void(const JsonText &)>;
    using Problem = std::function<void(const QString &)>;
    ScriptSearchPresenter(Sink sink, Problem problem);

    void queueChoice(const QString &key) { m_choices.append(key); }
    void queueMarking(const QString &caption, const QStringList &keys) { m_markings.append({caption, keys}); }
    QString choose(const QString &queryId, int maxRows, QWidget *owner) override;

private:
    struct Marking
    {
        QString caption;
        QStringList keys;
    };
    QStringList mark(const QString &queryId, int maxRows, QWidget *owner, const Marking &marking) const;

    Sink m_sink;
    Problem m_problem;
    QStringList m_choices;
    QList<Marking> m_markings;
};

} // namespace suite
