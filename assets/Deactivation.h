#pragma once

#include <QString>

namespace xb733 {

class AssetScreen;
class ToolbarCommands;

// Eliminar and Reactivar: an asset is never deleted, only marked deactivated
// ("BA") or active again ("AC"). The change is carried over to the equipment
// and vehicle records generated from the asset, and the audit registration
// may veto it; all of it is one transaction. An asset another user changed
// since it was shown (a second deactivation, say) is refused and nothing is
// recorded. A committed change returns the screen to Idle through the cancel
// handling; otherwise it keeps the asset. Failures reported: the veto and
// the asset changed meanwhile as refusals, anything else (after the
// rollback) through AssetScreen::fail under the command's routine.
class Deactivation
{
public:
    Deactivation(const AssetScreen &screen, ToolbarCommands &commands);

    void Eliminar();
    void Reactivar();

private:
    struct Change;
    void run(const Change &change);
    bool apply(const Change &change);

    const AssetScreen &m_screen;
    ToolbarCommands &m_commands;
    QString m_changedMeanwhile; // why the stored asset is not the one shown
};

} // namespace xb733
