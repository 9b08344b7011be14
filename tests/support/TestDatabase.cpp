#include "tests/support/TestDatabase.h"

#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"

#include <QFileInfo>
#include <QUrl>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

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
            *reason = u"SKIP: PostgreSQL not available (set TALVEXOR_PG_URL)"_s;
        return nullptr;
    }
    // Unquoted, lower case: the name PostgreSQL keeps.
    const QString database = u"talvexor_test_"_s
        + QUuid::createUuid().toString(QUuid::Id128).left(16).toLower();
    std::unique_ptr<suite::Connection> connection;
    try {
        suite::Connection::open(adminUrl)->Execute(u"CREATE DATABASE "_s + database + u" ENCODING 'UTF8' TEMPLATE template0"_s);
        QUrl url(adminUrl);
        url.setPath(u"/"_s + database);
        connection = suite::Connection::open(url.toString());
    } catch (const suite::SuiteError &error) {
        if (reason)
            *reason = u"SKIP: PostgreSQL not available at %1: %2"_s.arg(adminUrl, error.description());
        return nullptr;
    }
    // Dropped once the connection's own destructor has closed it.
    QObject::connect(connection.get(), &QObject::destroyed, [adminUrl, database] {
        try {
            suite::Connection::open(adminUrl)->Execute(u"DROP DATABASE IF EXISTS "_s + database);
        } catch (const suite::SuiteError &error) {
            qWarning("Could not drop test database %s: %s", qPrintable(database), error.what());
        }
    });
    // A server that is there but refuses the schema or the demo is a failure
    // of the test, not a reason to skip it: let the error reach the test.
    fill(*connection, withDemo);
    return connection;
}

std::unique_ptr<suite::Connection> TestDatabase::open(const QString &backend, bool withDemo, QString *reason)
{
    return backend == u"postgresql"_s ? postgres(withDemo, reason) : sqlite(withDemo);
}

QVariant firstValue(suite::Connection &connection, const QString &statement)
{
    const suite::RecordsetPtr rows = connection.Execute(statement);
    return rows->Eof() ? QVariant() : rows->fieldValue(0);
}

QString errorOf(suite::Connection &connection, const QString &statement)
{
    try {
        connection.Execute(statement);
    } catch (const suite::SuiteError &error) {
        return error.description();
    }
    return QString();
}
