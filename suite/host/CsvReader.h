#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

class QIODevice;

namespace suite {

// Reads a CSV file as spreadsheets write it: UTF-8 with or without its byte
// order mark; values separated by commas or by semicolons, whichever the
// header uses more; a value in double quotes may hold the separator, line
// breaks and quotes (doubled). Records are read one at a time, so a file of
// any size is read in little memory. A fault (bytes that are no UTF-8, a
// quote that never closes, text after a closing quote) stops the reading
// with error() saying what and on which line.
class CsvReader
{
public:
    explicit CsvReader(QIODevice &device);

    // The header row; false (error() says why) when the file has none.
    bool readHeader(QStringList &names);
    // The next record; false at the end of the file or on a fault.
    bool next(QStringList &fields);

    int line() const { return m_recordLine; } // where the last record began (the header is line 1)
    QChar separator() const { return m_separator; }
    QString error() const { return m_error; }

private:
    bool readLine(QString &text);
    bool parse(QStringList &fields);
    bool fail(const QString &text);

    QIODevice &m_device;
    QStringDecoder m_decoder;
    QChar m_separator = u',';
    int m_lineNumber = 0;
    int m_recordLine = 0;
    QString m_error;
};

} // namespace suite
