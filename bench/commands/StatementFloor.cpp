#include "bench/commands/StatementFloor.h"

#include "suite/data/SuiteError.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(600000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        throw suite::SuiteError(u"%1 failed: %2%3"_s.arg(program, QString::fromLocal8Bit(tool.readAllStandardError()),
                                                          tool.errorString()));
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

} // namespace

StatementFloor::StatementFloor(QString url, QString floorTool)
    : m_url(std::move(url))
    , m_floorTool(std::move(floorTool))
{
}

QList<double> StatementFloor::time(const QList<Replay> &replays) const
{
    if (replays.isEmpty())
        return {};
    return m_url.startsWith(u"sqlite:"_s) ? timeSqlite(replays) : timePostgres(replays);
}

QList<double> StatementFloor::timeSqlite(const QList<Replay> &replays) const
{
    QTemporaryFile script;
    if (!script.open())
        throw suite::SuiteError(script.errorString());
    const QByteArray separator("\x1e");
    auto add = [&](char kind, const QStringList &statements) {
        for (const QString &statement : statements)
            script.write(kind + statement.toUtf8() + separator);
    };
    for (const Replay &replay : replays) {
        add('U', replay.before);
        add('T', replay.timed);
        add('U', replay.after);
        script.write("E" + separator);
    }
    script.close();
    QList<double> ms;
    const QStringList lines = runTool(m_floorTool, {m_url.mid(7), script.fileName()}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines)
        ms << line.toDouble() / 1000.0;
    return ms;
}

QList<double> StatementFloor::timePostgres(const QList<Replay> &replays) const
{
    QTemporaryFile script;
    if (!script.open())
        throw suite::SuiteError(script.errorString());
    auto add = [&](const QStringList &statements) {
        for (const QString &statement : statements)
            script.write(statement.toUtf8() + ";\n");
    };
    for (const Replay &replay : replays) {
        script.write("\\timing off\n");
        add(replay.before);
        script.write("\\timing on\n");
        add(replay.timed);
        script.write("\\timing off\n");
        add(replay.after);
        script.write("\\echo @@replay\n");
    }
    script.close();
    const QString out = runTool(u"psql"_s, {u"-X"_s, u"-q"_s, u"-A"_s, u"-t"_s, u"-v"_s, u"ON_ERROR_STOP=1"_s,
                                            u"-f"_s, script.fileName(), m_url});
    static const QRegularExpression timing(u"^Time: ([0-9.]+) ms"_s);
    QList<double> ms;
    double sum = 0;
    for (const QString &line : out.split(u'\n')) {
        if (line == u"@@replay"_s) {
            ms << sum;
            sum = 0;
        } else if (const auto match = timing.match(line); match.hasMatch()) {
            sum += match.captured(1).toDouble();
        }
    }
    return ms;
}

} // namespace bench
