#pragma once

#include <QString>

namespace suite {
class Recordset;
}

namespace xb733 {

class AssetScreen;

// Toolbar button 2, "Imprimir etiquetas": prints the shown asset's label
// from the definition in Etiqueta that CAT_ETIQUETAS_ACTIVO_FIJO names. The
// definition's statement (or procedure) gives the data; its template gets
// the first row's values in place of "[FIELD]". Nothing is written.
class AssetLabels
{
public:
    explicit AssetLabels(const AssetScreen &screen);

    // "Controles_B2Click()": a missing configuration is refused before the
    // trap; every later failure is shown with its description.
    void B2Click();

private:
    void print(const QString &key);
    static QString dataStatement(const QString &statement, const QString &type, const QString &key);
    static QString fill(const QString &labelTemplate, const suite::Recordset &data);

    const AssetScreen &m_screen;
};

} // namespace xb733
