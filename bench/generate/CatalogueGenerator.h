#pragma once

#include <QPair>
#include <QString>
#include <QVector>
#include <functional>

namespace suite {
class Connection;
}

namespace bench {

struct GeneratorOptions
{
    qint64 assets = 1000000;
    quint64 seed = 733;
    int costCentres = 100000;
    int assetsPerTransaction = 50000;
};

// One step done: what ("assets 50000/1000000", "depreciation 2019"), the rows
// it wrote and how long it took; elapsed counts from the start of the run.
struct GeneratorStep
{
    QString what;
    qint64 rows = 0;
    double seconds = 0;
    double elapsed = 0;
};

// Fills an empty database of either backend with a large, realistic fixed-
// asset catalogue for measuring the screen: the demo's configuration and
// catalogues, a hierarchy of cost centres, N assets with their distribution,
// equipment, vehicles, audit rows and monthly depreciation history in both
// books. The same options give the same catalogue on every run and backend.
// Refuses, with SuiteError, a database that already holds assets.
class CatalogueGenerator
{
public:
    CatalogueGenerator(suite::Connection &connection, GeneratorOptions options);

    void setProgress(std::function<void(const GeneratorStep &)> progress);
    void run();

    // Rows of every table of the schema, in the schema's order.
    static QVector<QPair<QString, qint64>> rowCounts(suite::Connection &connection);

private:
    void refuseFilled();

    suite::Connection &m_connection;
    GeneratorOptions m_options;
    std::function<void(const GeneratorStep &)> m_progress;
};

} // namespace bench
