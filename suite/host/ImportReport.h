#pragma once

#include <QChar>
#include <QString>

class QIODevice;

namespace suite {

// What became of one row of the file.
struct RowOutcome
{
    enum Kind { Imported, Updated, Unchanged, Refused };
    Kind kind = Imported;
    int line = 0;    // of the file, where the row begins
    QString key;     // the asset's key as the screen had it
    QString field;   // the file's column the message is about, when one is
    QString id;      // the message's id ("ERR-ID:7500002")
    QString text;    // the message
};

// The import's report: a CSV file, in the separator of the file imported,
// with one line per row that was not brought in (its line, key, column, the
// message's id and text) and, before any row, the file's own faults. Counts
// every outcome for the summary. Written as it goes, so a long run that is
// stopped keeps what it reported.
class ImportReport
{
public:
    ImportReport(QIODevice &output, QChar separator);

    void add(const RowOutcome &outcome);
    // A fault of the file as a whole (line 0 when it is not one line's).
    void fileFault(int line, const QString &text);

    int count(RowOutcome::Kind kind) const { return m_counts[kind]; }
    int rows() const;
    // One sentence for the terminal: how many rows went which way.
    QString summary(const QString &file, bool dryRun) const;

private:
    void write(const QStringList &values);

    QIODevice &m_output;
    QChar m_separator;
    int m_counts[4] = {0, 0, 0, 0};
};

} // namespace suite
