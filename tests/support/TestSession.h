#pragma once

// Complete, not declared: the default argument builds and destroys a
// connection wherever a TestSession is made.
#include "suite/data/Connection.h"
#include "tests/support/RecordingMessagePresenter.h"
#include "tests/support/ScriptedSearchPresenter.h"
#include "tests/support/TestDatabase.h"

#include <QString>
#include <memory>

namespace suite {
class Session;
}

// A session for one test: the given connection (a fresh in-memory SQLite
// database with the schema by default), the operator "PRUEBA", a recording
// message presenter and a scripted search presenter. It is published as the
// current session while it lives; the previous one comes back afterwards.
class TestSession
{
public:
    explicit TestSession(std::unique_ptr<suite::Connection> connection = TestDatabase::sqlite(),
                         const QString &user = QStringLiteral("PRUEBA"));
    explicit TestSession(bool withDemo);
    ~TestSession();
    TestSession(const TestSession &) = delete;
    TestSession &operator=(const TestSession &) = delete;

    suite::Session &session() { return *m_session; }
    suite::Connection &connection();
    RecordingMessagePresenter &messages() { return m_messages; }
    ScriptedSearchPresenter &search() { return m_search; }

private:
    RecordingMessagePresenter m_messages;
    ScriptedSearchPresenter m_search;
    std::unique_ptr<suite::Session> m_session;
    suite::Session *m_previous = nullptr;
};
