#include "suite/host/ScriptSearchPresenter.h"

#include "suite/data/SuiteError.h"
#include "suite/host/JsonText.h"
#include "suite/host/UserInput.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/SearchMarks.h"
#include "suite/session/Session.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace suite {

ScriptSearchPresenter::ScriptSearchPresenter(Sink sink, Problem problem)
    : m_sink(std::move(sink))
    , m_problem(std::move(problem))
{}

QString ScriptSearchPresenter::choose(const QString &queryId, int maxRows, QWidget *owner)
{
    JsonText event;
    event.add(u"event"_s, u"consulta"_s);
    event.add(u"id"_s, queryId);
    if (m_markings.isEmpty()) {
        const QString chosen = m_choices.isEmpty() ? QString() : m_choices.takeFirst();
        event.add(u"chosen"_s, chosen);
        m_sink(event);
        return chosen;
    }
    const Marking marking = m_markings.takeFirst();
    QStringList marked;
    try {
        marked = mark(queryId, maxRows, owner, marking);
    } catch (const SuiteError &error) {
        m_problem(error.description());
    }
    QStringList keys;
    for (const QString &key : std::as_const(marked))
        keys << JsonText::value(key);
    event.addRaw(u"marked"_s, JsonText::array(keys));
    event.add(u"action"_s, marking.caption);
    event.add(u"chosen"_s, QString());
    m_sink(event);
    return QString();
}

QStringList ScriptSearchPresenter::mark(const QString &queryId, int maxRows, QWidget *owner,
                                        const Marking &marking) const
{
    Session &session = Session::current();
    // Never shown: a window would wait for a person.
    SearchDialog dialog(session.connection(), queryId, maxRows, owner ? owner->window() : nullptr);
    QPushButton *button = nullptr;
    for (const Session::SearchAction &action : session.searchActions(queryId)) {
        QPushButton *offered = dialog.addAction(action.caption, action.run);
        if (action.caption == marking.caption)
            button = offered;
    }
    if (!button)
        throw SuiteError(u"La búsqueda %1 no ofrece «%2»."_s.arg(queryId, marking.caption));
    QTreeWidget *list = dialog.resultList();
    for (const QString &key : marking.keys) {
        dialog.setFilter(key);
        const QList<QTreeWidgetItem *> rows = list->findItems(key, Qt::MatchExactly, 0);
        if (rows.isEmpty())
            throw SuiteError(u"La búsqueda %1 no muestra la clave %2."_s.arg(queryId, key));
        list->setCurrentItem(rows.constFirst());
        UserInput::sendKey(list, QKeyCombination(Qt::Key_Space));
    }
    const QStringList marked = dialog.marks()->keys();
    if (!button->isEnabled())
        throw SuiteError(u"«%1» no se puede pulsar sin renglones marcados."_s.arg(marking.caption));
    button->click();
    return marked;
}

} // namespace suite
