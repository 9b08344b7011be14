#pragma once

// Complete, not declared: the default argument builds and destroys a
// connection wherever a TestSession is made.
#include "suite/data/Connection.h"
#include "suite/session/Session.h"
#include "tests/support/RecordingMessagePresenter.h"
#include "tests/support/ScriptedSearchPresenter.h"
#include "tests/support/TestDatabase.h"

#include <memory>

// A session for one test: the given connection (a fresh in-memory SQLite
// database with the schema by default), the operator "PRUEBA", a recording
// message presenter and a search presenter that chooses nothing. It is
// published as the current session while it lives; the previous one comes
// back afterwards.
class TestSession
{
public:
    explicit TestSession(std::unique_ptr<suite::Connection> connection = TestDatabase::sqlite())
        : m_previous(suite::Session::currentOrNull())
    {
        m_session.setConnection(std::move(connection));
        m_session.setUser(QStringLiteral("PRUEBA"));
        m_session.setMessages(&m_messages);
        m_session.setSearch(&m_search);
        suite::Session::setCurrent(&m_session);
    }
    ~TestSession() { suite::Session::setCurrent(m_previous); }
    TestSession(const TestSession &) = delete;
    TestSession &operator=(const TestSession &) = delete;

    suite::Session &session() { return m_session; }
    suite::Connection &connection() { return *m_session.connection(); }
    RecordingMessagePresenter &messages() { return m_messages; }
    ScriptedSearchPresenter &search() { return m_search; }

private:
    RecordingMessagePresenter m_messages;
    ScriptedSearchPresenter m_search;
    suite::Session m_session;
    suite::Session *m_previous = nullptr;
};
