#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace xb733 {

class AssetScreen;
class LabelDefinition;

// Labels from the definition in Etiqueta that CAT_ETIQUETAS_ACTIVO_FIJO
// names: its statement (or procedure) gives an asset's data, its template
// gets the first row's values in place of "[FIELD]", and it prints on a
// roll or on sheets. Nothing is written.
class AssetLabels
{
public:
    static constexpr auto Caption = "Imprimir etiquetas";

    explicit AssetLabels(const AssetScreen &screen);

    // Toolbar button 2, "Controles_B2Click()": the shown asset's label. A
    // missing configuration is refused before the trap, an unknown label as
    // a refusal; every other failure is reported through AssetScreen::fail.
    void B2Click();

    // The labels of many assets in one document, one each in the order given
    // (the rows marked in the asset search, a list of keys): each asset's
    // through the same definition and statement as B2Click's. Keys are taken
    // as the key box takes them (a number is filled with zeros). A key that
    // is not stored or whose asset is deactivated gets no label: after the
    // print one message lists them, and why. Any failure is reported through
    // AssetScreen::fail under the command's caption.
    void printMany(const QStringList &keys);

private:
    bool configured() const;
    std::optional<LabelDefinition> definition() const;

    const AssetScreen &m_screen;
};

} // namespace xb733
