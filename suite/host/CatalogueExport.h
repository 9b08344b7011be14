#pragma once

#include "suite/host/TransferOptions.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace suite {

class Connection;
class RecordLayout;
class ScreenHost;

// talvexor --export: writes the catalogue as the CSV file the import reads
// (RecordLayout's columns, by their database names, with each asset's state,
// the version of its row, its distribution and its additional fields), one
// asset a line in key order, optionally only the assets of one state,
// location, type or cost centre. The rows are read as a stream from one
// snapshot of the database, so the memory used stays the same for any
// number of assets and the file shows one moment of the catalogue. A file
// is written whole or not at all; standard output gets a UTF-8 text without
// the byte order mark a file gets for spreadsheets.
class CatalogueExport
{
public:
    CatalogueExport(ScreenHost &host, const TransferOptions &options);

    // 0 when the file was written, 2 when it could not be.
    int run();

private:
    QString where(const RecordLayout &layout) const;
    qint64 write(Connection &connection, const RecordLayout &layout, QIODevice &output);

    ScreenHost &m_host;
    TransferOptions m_options;
};

} // namespace suite
