#include "bench/commands/HostStart.h"

#include "suite/data/SuiteError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace bench {

double peakRssMb(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression hwm(u"VmHWM:\\s*(\\d+) kB"_s);
    const auto match = hwm.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : 0;
}

HostStart::HostStart(QString host, QString url)
    : m_host(std::move(host))
    , m_url(std::move(url))
{
}

HostStartFigures HostStart::measure(int runs) const
{
    HostStartFigures figures;
    double rss = 0;
    once(&rss);
    for (int i = 0; i < runs; ++i) {
        figures.ms << once(&rss);
        figures.peakRssMb = std::max(figures.peakRssMb, rss);
    }
    return figures;
}

double HostStart::once(double *peakRss) const
{
    QProcess host;
    QElapsedTimer timer;
    timer.start();
    host.start(m_host, {u"--db"_s, m_url, u"--usuario"_s, u"BENCH"_s, u"--script"_s, u"-"_s});
    // Read once the screen is up: its answer says the screen is idle.
    host.write("dump txt_Af_Cve_Activo_Fijo\n");
    while (!host.canReadLine()) {
        if (!host.waitForReadyRead(60000)) {
            throw suite::SuiteError(u"the host gave no sign of an idle screen: %1"_s.arg(
                QString::fromLocal8Bit(host.readAllStandardError())));
        }
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    const QByteArray line = host.readLine();
    *peakRss = peakRssMb(host.processId());
    host.closeWriteChannel();
    if (!host.waitForFinished(60000) || host.exitCode() != 0 || !line.contains("\"event\":\"dump\""))
        throw suite::SuiteError(u"the host's start failed: %1"_s.arg(QString::fromUtf8(line)));
    return ms;
}

} // namespace bench
