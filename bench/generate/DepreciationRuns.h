#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace suite {
class Connection;
}

namespace bench {

// The monthly depreciation runs of the company's history, replayed inside the
// database: each asset's plan (when it starts posting, for how many months in
// each book, how much each month) is written with the asset, then every month
// from the oldest purchase to the last run becomes three INSERT ... SELECT
// statements over the plans (a cancelled posting, the accounting book, the
// tax book). Rows therefore lie in the order a real system writes them, month
// after month, and the bulk of the catalogue never passes through the client.
class DepreciationRuns
{
public:
    explicit DepreciationRuns(suite::Connection &connection);

    static QString planTable();
    // n, key, centre charged, first month, then per book the last month, the
    // monthly amount and the last month's amount in cents, then the month of
    // a cancelled accounting posting (0: none) and its amount.
    static const QStringList &planColumns();

    void createPlan();
    // Posts every month, one transaction per year; yearDone(year, rows).
    qint64 post(const std::function<void(int, qint64)> &yearDone);
    void dropHelpers();

private:
    suite::Connection &m_connection;
};

} // namespace bench
