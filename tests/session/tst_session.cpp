#include "suite/data/SuiteError.h"
#include "suite/session/Session.h"

#include <QtTest/QTest>

using suite::Session;
using suite::SuiteError;

// The test sessions and their scripted presenters, and a session owning its
// connection: exercised by every in-process test.
class TestSessionLifetime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Session::setCurrent(nullptr); }

    void currentNeedsAPublishedSession()
    {
        QVERIFY_THROWS_EXCEPTION(SuiteError, Session::current());
        {
            Session session;
            Session::setCurrent(&session);
            QCOMPARE(&Session::current(), &session);
            QVERIFY_THROWS_EXCEPTION(SuiteError, session.connection());
        }
        // A published session that goes away is no longer current.
        QVERIFY(!Session::currentOrNull());
    }
};

QTEST_GUILESS_MAIN(TestSessionLifetime)
#include "tst_session.moc"
