// Fills an empty database with a large fixed-asset catalogue to measure the
// screen on; prints a line per step and, at the end, the rows of every table.
//
//   talvexor_generate --db URL [--assets N] [--seed S]
//   URL: sqlite:/path/file.db or postgresql://user@host:port/db
#include "bench/generate/CatalogueGenerator.h"
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString grouped(qint64 number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0 && digits.at(at - 1).isDigit(); at -= 3)
        digits.insert(at, u',');
    return digits;
}

QString databaseSize(suite::Connection &connection)
{
    if (connection.backend() == u"sqlite"_s) {
        const QFileInfo file(connection.database().databaseName());
        return u"%1 MB in %2"_s.arg(file.size() / 1048576).arg(file.absoluteFilePath());
    }
    QSqlQuery query(connection.database());
    if (query.exec(u"SELECT pg_database_size(current_database())"_s) && query.next())
        return u"%1 MB"_s.arg(query.value(0).toLongLong() / 1048576);
    return u"unknown"_s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Fills an empty database with a large, realistic fixed-asset catalogue."_s);
    parser.addHelpOption();
    const QCommandLineOption db(u"db"_s, u"The database: sqlite:/path/file.db or postgresql://user@host:port/db."_s,
                                u"url"_s);
    const QCommandLineOption assets(u"assets"_s, u"How many assets (default 1000000)."_s, u"n"_s, u"1000000"_s);
    const QCommandLineOption seed(u"seed"_s, u"Seed of the variety; the same seed, the same catalogue (default 733)."_s,
                                  u"s"_s, u"733"_s);
    parser.addOptions({db, assets, seed});
    parser.process(app);

    bench::GeneratorOptions options;
    bool assetsOk = false;
    bool seedOk = false;
    options.assets = parser.value(assets).toLongLong(&assetsOk);
    options.seed = parser.value(seed).toULongLong(&seedOk);
    if (!parser.isSet(db) || !assetsOk || !seedOk) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }

    try {
        auto connection = suite::Connection::open(parser.value(db));
        bench::CatalogueGenerator generator(*connection, options);
        generator.setProgress([](const bench::GeneratorStep &step) {
            const QString rate = step.rows > 0 && step.seconds > 0
                ? u", %1 rows/s"_s.arg(grouped(qint64(step.rows / step.seconds)))
                : QString();
            std::printf("[%7.1f s] %-36s %12s rows in %6.1f s%s\n", step.elapsed, qPrintable(step.what),
                        qPrintable(grouped(step.rows)), step.seconds, qPrintable(rate));
            std::fflush(stdout);
        });
        QElapsedTimer clock;
        clock.start();
        generator.run();
        const double generated = clock.nsecsElapsed() / 1e9;

        std::printf("\n%-28s %14s\n", "table", "rows");
        qint64 total = 0;
        for (const auto &[table, rows] : bench::CatalogueGenerator::rowCounts(*connection)) {
            std::printf("%-28s %14s\n", qPrintable(table), qPrintable(grouped(rows)));
            total += rows;
        }
        std::printf("%-28s %14s\n", "all tables", qPrintable(grouped(total)));
        std::printf("\ngenerated %s assets (seed %llu) in %.1f s; database %s\n", qPrintable(grouped(options.assets)),
                    static_cast<unsigned long long>(options.seed), generated, qPrintable(databaseSize(*connection)));
    } catch (const suite::SuiteError &error) {
        std::fprintf(stderr, "talvexor_generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
