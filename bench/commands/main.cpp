// Every command of the screen on one large catalogue, in process: the real
// form driven as a user drives it (see CommandBench), the statements each
// command sent timed again alone (the floor), the host started cold to an
// idle screen and the peak resident memory. Prints a table; --tsv appends
// the same figures for bench_report.
//
//   bench_commands --db URL [--rounds N] [--host PATH] [--host-runs N]
//                  [--floor PATH] [--seed S] [--tsv FILE]
#include "bench/commands/CommandBench.h"
#include "bench/commands/HostStart.h"
#include "bench/commands/StatementFloor.h"
#include "bench/ShownScreen.h"
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// What the disk takes to flush a commit, which every write command waits
// for once: a 4 KiB write and fdatasync, 50 times, in the folder of a SQLite
// file (for PostgreSQL, the temporary folder). It varies with what else
// the machine writes, so it is measured beside the commands.
QList<double> diskFlushMs(const QString &url)
{
    const QString folder = url.startsWith(u"sqlite:"_s) ? QFileInfo(url.mid(7)).absolutePath() : QDir::tempPath();
    QTemporaryFile file(folder + u"/flush-XXXXXX"_s);
    QList<double> ms;
    if (!file.open())
        return ms;
    const QByteArray page(4096, 'x');
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (::pwrite(file.handle(), page.constData(), page.size(), 0) != page.size() || ::fdatasync(file.handle()) != 0)
            break;
        ms << timer.nsecsElapsed() / 1e6;
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Times every command of the XB733 screen on a generated catalogue."_s);
    parser.addHelpOption();
    const QCommandLineOption db(u"db"_s, u"The catalogue: sqlite:/path.db or postgresql://..."_s, u"url"_s);
    const QCommandLineOption rounds(u"rounds"_s, u"Measured runs of every command (default 30)."_s, u"n"_s, u"30"_s);
    const QCommandLineOption host(u"host"_s, u"The talvexor executable, for the cold start."_s, u"path"_s);
    const QCommandLineOption hostRuns(u"host-runs"_s, u"Cold starts measured (default 10)."_s, u"n"_s, u"10"_s);
    const QCommandLineOption floor(u"floor"_s, u"The bench_floor executable (default: beside this one)."_s,
                                   u"path"_s);
    const QCommandLineOption seed(u"seed"_s, u"Seed of the subjects drawn (default 733)."_s, u"s"_s, u"733"_s);
    const QCommandLineOption tsv(u"tsv"_s, u"Appends the figures to this file."_s, u"file"_s);
    parser.addOptions({db, rounds, host, hostRuns, floor, seed, tsv});
    parser.process(app);
    if (!parser.isSet(db)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }
    const QString url = parser.value(db);
    const QString floorTool = parser.isSet(floor) ? parser.value(floor)
                                                  : QDir(QCoreApplication::applicationDirPath()).filePath(u"bench_floor"_s);

    try {
        suite::Session session;
        bench::openSession(session, url);
        const QString backend = session.connection()->backend();
        bench::ShownScreen screen(session);

        bench::CommandBench commands(screen.form(), session, screen.utilerias(), parser.value(seed).toULongLong());
        std::printf("%s: %lld assets, %lld cost centres; %d rounds after a warm-up\n", qPrintable(url),
                    commands.assets(), commands.centres(), parser.value(rounds).toInt());
        std::fflush(stdout);
        const QList<double> flushBefore = diskFlushMs(url);
        commands.run(std::max(1, parser.value(rounds).toInt()));
        const QList<double> flush = flushBefore + diskFlushMs(url);

        const bench::StatementFloor floorRuns(url, floorTool);
        QList<bench::CommandSamples> results = commands.results();
        for (bench::CommandSamples &command : results)
            command.floorMs = floorRuns.time(command.replays);
        const double benchRss = bench::peakRssMb(getpid());

        bench::HostStartFigures start;
        if (parser.isSet(host))
            start = bench::HostStart(parser.value(host), url).measure(std::max(1, parser.value(hostRuns).toInt()));

        std::printf("%-20s %5s %8s %8s %8s %8s %8s %6s %8s\n", "command (ms)", "runs", "median", "p95", "in SQL",
                    "commit", "screen", "stmts", "floor");
        QFile out(parser.value(tsv));
        const bool writeTsv = parser.isSet(tsv) && out.open(QIODevice::Append | QIODevice::Text);
        auto row = [&](const QString &what, const QList<double> &values, const QString &rest) {
            if (writeTsv) {
                out.write(u"%1\t%2\t%3\t%4\t%5\t%6\t%7\n"_s.arg(backend).arg(commands.assets()).arg(what)
                              .arg(values.size()).arg(bench::percentile(values, 0.5), 0, 'f', 3)
                              .arg(bench::percentile(values, 0.95), 0, 'f', 3).arg(rest).toUtf8());
            }
        };
        for (const bench::CommandSamples &c : results) {
            QList<int> counts = c.statements;
            std::sort(counts.begin(), counts.end());
            const double floorMedian = bench::percentile(c.floorMs, 0.5);
            std::printf("%-20s %5d %8.2f %8.2f %8.2f %8.2f %8.2f %6d %8.2f\n", qPrintable(c.name),
                        int(c.totalMs.size()), c.median(), c.p95(), bench::percentile(c.sqlMs, 0.5),
                        bench::percentile(c.commitMs, 0.5), bench::percentile(c.screenMs, 0.5),
                        counts.isEmpty() ? 0 : counts.at(counts.size() / 2), floorMedian);
            row(c.name, c.totalMs,
                u"%1\t%2\t%3\t%4\t%5"_s.arg(bench::percentile(c.sqlMs, 0.5), 0, 'f', 3)
                    .arg(bench::percentile(c.screenMs, 0.5), 0, 'f', 3)
                    .arg(counts.isEmpty() ? 0 : counts.at(counts.size() / 2))
                    .arg(floorMedian, 0, 'f', 3)
                    .arg(bench::percentile(c.commitMs, 0.5), 0, 'f', 3));
        }
        if (!start.ms.isEmpty()) {
            std::printf("host cold start to an idle screen: %d runs, median %.1f ms, p95 %.1f ms\n",
                        int(start.ms.size()), bench::percentile(start.ms, 0.5), bench::percentile(start.ms, 0.95));
            row(u"cold-start"_s, start.ms, u"\t\t\t\t"_s);
        }
        std::printf("disk flush (4 KiB write and fdatasync): median %.2f ms, p95 %.2f ms\n",
                    bench::percentile(flush, 0.5), bench::percentile(flush, 0.95));
        row(u"disk-flush"_s, flush, u"\t\t\t\t"_s);
        std::printf("peak RSS: host at an idle screen %.1f MB; this process after every command %.1f MB\n",
                    start.peakRssMb, benchRss);
        row(u"peak-rss-host"_s, {start.peakRssMb}, u"\t\t\t\t"_s);
        row(u"peak-rss-commands"_s, {benchRss}, u"\t\t\t\t"_s);
        suite::Session::setCurrent(nullptr);
    } catch (const suite::SuiteError &error) {
        std::fprintf(stderr, "bench_commands: %s\n", error.what());
        return 1;
    }
    return 0;
}
