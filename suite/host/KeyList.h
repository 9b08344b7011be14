#pragma once

#include <QString>
#include <QStringList>

namespace suite {

// A list of record keys as people make them, scanning barcodes into a file:
// one a line, blanks around a key and empty lines ignored, in their order
// (a key listed twice is there twice).
class KeyList
{
public:
    // From a file, "-" being standard input; SuiteError when it cannot be read.
    static QStringList read(const QString &file);
};

} // namespace suite
