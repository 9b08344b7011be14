#include "bench/generate/CatalogueGenerator.h"

#include "bench/generate/AssetWriter.h"
#include "bench/generate/BackendTuning.h"
#include "bench/generate/DepreciationRuns.h"
#include "bench/generate/ReferenceCatalogues.h"
#include "bench/generate/SqlRun.h"
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"

#include <QElapsedTimer>

using namespace Qt::StringLiterals;

namespace bench {

CatalogueGenerator::CatalogueGenerator(suite::Connection &connection, GeneratorOptions options)
    : m_connection(connection)
    , m_options(options)
{
}

void CatalogueGenerator::setProgress(std::function<void(const GeneratorStep &)> progress)
{
    m_progress = std::move(progress);
}

void CatalogueGenerator::refuseFilled()
{
    const QSqlDatabase db = m_connection.database();
    if (m_connection.tableExists(u"Activo_Fijo"_s)) {
        const qint64 assets = SqlRun::count(db, u"Activo_Fijo"_s);
        if (assets > 0) {
            throw suite::SuiteError(u"The database already holds %1 assets; the generator only fills "
                                    "an empty one"_s.arg(assets));
        }
    }
    suite::Schema::create(m_connection);
    for (const QString &table : ReferenceCatalogues::generatedTables()) {
        if (SqlRun::count(db, table) > 0) {
            throw suite::SuiteError(u"The table %1 already has rows; the generator only fills an empty "
                                    "database"_s.arg(table));
        }
    }
}

void CatalogueGenerator::run()
{
    // Serial and economic numbers stay unique up to this many assets.
    if (m_options.assets < 1 || m_options.assets > 99999999)
        throw suite::SuiteError(u"The number of assets must be between 1 and 99999999"_s);
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer step;
    auto report = [&](const QString &what, qint64 rows) {
        if (m_progress)
            m_progress({what, rows, step.nsecsElapsed() / 1e9, clock.nsecsElapsed() / 1e9});
        step.restart();
    };

    refuseFilled();
    BackendTuning tuning(m_connection);
    tuning.forBulkLoad();
    const QSqlDatabase db = m_connection.database();

    step.start();
    ReferenceCatalogues catalogues(m_connection, m_options.seed);
    {
        suite::TransactionGuard transaction(m_connection);
        const qint64 copied = catalogues.copyDemo();
        report(u"demo configuration and catalogues"_s, copied);
        const qint64 extended = catalogues.extendCatalogues();
        report(u"catalogues extended"_s, extended);
        const qint64 centres = catalogues.makeCostCentres(m_options.costCentres);
        report(u"cost centres"_s, centres);
        transaction.commit();
    }
    const References references = catalogues.references();

    DepreciationRuns runs(m_connection);
    runs.createPlan();
    AssetWriter writer(db, references, m_options.seed);
    for (qint64 first = 1; first <= m_options.assets; first += m_options.assetsPerTransaction) {
        const qint64 last = std::min(m_options.assets, first + m_options.assetsPerTransaction - 1);
        suite::TransactionGuard transaction(m_connection);
        const qint64 rows = writer.write(first, last);
        transaction.commit();
        report(u"assets %1/%2"_s.arg(last).arg(m_options.assets), rows);
    }

    runs.post([&](int year, qint64 rows) { report(u"depreciation %1"_s.arg(year), rows); });
    runs.dropHelpers();

    const int indexes = tuning.rebuildIndexes();
    report(u"%1 indexes"_s.arg(indexes), 0);
    tuning.analyze();
    report(u"statistics (ANALYZE)"_s, 0);
    tuning.restore();
}

QVector<QPair<QString, qint64>> CatalogueGenerator::rowCounts(suite::Connection &connection)
{
    QVector<QPair<QString, qint64>> counts;
    for (const suite::TableDef &table : suite::Schema::tables())
        counts.append({table.name, SqlRun::count(connection.database(), table.name)});
    return counts;
}

} // namespace bench
