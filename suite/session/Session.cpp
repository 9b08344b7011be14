#include "suite/session/Session.h"

#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {
Session *currentSession = nullptr;
}

struct Session::Private
{
    std::unique_ptr<Connection> owned;
    Connection *connection = nullptr;
    QString user;
    MessagePresenter *messages = nullptr;
    SearchPresenter *search = nullptr;
    StatusLine statusLine;
    QList<SearchAction> searchActions;
    bool forceUpperCase = false;
};

Session::Session()
    : d(std::make_unique<Private>())
{
}

Session::~Session()
{
    // A session destroyed while published must not leave a dangling current.
    if (currentSession == this)
        currentSession = nullptr;
}

Session &Session::current()
{
    if (!currentSession)
        throw SuiteError(u"No hay una sesión de Talvexor abierta"_s);
    return *currentSession;
}

Session *Session::currentOrNull()
{
    return currentSession;
}

void Session::setCurrent(Session *session)
{
    currentSession = session;
}

Connection *Session::connection() const
{
    if (!d->connection)
        throw SuiteError(u"La sesión no tiene una conexión a la base de datos abierta"_s);
    return d->connection;
}

void Session::setConnection(std::unique_ptr<Connection> connection)
{
    d->owned = std::move(connection);
    d->connection = d->owned.get();
}

QString Session::user() const
{
    return d->user;
}

void Session::setUser(const QString &user)
{
    d->user = user;
}

MessagePresenter *Session::messages() const
{
    return d->messages;
}

void Session::setMessages(MessagePresenter *presenter)
{
    d->messages = presenter;
}

SearchPresenter *Session::search() const
{
    return d->search;
}

void Session::setSearch(SearchPresenter *presenter)
{
    d->search = presenter;
}

void Session::setStatusLine(StatusLine line)
{
    d->statusLine = std::move(line);
}

void Session::showStatus(const QString &text) const
{
    if (d->statusLine)
        d->statusLine(text);
}

void Session::addSearchAction(const SearchAction &action)
{
    removeSearchAction(action.queryId, action.caption);
    d->searchActions.append(action);
}

void Session::removeSearchAction(const QString &queryId, const QString &caption)
{
    d->searchActions.removeIf([&](const SearchAction &a) {
        return a.queryId.compare(queryId, Qt::CaseInsensitive) == 0 && a.caption == caption;
    });
}

QList<Session::SearchAction> Session::searchActions(const QString &queryId) const
{
    QList<SearchAction> found;
    for (const SearchAction &action : std::as_const(d->searchActions)) {
        if (action.queryId.compare(queryId, Qt::CaseInsensitive) == 0)
            found.append(action);
    }
    return found;
}

bool Session::forceUpperCase() const
{
    return d->forceUpperCase;
}

void Session::setForceUpperCase(bool on)
{
    d->forceUpperCase = on;
}

} // namespace suite
