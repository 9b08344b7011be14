#include "tests/support/TestDatabase.h"

#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"

#include <QCoreApplication>
#include <QTest>
#include <QFileInfo>
#include <QUrl>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

const QString notAvailable = u"SKIP: PostgreSQL not available (set TALVEXOR_PG_URL)"_s;

QString urlWithDatabase(const QString &url, const QString &database)
{
    QUrl parsed(url);
    parsed.setPath(u"/"_s + database);
    return parsed.toString();
}

// Drops the test's database once its connection has closed: it lives as a
// child of the connection, and children die after the connection's own
// destructor has closed the database.
class DatabaseDropper : public QObject
{
public:
    DatabaseDropper(suite::Connection *connection, QString adminUrl, QString database)
        : QObject(connection), m_adminUrl(std::move(adminUrl)), m_database(std::move(database)) {}

    ~DatabaseDropper() override
    {
        try {
            auto admin = suite::Connection::open(m_adminUrl);
            admin->Execute(u"DROP DATABASE IF EXISTS "_s + m_database);
        } catch (const suite::SuiteError &error) {
            qWarning("Could not drop test database %s: %s", qPrintable(m_database), error.what());
        }
    }

private:
    QString m_adminUrl;
    QString m_database;
};

void fill(suite::Connection &connection, bool withDemo)
{
    suite::Schema::create(connection);
    if (withDemo)
        suite::DemoData::load(connection);
}

} // namespace

std::unique_ptr<suite::Connection> TestDatabase::sqlite(bool withDemo)
{
    auto connection = suite::Connection::open(u"sqlite::memory:"_s);
    fill(*connection, withDemo);
    return connection;
}

std::unique_ptr<suite::Connection> TestDatabase::sqliteFile(const QString &path, bool withDemo)
{
    const bool fresh = !QFileInfo::exists(path);
    auto connection = suite::Connection::open(u"sqlite:"_s + path);
    if (fresh)
        fill(*connection, withDemo);
    return connection;
}

bool TestDatabase::postgresRequired()
{
    return qEnvironmentVariable("TALVEXOR_REQUIRE_PG") == u"1"_s;
}

void TestDatabase::addBackendRows()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << u"sqlite"_s;
    QTest::newRow("postgresql") << u"postgresql"_s;
}

std::unique_ptr<suite::Connection> TestDatabase::postgres(bool withDemo, QString *reason)
{
    const QString adminUrl = qEnvironmentVariable("TALVEXOR_PG_URL");
    if (adminUrl.isEmpty()) {
        if (reason)
            *reason = notAvailable;
        return nullptr;
    }
    // Unquoted, lower case: the name PostgreSQL keeps.
    const QString database = u"talvexor_test_"_s
        + QUuid::createUuid().toString(QUuid::Id128).left(16).toLower();
    std::unique_ptr<suite::Connection> connection;
    try {
        {
            auto admin = suite::Connection::open(adminUrl);
            admin->Execute(u"CREATE DATABASE "_s + database + u" ENCODING 'UTF8' TEMPLATE template0"_s);
        }
        connection = suite::Connection::open(urlWithDatabase(adminUrl, database));
        new DatabaseDropper(connection.get(), adminUrl, database);
    } catch (const suite::SuiteError &error) {
        if (reason)
            *reason = u"SKIP: PostgreSQL not available at %1: %2"_s.arg(adminUrl, error.description());
        return nullptr;
    }
    // A server that is there but refuses the schema or the demo is a failure
    // of the test, not a reason to skip it: let the error reach the test.
    fill(*connection, withDemo);
    return connection;
}

std::unique_ptr<suite::Connection> TestDatabase::open(const QString &backend, bool withDemo, QString *reason)
{
    if (backend == u"postgresql"_s)
        return postgres(withDemo, reason);
    return sqlite(withDemo);
}
