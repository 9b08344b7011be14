#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QPointer>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Session;
using suite::SuiteError;

class TestSessionLifetime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Session::setCurrent(nullptr); }
    void currentNeedsAPublishedSession();
    void connectionOwnership();
    void testSessionsNestAndRestore();
    void scriptedPresenters();
};

void TestSessionLifetime::currentNeedsAPublishedSession()
{
    QVERIFY(!Session::currentOrNull());
    try {
        Session::current();
        QFAIL("a session was found where none was published");
    } catch (const SuiteError &error) {
        QCOMPARE(error.description(), u"No hay una sesión de Talvexor abierta"_s);
    }
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
        session.setUser(u"ANA"_s);
        session.setForceUpperCase(true);
        QCOMPARE(session.user(), u"ANA"_s);
        QVERIFY(session.forceUpperCase());
    }
    // The borrowed connection outlives the session.
    QVERIFY(borrowed->Execute(u"SELECT 1"_s)->fieldValue(0).toInt() == 1);
}

void TestSessionLifetime::testSessionsNestAndRestore()
{
    TestSession outer;
    QCOMPARE(&Session::current(), &outer.session());
    QCOMPARE(Session::current().user(), u"PRUEBA"_s);
    QVERIFY(outer.connection().tableExists(u"Activo_Fijo"_s));
    {
        TestSession inner(true);
        QCOMPARE(&Session::current(), &inner.session());
        QVERIFY(inner.connection().Execute(u"SELECT COUNT(*) FROM Activo_Fijo"_s)->fieldValue(0).toInt() > 0);
        QCOMPARE(outer.connection().Execute(u"SELECT COUNT(*) FROM Activo_Fijo"_s)->fieldValue(0).toInt(), 0);
    }
    QCOMPARE(&Session::current(), &outer.session());
}

void TestSessionLifetime::scriptedPresenters()
{
    TestSession test;
    auto *messages = Session::current().messages();
    QVERIFY(messages);
    messages->show({u"Aviso"_s, 48, u"Talvexor"_s, u"XB733"_s, u"ERR-ID:7500031"_s, nullptr});
    test.messages().answerNext(6);
    QCOMPARE(messages->show({u"¿Desea continuar?"_s, 36, u"Talvexor"_s, u"XB733"_s, u"ERR-ID:7500001"_s, nullptr}), 6);
    QCOMPARE(messages->show({u"¿Otra vez?"_s, 36, u"Talvexor"_s, u"XB733"_s, u"ERR-ID:7500003"_s, nullptr}), 7);
    QCOMPARE(test.messages().ids(),
             (QStringList{u"ERR-ID:7500031"_s, u"ERR-ID:7500001"_s, u"ERR-ID:7500003"_s}));
    QCOMPARE(test.messages().last().prompt, u"¿Otra vez?"_s);

    test.search().answerNext(u"000110"_s);
    QCOMPARE(Session::current().search()->choose(u"CENTRO_COSTO"_s, 100, nullptr), u"000110"_s);
    QCOMPARE(Session::current().search()->choose(u"EMPRESA"_s, 100, nullptr), QString());
    QCOMPARE(test.search().queryIds(), (QStringList{u"CENTRO_COSTO"_s, u"EMPRESA"_s}));
}

QTEST_GUILESS_MAIN(TestSessionLifetime)
#include "tst_Session.moc"
