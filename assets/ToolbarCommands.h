#pragma once

namespace xb733 {

class AssetScreen;
class DepreciationHistory;

// The toolbar's simple commands and the modes they leave the screen in:
// Nuevo (New), Modificar (Edit), Cancelar (back to Idle, also after every
// save, deactivation and reactivation), Informacion and Salir. They trap
// nothing: a failing service call is the failure of the toolbar's event,
// which the form's guard reports (frmXB733::guarded).
class ToolbarCommands
{
public:
    ToolbarCommands(const AssetScreen &screen, DepreciationHistory &history);

    void Nuevo();
    void Modificar();
    void Cancelar();
    void Informacion();
    void Salir();

private:
    void disableRecordCommands();
    void clearCaptions();

    const AssetScreen &m_screen;
    DepreciationHistory &m_history;
};

} // namespace xb733
