#pragma once

#include "suite/print/LabelSheet.h"

#include <QString>
#include <optional>

namespace suite {
class Recordset;
}

namespace xb733 {

class AssetScreen;

// One label definition of table Etiqueta as the screen prints it: the
// template, the statement (or procedure) whose first row gives an asset's
// values, and what it prints on. Read anew for every print.
class LabelDefinition
{
public:
    // The definition of that key; none when Etiqueta has no such row. Its
    // template, statement and type must be there (a NULL fails); a database
    // from before sheets existed prints on a roll.
    static std::optional<LabelDefinition> read(const AssetScreen &screen, const QString &key);

    // The template filled with the values of the asset of key: the data
    // statement runs for it. A statement that finds nothing fails.
    QString filledFor(const AssetScreen &screen, const QString &assetKey) const;

    const suite::LabelSheet &sheet() const { return m_sheet; }

private:
    QString dataStatement(const QString &assetKey) const;
    static QString fill(const QString &labelTemplate, const suite::Recordset &data);

    QString m_template;
    QString m_statement;
    QString m_type;
    suite::LabelSheet m_sheet;
};

} // namespace xb733
