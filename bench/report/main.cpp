// Turns the figures bench_commands appended to a TSV file into what
// docs/performance.md shows: a table per catalogue, every target checked on
// each backend (met or missed, never relaxed), and the data of the plot of
// each command's median against the catalogue's size on SQLite (of the
// searches, each one's slowest filter).
//
//   bench_report TSV --markdown FILE --plot FILE [--machine TEXT] [--command TEXT]
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTextStream>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The targets, at a million assets against a thousand.
constexpr double FrameMs = 16;
constexpr double MostGrowth = 1.3;
constexpr double ScreenMs = 8;
constexpr double ColdStartMs = 300;
constexpr double PeakRssMb = 80;

struct Figures
{
    int runs = 0;
    double median = 0;
    double p95 = 0;
    QString sql, screen, statements, floor, commit;
};

// backend -> assets -> row name -> figures, rows in the order first seen.
struct Results
{
    QMap<QString, QMap<qint64, QMap<QString, Figures>>> data;
    QStringList commands;
};

Results read(const QString &path)
{
    Results results;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench_report: %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        std::exit(1);
    }
    while (!file.atEnd()) {
        const QStringList f = QString::fromUtf8(file.readLine()).chopped(1).split(u'\t');
        if (f.size() < 11)
            continue;
        const Figures figures{f[3].toInt(), f[4].toDouble(), f[5].toDouble(), f[6], f[7], f[8], f[9], f[10]};
        results.data[f[0]][f[1].toLongLong()][f[2]] = figures;
        if (!f[6].isEmpty() && !results.commands.contains(f[2]))
            results.commands << f[2];
    }
    return results;
}

QString number(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 100 ? 2 : 0);
}

QString backendName(const QString &backend)
{
    return backend == u"sqlite"_s ? u"SQLite"_s : u"PostgreSQL"_s;
}

QString verdict(bool met)
{
    return met ? u"met"_s : u"**missed**"_s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument(u"tsv"_s, u"The figures bench_commands appended."_s);
    const QCommandLineOption markdown(u"markdown"_s, u"Where the tables go."_s, u"file"_s);
    const QCommandLineOption plot(u"plot"_s, u"Where the plot's data go."_s, u"file"_s);
    const QCommandLineOption machine(u"machine"_s, u"The machine, as the tables say it."_s, u"text"_s);
    const QCommandLineOption command(u"command"_s, u"The command line that made the figures."_s, u"text"_s);
    parser.addOptions({markdown, plot, machine, command});
    parser.process(app);
    if (parser.positionalArguments().size() != 1 || !parser.isSet(markdown) || !parser.isSet(plot)) {
        std::fprintf(stderr, "usage: bench_report TSV --markdown FILE --plot FILE [--machine TEXT] [--command TEXT]\n");
        return 2;
    }
    const Results results = read(parser.positionalArguments().constFirst());

    QFile mdFile(parser.value(markdown));
    QFile plotFile(parser.value(plot));
    if (!mdFile.open(QIODevice::WriteOnly | QIODevice::Text) || !plotFile.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench_report: cannot write the results\n");
        return 1;
    }
    QTextStream md(&mdFile);
    md << "Measured on " << parser.value(machine) << ", by `" << parser.value(command) << "`.\n\n";

    for (const QString &backendKey : {u"sqlite"_s, u"postgresql"_s}) {
        const auto backend = results.data.constFind(backendKey);
        if (backend == results.data.cend())
            continue;
        for (auto size = backend->cbegin(); size != backend->cend(); ++size) {
            md << "**" << backendName(backend.key()) << ", " << number(size.key()) << " assets** (ms)\n\n"
               << "| command | runs | median | p95 | in SQL | of it COMMIT | screen | statements | floor |\n"
               << "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
            for (const QString &name : results.commands) {
                const Figures f = size->value(name);
                md << "| " << name << " | " << f.runs << " | " << ms(f.median) << " | " << ms(f.p95) << " | "
                   << ms(f.sql.toDouble()) << " | " << ms(f.commit.toDouble()) << " | " << ms(f.screen.toDouble())
                   << " | " << f.statements << " | "
                   << ms(f.floor.toDouble()) << " |\n";
            }
            const Figures flush = size->value(u"disk-flush"_s);
            md << "\nThe disk's flush (a 4 KiB write and fdatasync) meanwhile: median " << ms(flush.median)
               << " ms, p95 " << ms(flush.p95) << " ms.";
            const Figures start = size->value(u"cold-start"_s);
            md << " Host cold start to an idle screen: median " << ms(start.median) << " ms, p95 " << ms(start.p95)
               << " ms (" << start.runs << " runs). Peak RSS: host at an idle screen "
               << QString::number(size->value(u"peak-rss-host"_s).median, 'f', 1)
               << " MB; the benchmark's process after every command "
               << QString::number(size->value(u"peak-rss-commands"_s).median, 'f', 1) << " MB.\n\n";
        }
    }

    // The targets: each backend's largest catalogue against its smallest.
    for (const QString &backendKey : {u"sqlite"_s, u"postgresql"_s}) {
        const auto sizes = results.data.value(backendKey);
        if (sizes.size() < 2)
            continue;
        const qint64 small = sizes.firstKey();
        const qint64 large = sizes.lastKey();
        const auto &base = sizes[small];
        const auto &top = sizes[large];
        md << "**Targets on " << backendName(backendKey) << " at " << number(large) << " assets against "
           << number(small) << "**\n\n"
           << "| command | median at " << number(small) << " | median at " << number(large)
           << " | growth | screen's share | median ≤ " << FrameMs << " ms | growth ≤ " << MostGrowth
           << " | screen ≤ " << ScreenMs << " ms |\n|---|---:|---:|---:|---:|---|---|---|\n";
        for (const QString &name : results.commands) {
            const Figures b = base.value(name);
            const Figures t = top.value(name);
            const double growth = b.median > 0 ? t.median / b.median : 0;
            md << "| " << name << " | " << ms(b.median) << " | " << ms(t.median) << " | "
               << QString::number(growth, 'f', 2) << " | " << ms(t.screen.toDouble()) << " | "
               << verdict(t.median <= FrameMs) << " | " << verdict(growth <= MostGrowth) << " | "
               << verdict(t.screen.toDouble() <= ScreenMs) << " |\n";
        }
        const double start = top.value(u"cold-start"_s).median;
        const double rss = std::max(top.value(u"peak-rss-host"_s).median, top.value(u"peak-rss-commands"_s).median);
        md << "\nCold start to an idle screen ≤ " << ColdStartMs << " ms: " << ms(start) << " ms, "
           << verdict(start > 0 && start <= ColdStartMs) << ". Peak RSS ≤ " << PeakRssMb << " MB: "
           << QString::number(rss, 'f', 1) << " MB, " << verdict(rss > 0 && rss <= PeakRssMb) << ".\n\n";
    }

    // A line of column names, then one per SQLite catalogue: its size and
    // every command's median; of the searches, the slowest filter of each.
    const auto sqlite = results.data.value(u"sqlite"_s);
    QStringList plotted;
    for (const QString &name : results.commands) {
        if (!name.startsWith(u"search-"_s))
            plotted << name;
    }
    const QStringList searches = {u"search-asset"_s, u"search-centre"_s};
    QTextStream data(&plotFile);
    data << "assets";
    for (const QString &name : std::as_const(plotted))
        data << '\t' << name;
    for (const QString &search : searches)
        data << '\t' << search << "-slowest";
    data << '\n';
    for (auto size = sqlite.cbegin(); size != sqlite.cend(); ++size) {
        data << size.key();
        for (const QString &name : std::as_const(plotted))
            data << '\t' << size->value(name).median;
        for (const QString &search : searches) {
            double slowest = 0;
            for (const QString &name : results.commands) {
                if (name.startsWith(search + u'-'))
                    slowest = std::max(slowest, size->value(name).median);
            }
            data << '\t' << slowest;
        }
        data << '\n';
    }
    return 0;
}
