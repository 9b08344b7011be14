#pragma once

#include <QObject>
#include <QString>

class QIODevice;

namespace suite {

class Connection;

// Writes every statement of one connection, with its duration, to standard
// error or to a file, so support can see what a screen sends. Switched on by
// the environment: TALVEXOR_SQL_TRACE=1 (standard error) or =/path/file.
class StatementTrace : public QObject
{
    Q_OBJECT

public:
    // Attaches a trace to connection (as its child) when the environment asks
    // for one; returns it, or null.
    static StatementTrace *attachIfRequested(Connection &connection);

    StatementTrace(Connection &connection, const QString &target);
    ~StatementTrace() override;

    static QString formatLine(const QString &statement, qint64 microseconds);

private:
    void write(const QString &statement, qint64 microseconds);

    QIODevice *m_device = nullptr;
};

} // namespace suite
