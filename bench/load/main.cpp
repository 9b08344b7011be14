// Measures loading an asset by key as a user does it: the key typed into the
// screen's key box and Enter, on a demo database file, in process. Every
// asset of the demo is loaded ROUNDS times; prints the median and the 95th
// percentile of one load, the share of it spent inside SQL (from the
// connection's statement timings) and how many statements one load runs.
//
//   bench_load [ROUNDS]
#include "screen/frmXB733.h"
#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const qsizetype at = std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5));
    return values.at(at);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;

    QTemporaryDir dir;
    const QString url = u"sqlite:"_s + dir.filePath(u"bench.db"_s);
    {
        auto connection = suite::Connection::open(url);
        suite::Schema::create(*connection);
        suite::DemoData::load(*connection);
    }

    suite::Session session;
    session.setConnection(suite::Connection::open(url));
    session.setUser(u"BENCH"_s);
    suite::Session::setCurrent(&session);
    suite::Entorno entorno(&session);
    suite::Utilerias utilerias(&session);
    frmXB733 form(&entorno, &utilerias);
    form.show();
    if (!form.isLoaded()) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(form.loadError()));
        return 1;
    }
    QApplication::processEvents();

    qint64 sqlMicros = 0;
    int statements = 0;
    QObject::connect(session.connection(), &suite::Connection::statementExecuted,
                     [&](const QString &, qint64 micros) {
                         sqlMicros += micros;
                         ++statements;
                     });

    auto *key = form.controlAs<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s);
    auto *toolbar = form.controlAs<suite::Controles>(u"Controles"_s);
    QList<double> totals;
    QList<double> sqlShares;
    QList<int> counts;
    const int assets = suite::DemoData::assetCount();
    for (int round = 0; round <= rounds; ++round) {
        for (int n = 1; n <= assets; ++n) {
            const QString wanted = u"%1"_s.arg(n, 10, 10, QLatin1Char('0'));
            key->setText(wanted); // the change empties the screen, as typing does
            sqlMicros = 0;
            statements = 0;
            QElapsedTimer timer;
            timer.start();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QApplication::sendEvent(key, &enter);
            const double ms = timer.nsecsElapsed() / 1e6;
            if (toolbar->clave() != wanted) {
                std::fprintf(stderr, "asset %s did not load\n", qPrintable(wanted));
                return 1;
            }
            if (round == 0)
                continue; // warm-up: the file cache and the kit's first lookups
            totals << ms;
            sqlShares << sqlMicros / 1000.0;
            counts << statements;
        }
    }
    std::sort(counts.begin(), counts.end());
    std::printf("load by key (demo, %d loads)  median=%.2f ms p95=%.2f ms  in SQL: median=%.2f ms  "
                "screen: median=%.2f ms  statements: %d to %d\n",
                int(totals.size()), percentile(totals, 0.5), percentile(totals, 0.95), percentile(sqlShares, 0.5),
                percentile(totals, 0.5) - percentile(sqlShares, 0.5), counts.front(), counts.back());
    suite::Session::setCurrent(nullptr);
    return 0;
}
