// Measures how long the screen takes to come up: opening the database, the
// session and services, building the form, showing it and its start-up; and,
// when the host is given, a whole `talvexor --screenshot` run. Prints the
// median, minimum and maximum over N runs in milliseconds.
//
//   bench_startup [RUNS] [--host PATH_TO_TALVEXOR]
#include "bench/ShownScreen.h"
#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Figures
{
    double median = 0;
    double min = 0;
    double max = 0;
};

Figures summarise(QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const int n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return {median, ms.front(), ms.back()};
}

void print(const char *what, int runs, const Figures &f)
{
    std::printf("%-34s runs=%d median=%.1f ms min=%.1f ms max=%.1f ms\n", what, runs, f.median, f.min, f.max);
}

// One in-process start: everything the host does from an open database file
// to a loaded, shown screen.
double screenOnce(const QString &url)
{
    QElapsedTimer timer;
    timer.start();
    suite::Session session;
    bench::openSession(session, url);
    {
        const bench::ShownScreen screen(session);
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    suite::Session::setCurrent(nullptr);
    return ms;
}

double hostOnce(const QString &host, const QString &url, const QString &png)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(host, {u"--db"_s, url, u"--screenshot"_s, png});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "host run failed: %s\n", process.readAllStandardError().constData());
        std::exit(1);
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int runs = 20;
    QString host;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--host"_s && i + 1 < args.size())
            host = args[++i];
        else
            runs = std::max(1, args[i].toInt());
    }

    // A demo database on disk, as the host opens it.
    QTemporaryDir dir;
    const QString url = u"sqlite:"_s + dir.filePath(u"bench.db"_s);
    {
        auto connection = suite::Connection::open(url);
        suite::Schema::create(*connection);
        suite::DemoData::load(*connection);
    }

    screenOnce(url); // warm-up: fonts, plugins, the file cache
    QList<double> screen;
    for (int i = 0; i < runs; ++i)
        screen << screenOnce(url);
    print("screen (session+form+show+load)", runs, summarise(screen));

    if (!host.isEmpty()) {
        const QString png = dir.filePath(u"shot.png"_s);
        hostOnce(host, url, png);
        QList<double> whole;
        for (int i = 0; i < runs; ++i)
            whole << hostOnce(host, url, png);
        print("host (talvexor --screenshot)", runs, summarise(whole));
    }
    return 0;
}
