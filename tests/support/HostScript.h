#pragma once

#include "suite/data/Connection.h"
#include "tests/support/TestDatabase.h"

#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A database the real host can open from another process: a SQLite file in
// a temporary folder, or a fresh PostgreSQL database (dropped with it). The
// test keeps its own connection to look at what the host did.
class HostDatabase
{
public:
    // "sqlite" or "postgresql"; null (with a reason) when PostgreSQL is not there.
    static std::unique_ptr<HostDatabase> create(const QString &backend, bool withDemo, QString *reason = nullptr);

    QString url() const { return m_url; }
    suite::Connection &connection() { return *m_connection; }
    // The first column of the first row of statement, as text ("" when no row).
    QString value(const QString &statement) { return firstValue(*m_connection, statement).toString(); }
    void execute(const QString &statement) { m_connection->Execute(statement); }

private:
    HostDatabase() = default;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<suite::Connection> m_connection;
    QString m_url;
};

// What one run of `talvexor` printed.
struct HostRun
{
    QList<QJsonObject> events; // one a line; a line that is not JSON gives {}
    int exitCode = -1;         // -1 when it did not start, crashed or hung
    QString errorOutput;
    QByteArray output;         // as written, for its exact form

    QList<QJsonObject> of(const QString &event) const; // the events of one kind, in order
    QJsonObject dump(int index = 0) const;             // the index-th dump, {} when fewer
    QStringList messageIds() const;                    // ids of the "mensaje" events, in order
    QStringList messages() const;                      // each "mensaje" as "id|style|title|prompt", in order
    QStringList errors() const;                        // texts of the "error" events
};

// Runs talvexor with these arguments and `input` on its standard input.
HostRun runTalvexor(const QStringList &arguments, const QByteArray &input = {},
                    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
// Runs the script on the database as operator PRUEBA; extra arguments follow.
HostRun runHost(const QString &url, const QString &script, const QStringList &arguments = {});

// The state of one control in a dump.
QJsonObject dumpedControl(const QJsonObject &dump, const QString &name);
// Every value a dump shows, control by control, as "control.member" (text, valor, date, value, rows, and with
// items the lists' rows), to compare whole.
QJsonObject dumpedValues(const QJsonObject &dump, bool items = false);

// Script lines: a word quoted, its backslashes, quotes and control characters escaped; a box's text set; an
// asset's key put in the key box and confirmed with Enter, which shows the record.
QString word(const QString &text);
QString setText(const QString &control, const QString &text);
QString loadLines(const QString &key);
// The user types every key, and the boxes keep what is typed as typed.
void typeAsTyped(HostDatabase &db);

// A database for the host into `var`, or a skip as TALVEXOR_OPEN_OR_SKIP.
#define TALVEXOR_HOST_DATABASE_OR_SKIP(var, backend, withDemo)                                 \
    TALVEXOR_OR_SKIP(var, HostDatabase::create((backend), (withDemo), &var##Reason))
