#pragma once

#include <QString>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace suite {
class FormControls;
class Entorno;
class Utilerias;
} // namespace suite

namespace xb733 {

class AcceptCommand;
class AssetLabels;
class AssetScreen;
class Deactivation;
class DepreciationHistory;
class DistributionGrid;
class EquipmentGeneration;
class NumberChecks;
class RecordLoader;
class ResponsibilityLetter;
class ToolbarCommands;
struct FormVariables;

// The form's record events and the operation that answers each: the key
// box's change and entered events, the toolbar's commands, the grid's
// notifications and the single cost centre's change. Every handler runs
// through the form's guard, which reports a failure it did not trap itself.
class RecordEvents
{
public:
    using Guard = std::function<void(const QString &routine, const std::function<void()> &handler)>;

    RecordEvents(QWidget &form, const suite::FormControls &controls, const FormVariables &variables,
                 suite::Entorno &entorno, suite::Utilerias &utilerias, Guard guard);
    ~RecordEvents();

    // See frmXB733::assumeShownVersion.
    void assumeShownVersion(qlonglong version);

private:
    void wireKeyBox();
    void wireToolbar();
    void wireGrid();
    void wireNumbers();       // numeric boxes left with no number in them
    void wireLookups();       // descriptions a failing database could not read
    // One per command family of the toolbar beyond the simple ones.
    void wireSave();          // Aceptar
    void wireDeactivation();  // Eliminar, Reactivar
    void wireGeneration();    // B3Click
    void wirePrinting();      // B1Click, B2Click

    QWidget &m_form;
    const suite::FormControls &m_controls;
    Guard m_guard;
    std::unique_ptr<AssetScreen> m_screen;
    std::unique_ptr<DepreciationHistory> m_history;
    std::unique_ptr<DistributionGrid> m_grid;
    std::unique_ptr<NumberChecks> m_numbers;
    std::unique_ptr<RecordLoader> m_loader;
    std::unique_ptr<ToolbarCommands> m_commands;
    std::unique_ptr<AcceptCommand> m_accept;
    std::unique_ptr<Deactivation> m_deactivation;
    std::unique_ptr<EquipmentGeneration> m_generation;
    std::unique_ptr<ResponsibilityLetter> m_letter;
    std::unique_ptr<AssetLabels> m_labels;
};

} // namespace xb733
