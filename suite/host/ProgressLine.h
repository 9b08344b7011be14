#pragma once

#include <QElapsedTimer>
#include <QString>

namespace suite {

// How far a long run has got, on one line of the terminal (standard error),
// rewritten in place a few times a second with the time left; nothing at
// all when standard error is not a terminal (a pipe, a log file, a test).
class ProgressLine
{
public:
    explicit ProgressLine(const QString &what); // "Importando", "Exportando"
    ~ProgressLine();

    // done of total units (rows); total 0 when unknown. note follows the figures.
    void show(qint64 done, qint64 total, const QString &note = {});
    // Takes the line off the terminal.
    void finish();

private:
    QString m_what;
    bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_clock;
    qint64 m_lastShown = -1000;
};

} // namespace suite
