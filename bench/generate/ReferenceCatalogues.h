#pragma once

#include "bench/generate/AssetKinds.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace suite {
class Connection;
}

namespace bench {

// The active keys assets are given, as the catalogues hold them once filled.
struct References
{
    QStringList companies;
    QStringList companyNames;   // in the order of companies
    QStringList locations;
    QStringList employees;
    QStringList clients;
    QStringList projects;
    QStringList units;
    QStringList suppliers;
    QVector<int> postableCentres; // numbers of the active centres that take postings
    QString equipmentType;        // what the screen gives the equipment it generates
    QString equipmentLocation;
    QString equipmentBrand;
    QStringList extraFields;      // additional fields of the asset table
    QVector<AssetKind> kinds;     // with what their type makes, from its catalogue
};

// The catalogues around the assets. The demo's configuration, searches,
// formats and small catalogues are copied from a demo database loaded aside,
// so the screen starts with the demo's settings; the catalogues a large
// company has many of are extended beyond the demo's rows; the cost centres
// are made from scratch as a hierarchy of a few hundred summary centres over
// postable ones.
class ReferenceCatalogues
{
public:
    ReferenceCatalogues(suite::Connection &connection, quint64 seed);

    // Tables the generator makes from scratch, never copied from the demo.
    static const QStringList &generatedTables();

    qint64 copyDemo();
    qint64 extendCatalogues();
    qint64 makeCostCentres(int count);
    References references() const;

    static QString centreKey(int number);

private:
    int nextNumber(const QString &table, const QString &keyColumn) const;
    QString variable(const QString &name) const;

    suite::Connection &m_connection;
    quint64 m_seed;
};

} // namespace bench
