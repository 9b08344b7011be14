#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace bench {

// Nearest-rank percentile of a list of figures (p from 0 to 1).
inline double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype at = std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5));
    return values.at(at);
}

// What one run of a command sent, ready to be sent again alone: `before`
// and `after` undo what the command wrote (untimed), so the timed
// statements meet the database as the command met it.
struct Replay
{
    QStringList before;
    QStringList timed;
    QStringList after;
};

// One command's runs: the whole command, the part of it spent inside SQL
// (the connection's statement timings), how much of that waited for the
// disk to flush a commit, and how many statements it sent.
struct CommandSamples
{
    QString name;
    QList<double> totalMs;
    QList<double> sqlMs;
    QList<double> screenMs;
    QList<double> commitMs; // of sqlMs: the COMMITs, which wait for the disk
    QList<int> statements;
    QList<Replay> replays; // the last few runs, for the floor
    QList<double> floorMs; // the same statements timed alone

    double median() const { return percentile(totalMs, 0.5); }
    double p95() const { return percentile(totalMs, 0.95); }
};

} // namespace bench
