#pragma once

#include "suite/kit/SearchQuery.h"

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace suite {

class Connection;

// Runs one search dialog's searches on a connection of its own, in a thread
// of its own, so that typing never waits for a search. Only the last filter
// asked for is searched: asking again stops the search under way (its
// statement is interrupted) and the rows of an earlier filter are never
// given. The statements it runs are reported through the statementExecuted
// signal of the connection it was made from, so traces and timings see them.
class SearchRunner : public QObject
{
    Q_OBJECT

public:
    // source is the dialog's connection: the runner opens its own to the
    // same database. A database only that connection can reach (SQLite in
    // memory) has no runner: see available().
    SearchRunner(Connection *source, const SearchQuery &query);
    ~SearchRunner() override;

    static bool available(const Connection &source);

    void search(const QString &filter); // returns at once

Q_SIGNALS:
    void found(const QString &filter, const suite::SearchQuery::Result &result);
    void failed(const QString &filter, const QString &error);
    // The runner's connection could not be opened: searches must be run elsewhere.
    void unavailable(const QString &error);

private:
    void work();

    QString m_url;
    SearchQuery m_query;
    Connection *m_source;

    std::mutex m_lock;
    std::condition_variable m_wake;
    QString m_filter;       // the last asked for
    quint64 m_asked = 0;    // how many searches were asked for
    quint64 m_interrupts = 0;
    bool m_quit = false;
    bool m_busy = false;    // a search is under way
    std::function<void()> m_interrupt; // of the statement running now, if any
    std::thread m_thread;
};

} // namespace suite
