#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace suite {

// How values go into a CSV line, and how a text that a spreadsheet would
// run as a formula travels safely. A cell that starts with =, +, -, @, a tab
// or a carriage return is a formula to a spreadsheet; such a text is written
// after an apostrophe, which makes the spreadsheet show it as text, and so
// is one that starts with an apostrophe already. Reading takes that one
// apostrophe off again, so a text comes back exactly as it went out; a
// file written by hand with =SUMA(A1) brings in the text "=SUMA(A1)".
class CsvText
{
public:
    // The value as a CSV field: in quotes (its quotes doubled) when it holds
    // the separator, a quote or a line break, or begins or ends with a blank.
    static QString field(const QString &value, QChar separator);
    // The fields as one line, without its line break.
    static QString line(const QStringList &values, QChar separator);

    static QString guarded(const QString &text);
    static QString unguarded(const QString &text);
};

} // namespace suite
