#pragma once

#include <QString>
#include <QVariant>
#include <QtTest/QTest>
#include <memory>

namespace suite {
class Connection;
}

// Fresh databases for tests: each call gives a database of its own with the
// schema (and, on request, the demo data) already in it.
class TestDatabase
{
public:
    // A private in-memory SQLite database.
    static std::unique_ptr<suite::Connection> sqlite(bool withDemo = false);
    // A SQLite file (for tests where two connections share one database);
    // the schema is created when the file is new.
    static std::unique_ptr<suite::Connection> sqliteFile(const QString &path, bool withDemo = false);

    // A newly created PostgreSQL database on the server of TALVEXOR_PG_URL,
    // dropped when the connection is destroyed. Null when no server is
    // configured or reachable; *reason then says why.
    static std::unique_ptr<suite::Connection> postgres(bool withDemo = false, QString *reason = nullptr);

    // "sqlite" or "postgresql"; null (with a reason) as postgres() does.
    static std::unique_ptr<suite::Connection> open(const QString &backend, bool withDemo = false,
                                                   QString *reason = nullptr);

    // TALVEXOR_REQUIRE_PG=1: a missing PostgreSQL is a failure, not a skip.
    static bool postgresRequired();

    // The data column "backend" with one row per backend, for _data() functions.
    static void addBackendRows();
};

// The first value of the first row of statement; null when there is no row.
QVariant firstValue(suite::Connection &connection, const QString &statement);
// The error text statement raises; empty when it runs.
QString errorOf(suite::Connection &connection, const QString &statement);

// `var` from `opening`, an expression that gives null and fills var##Reason
// when PostgreSQL is not there: then the test is skipped with a visible SKIP
// line, or fails when TALVEXOR_REQUIRE_PG=1.
#define TALVEXOR_OR_SKIP(var, opening)                                                        \
    QString var##Reason;                                                                     \
    auto var = (opening);                                                                    \
    if (!var) {                                                                              \
        if (TestDatabase::postgresRequired())                                                 \
            QFAIL(qPrintable(var##Reason.replace(QStringLiteral("SKIP:"), QStringLiteral("TALVEXOR_REQUIRE_PG=1, but")))); \
        QSKIP(qPrintable(var##Reason));                                                       \
    }

// A fresh database of a backend named at run time (data-driven tests).
#define TALVEXOR_OPEN_OR_SKIP(var, backend, withDemo)                                         \
    TALVEXOR_OR_SKIP(var, TestDatabase::open((backend), (withDemo), &var##Reason))
