#include "tests/support/TestSession.h"

#include "suite/data/Connection.h"
#include "suite/session/Session.h"

TestSession::TestSession(std::unique_ptr<suite::Connection> connection, const QString &user)
    : m_session(std::make_unique<suite::Session>())
    , m_previous(suite::Session::currentOrNull())
{
    m_session->setConnection(std::move(connection));
    m_session->setUser(user);
    m_session->setMessages(&m_messages);
    m_session->setSearch(&m_search);
    suite::Session::setCurrent(m_session.get());
}

TestSession::TestSession(bool withDemo)
    : TestSession(TestDatabase::sqlite(withDemo))
{
}

TestSession::~TestSession()
{
    suite::Session::setCurrent(m_previous);
}

suite::Connection &TestSession::connection()
{
    return *m_session->connection();
}
