#pragma once

#include "assets/NumberChecks.h"

#include <QString>

namespace xb733 {

class AssetScreen;

// The asset's spread over cost centres in ssDetalle: the keys it takes while
// a record is edited, the cost-centre search on a key cell, the description
// look-up that pads and checks a key as its cell is left, the share refused
// there when it is no number it can store, and the rule that
// the grid takes input only while no single cost centre is typed.
// Failures reported: KeyPress and KeyUp through AssetScreen::fail, the share
// refused as a refusal; the other notifications trap nothing (the form's
// guard reports what they raise).
class DistributionGrid
{
public:
    explicit DistributionGrid(const AssetScreen &screen);

    // Shows the stored distribution of the asset (the key box's valor).
    void fill(const QString &key);

    // The grid's notifications, with their by-reference answers.
    void KeyPress(short &keyAscii);                  // "ssDetalle_KeyPress()"
    void KeyDown(short &keyCode, short shift);
    void KeyUp(short &keyCode, short shift);         // "ssDetalle_KeyUp()"
    void Change();
    void BeforeRowColChange(short &cancel);
    void BeforeDelete(short &cancel, short &dispPromptMsg);

    // txtCentroCosto's change.
    void centreChanged();

private:
    void filterKey(short &keyAscii);
    bool describeKey();
    QString currentColumn() const;

    const AssetScreen &m_screen;
    NumberChecks m_numbers;
};

} // namespace xb733
