#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace bench {

// What the generator knows of each asset type of the demo's catalogue: how
// common it is, the words its assets are described with, its accounts and how
// long each book depreciates it. Whether a type makes equipment or vehicles
// is read from the type catalogue itself (Ta_Equipo, Ta_Tipo_Vehiculo).
struct AssetKind
{
    QString type;           // Ta_Cve_Tipo_Activo_Fijo
    int weight;             // share of the catalogue, against the other kinds
    QString serialPrefix;
    QStringList descriptions;
    QStringList brands;     // at most 10 characters: vehicles keep them in Vh_Marca
    QStringList models;
    QString account;
    QString depreciationAccount;
    int lowCost;            // pesos
    int highCost;
    int lifeYears;          // accounting book
    int taxLifeMonths;      // tax book, from its yearly rate
    bool equipment = false;     // both read from the type catalogue
    QString vehicleType;
};

class AssetKinds
{
public:
    static const QVector<AssetKind> &declared();
};

} // namespace bench
