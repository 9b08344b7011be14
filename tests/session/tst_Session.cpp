#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/session/Session.h"
#include "tests/support/TestDatabase.h"

#include <QPointer>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Session;
using suite::SuiteError;

// The test sessions and their scripted presenters: exercised by every in-process test.
class TestSessionLifetime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Session::setCurrent(nullptr); }
    void currentNeedsAPublishedSession();
    void connectionOwnership();
};

void TestSessionLifetime::currentNeedsAPublishedSession()
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

void TestSessionLifetime::connectionOwnership()
{
    QPointer<suite::Connection> owned;
    auto borrowed = TestDatabase::sqlite();
    {
        Session session;
        auto connection = TestDatabase::sqlite();
        owned = connection.get();
        session.setConnection(std::move(connection));
        QCOMPARE(session.connection(), owned.data());
        // Replacing the owned connection with a borrowed one releases it.
        session.setConnection(borrowed.get());
        QVERIFY(owned.isNull());
        QCOMPARE(session.connection(), borrowed.get());
    }
    // The borrowed connection outlives the session.
    QCOMPARE(borrowed->Execute(u"SELECT 1"_s)->fieldValue(0).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestSessionLifetime)
#include "tst_Session.moc"
