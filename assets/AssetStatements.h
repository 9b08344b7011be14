#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace xb733 {

struct AssetColumn;

// The save's statements, generated from the asset model: the column lists
// and their order come from AssetModel, each value reaches its statement in
// the literal form its column declares (SqlLiteral), and the fixed pieces
// are kept exactly as the suite's other screens write them.
class AssetStatements
{
public:
    // The value a column writes, before its literal is made: a text for the
    // quoted forms, a number (or its text) for the numeric ones.
    using ValueOf = std::function<QVariant(const AssetColumn &)>;

    // The column's value as the literal of its form, NULL for a null value
    // (an empty picker or box); throws SuiteError for a value the form cannot
    // take (a non-number, a number its column would not keep, a life beyond
    // 16 bits).
    static QString literal(const AssetColumn &column, const QVariant &value);

    // INSERT INTO Activo_Fijo with the 36 insert columns.
    static QString insert(const ValueOf &valueOf);
    // UPDATE Activo_Fijo with the 31 update columns, for the row of keyValor.
    static QString update(const ValueOf &valueOf, const QString &keyValor);
    // The asset's distribution rows, all of them.
    static QString deleteDistribution(const QString &keyText);
    // One distribution row.
    static QString insertDistribution(const QString &keyValor, const QString &centre, const QVariant &percentage);
    // The asset's state, version and who changed and deactivated it last,
    // read so that its row stays taken until the transaction ends.
    static QString lockAsset(const QString &key, const QString &forUpdateClause);
};

} // namespace xb733
