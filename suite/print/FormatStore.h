#pragma once

#include "suite/data/Recordset.h"
#include "suite/print/PrintFormat.h"

#include <QString>

namespace suite {

class Connection;

// Print formats as the database keeps them, and the data each one prints.
class FormatStore
{
public:
    explicit FormatStore(Connection &connection);

    // The format by its key; SuiteError when there is none.
    PrintFormat read(const QString &key) const;

    // The first row of the format's statement, with {PARAMETROS} replaced by
    // the (quoted-safe) parameter. An empty statement gives an empty
    // recordset; a statement that fails or finds nothing throws SuiteError.
    RecordsetPtr data(const PrintFormat &format, const QString &parameter) const;

private:
    Connection &m_connection;
};

} // namespace suite
