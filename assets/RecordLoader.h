#pragma once

#include "assets/AssetModel.h"
#include "suite/data/Recordset.h"

#include <QString>

namespace xb733 {

class AssetScreen;
class DepreciationHistory;
class DistributionGrid;

// The key box drives the screen outside editing: each change of its text
// wipes what an earlier load showed; confirming a key shows the stored asset
// with its two depreciation histories and its distribution, and tells the
// toolbar what it may offer. An unknown key does nothing at all.
class RecordLoader
{
public:
    RecordLoader(const AssetScreen &screen, DepreciationHistory &history, DistributionGrid &grid);

    // txt_Af_Cve_Activo_Fijo's change: no trap.
    void keyChanged();
    // Its entered event, "txtClave_Enter()": every failure is reported
    // through AssetScreen::fail and the load stops there, keeping what it
    // filled but offering no command that writes the record.
    void keyEntered();

private:
    void load();
    void loadAdditionalFields(const QString &key);
    void withdrawWriting();
    void lookups(bool askFailedAgain) const;
    void fill(const suite::Recordset &asset, LoadPhase phase);
    void showFactors(const suite::Recordset &asset);
    void showLastDepreciation(const suite::Recordset &asset);
    void showResponsible(const suite::Recordset &asset);
    void offerCommands(const suite::Recordset &asset, const QString &equipment, const QString &vehicleType);

    const AssetScreen &m_screen;
    DepreciationHistory &m_history;
    DistributionGrid &m_grid;
};

} // namespace xb733
