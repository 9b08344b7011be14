#pragma once

#include "bench/generate/ReferenceCatalogues.h"

#include <QSqlDatabase>

namespace bench {

// Writes assets one chunk at a time with everything that hangs from them:
// their distribution over cost centres, the equipment and vehicle records
// of their types, audit rows, additional fields and the plan their
// depreciation is posted from. Each asset is decided from the seed and its
// number alone.
class AssetWriter
{
public:
    AssetWriter(QSqlDatabase database, const References &references, quint64 seed);

    // Assets first..last (inclusive); the rows written, in all tables.
    qint64 write(qint64 first, qint64 last);

    static QString assetKey(qint64 number);

private:
    QSqlDatabase m_database;
    const References &m_references;
    quint64 m_seed;
    int m_totalWeight = 0;
    qint64 m_equipment = 0; // keys issued so far
    qint64 m_vehicles = 0;
};

} // namespace bench
