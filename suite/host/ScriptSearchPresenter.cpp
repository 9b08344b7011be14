#include "suite/host/ScriptSearchPresenter.h"

#include "suite/host/JsonText.h"

using namespace Qt::StringLiterals;

namespace suite {

ScriptSearchPresenter::ScriptSearchPresenter(Sink sink)
    : m_sink(std::move(sink))
{}

QString ScriptSearchPresenter::choose(const QString &queryId, int, QWidget *)
{
    const QString chosen = m_choices.isEmpty() ? QString() : m_choices.takeFirst();
    JsonText event;
    event.add(u"event"_s, u"consulta"_s);
    event.add(u"id"_s, queryId);
    event.add(u"chosen"_s, chosen);
    m_sink(event);
    return chosen;
}

} // namespace suite
