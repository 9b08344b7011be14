#pragma once

#include <QList>
#include <QString>

namespace bench {

// The whole host started cold, as a user starts it, on one database: from
// launching the process to the screen shown, started and idle (the first
// line its script runs has answered), and the process's peak resident
// memory at that moment.
struct HostStartFigures
{
    QList<double> ms;
    double peakRssMb = 0;
};

class HostStart
{
public:
    HostStart(QString host, QString url);

    // One run, not counted, first (the file cache, fonts, plugins), then runs.
    HostStartFigures measure(int runs) const;

private:
    double once(double *peakRssMb) const;

    QString m_host;
    QString m_url;
};

// VmHWM of a process from /proc, in megabytes; 0 when unreadable.
double peakRssMb(qint64 pid);

} // namespace bench
