#include "suite/kit/SearchRunner.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/StatementTrace.h"
#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

SearchRunner::SearchRunner(Connection *source, const SearchQuery &query)
    : m_url(source->url())
    , m_query(query)
    , m_source(source)
{
    m_thread = std::thread([this] { work(); });
}

SearchRunner::~SearchRunner()
{
    {
        std::lock_guard lock(m_lock);
        m_quit = true;
        if (m_busy && m_interrupt)
            m_interrupt();
    }
    m_wake.notify_all();
    m_thread.join();
}

bool SearchRunner::available(const Connection &source)
{
    // Every connection to ":memory:" opens a database of its own.
    return source.url() != u"sqlite::memory:"_s;
}

void SearchRunner::search(const QString &filter)
{
    std::lock_guard lock(m_lock);
    m_filter = filter;
    ++m_asked;
    if (m_busy && m_interrupt) {
        ++m_interrupts;
        m_interrupt();
    }
    m_wake.notify_one();
}

void SearchRunner::work()
{
    std::unique_ptr<Connection> connection;
    try {
        connection = Connection::open(m_url);
    } catch (const SuiteError &error) {
        QMetaObject::invokeMethod(this, [this, text = error.description()] { Q_EMIT unavailable(text); },
                                  Qt::QueuedConnection);
        return;
    }
    // Reported as the source's statements, and traced there once.
    qDeleteAll(connection->findChildren<StatementTrace *>());
    Connection *source = m_source;
    connect(connection.get(), &Connection::statementExecuted, source,
            [source](const QString &statement, qint64 microseconds) {
                Q_EMIT source->statementExecuted(statement, microseconds);
            },
            Qt::QueuedConnection);
    try {
        for (const QString &statement : connection->dialect().searchSessionSql())
            connection->Execute(statement);
    } catch (const SuiteError &error) {
        QMetaObject::invokeMethod(this, [this, text = error.description()] { Q_EMIT unavailable(text); },
                                  Qt::QueuedConnection);
        return;
    }
    {
        std::lock_guard lock(m_lock);
        m_interrupt = connection->dialect().interrupter(connection->database());
    }

    quint64 done = 0;
    quint64 interruptsSeen = 0;
    bool retried = false;
    for (;;) {
        QString filter;
        quint64 asked = 0;
        bool mayBeInterrupted = false;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [&] { return m_quit || m_asked != done; });
            if (m_quit)
                break;
            filter = m_filter;
            asked = m_asked;
            // A cancel sent for the search before may reach the server only
            // once this one runs (PostgreSQL): such a failure is tried again.
            mayBeInterrupted = m_interrupts != interruptsSeen;
            interruptsSeen = m_interrupts;
            m_busy = true;
        }
        auto superseded = [&] {
            std::lock_guard lock(m_lock);
            return m_quit || m_asked != asked;
        };
        std::optional<SearchQuery::Result> result;
        QString error;
        try {
            result = m_query.run(*connection, filter, superseded);
        } catch (const SuiteError &e) {
            error = e.description();
        }
        {
            std::lock_guard lock(m_lock);
            m_busy = false;
            mayBeInterrupted = mayBeInterrupted || m_interrupts != interruptsSeen;
        }
        if (superseded())
            continue;
        if (!error.isEmpty() && mayBeInterrupted && !retried) {
            retried = true;
            continue;
        }
        done = asked;
        retried = false;
        // Given in the dialog's thread, and only while no later filter was asked for.
        QMetaObject::invokeMethod(
            this,
            [this, asked, filter, result, error] {
                {
                    std::lock_guard lock(m_lock);
                    if (m_asked != asked)
                        return;
                }
                if (result)
                    Q_EMIT found(filter, *result);
                else
                    Q_EMIT failed(filter, error);
            },
            Qt::QueuedConnection);
    }
    {
        std::lock_guard lock(m_lock);
        m_interrupt = nullptr;
    }
    connection.reset();
}

} // namespace suite
