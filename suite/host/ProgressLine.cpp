#include "suite/host/ProgressLine.h"

#include <QLocale>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr qint64 EveryMs = 250;

QString duration(qint64 seconds)
{
    return seconds >= 3600 ? u"%1 h %2 min"_s.arg(seconds / 3600).arg(seconds % 3600 / 60)
                           : u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ProgressLine::ProgressLine(const QString &what)
    : m_what(what)
    , m_terminal(isatty(STDERR_FILENO) == 1)
{
    m_clock.start();
}

ProgressLine::~ProgressLine()
{
    finish();
}

void ProgressLine::show(qint64 done, qint64 total, const QString &note)
{
    const qint64 now = m_clock.elapsed();
    if (!m_terminal || now - m_lastShown < EveryMs)
        return;
    m_lastShown = now;
    const QLocale spanish(QLocale::Spanish, QLocale::Mexico);
    QString text = m_what + u": "_s + spanish.toString(done);
    if (total > 0) {
        text += u" de %1 (%2 %)"_s.arg(spanish.toString(total)).arg(done * 100 / total);
        if (done > 0)
            text += u", faltan %1"_s.arg(duration(now * (total - done) / done / 1000));
    }
    text += u", %1 transcurridos"_s.arg(duration(now / 1000));
    if (!note.isEmpty())
        text += u"; "_s + note;
    std::fprintf(stderr, "\r\033[K%s", text.toUtf8().constData());
    std::fflush(stderr);
    m_shown = true;
}

void ProgressLine::finish()
{
    if (!m_shown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_shown = false;
}

} // namespace suite
