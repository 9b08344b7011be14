#include "screen/RecordEvents.h"

#include "assets/AcceptCommand.h"
#include "assets/AssetLabels.h"
#include "assets/AssetScreen.h"
#include "assets/Deactivation.h"
#include "assets/DepreciationHistory.h"
#include "assets/DistributionGrid.h"
#include "assets/EquipmentGeneration.h"
#include "assets/NumberChecks.h"
#include "assets/RecordLoader.h"
#include "assets/ResponsibilityLetter.h"
#include "assets/ToolbarCommands.h"
#include "suite/kit/FormControls.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"

#include <QWidget>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// The key box's search: the query its F2 opens.
const QString AssetSearch = u"ACTIVO_FIJO"_s;

} // namespace

RecordEvents::RecordEvents(QWidget &form, const suite::FormControls &controls, const FormVariables &variables,
                           suite::Entorno &entorno, suite::Utilerias &utilerias, Guard guard)
    : m_form(form)
    , m_controls(controls)
    , m_guard(std::move(guard))
    , m_screen(std::make_unique<AssetScreen>(form, controls, variables, entorno, utilerias))
    , m_history(std::make_unique<DepreciationHistory>(*m_screen))
    , m_grid(std::make_unique<DistributionGrid>(*m_screen))
    , m_numbers(std::make_unique<NumberChecks>(*m_screen))
    , m_loader(std::make_unique<RecordLoader>(*m_screen, *m_history, *m_grid))
    , m_commands(std::make_unique<ToolbarCommands>(*m_screen, *m_history))
{
    wireKeyBox();
    wireToolbar();
    wireGrid();
    wireNumbers();
    wireLookups();
    wireSave();
    wireDeactivation();
    wireGeneration();
    wirePrinting();
}

RecordEvents::~RecordEvents()
{
    // The session may be gone already when the host closes.
    try {
        m_screen->entorno().RetiraDeBusqueda(AssetSearch, QString::fromLatin1(AssetLabels::Caption));
    } catch (const std::exception &) {
    }
}

void RecordEvents::assumeShownVersion(qlonglong version)
{
    m_screen->shown().assumeVersion(version);
}

void RecordEvents::wireKeyBox()
{
    auto *key = m_controls.require<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s);
    QObject::connect(key, &suite::txtKIT::Change, &m_form,
                     [this] { m_guard(u"txtClave_Change()"_s, [this] { m_loader->keyChanged(); }); });
    QObject::connect(key, &suite::txtKIT::Enter, &m_form,
                     [this] { m_guard(u"txtClave_Enter()"_s, [this] { m_loader->keyEntered(); }); });
}

// The toolbar's events and their handlers, in the toolbar's order.
void RecordEvents::wireToolbar()
{
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    auto on = [this, toolbar](auto signal, const QString &routine, void (ToolbarCommands::*handler)()) {
        QObject::connect(toolbar, signal, &m_form,
                         [this, routine, handler] { m_guard(routine, [this, handler] { (m_commands.get()->*handler)(); }); });
    };
    on(&suite::Controles::Nuevo, u"Controles_Nuevo()"_s, &ToolbarCommands::Nuevo);
    on(&suite::Controles::Modificar, u"Controles_Modificar()"_s, &ToolbarCommands::Modificar);
    on(&suite::Controles::Informacion, u"Controles_Informacion()"_s, &ToolbarCommands::Informacion);
    on(&suite::Controles::Cancelar, u"Controles_Cancelar()"_s, &ToolbarCommands::Cancelar);
    on(&suite::Controles::Salir, u"Controles_Salir()"_s, &ToolbarCommands::Salir);
}

void RecordEvents::wireGrid()
{
    auto *grid = m_controls.require<suite::DataGrid>(u"ssDetalle"_s);
    // By-reference answers: the grid reads them back as soon as the handler returns.
    QObject::connect(grid, &suite::DataGrid::KeyPress, &m_form, [this](short &keyAscii) {
        m_guard(u"ssDetalle_KeyPress()"_s, [&] { m_grid->KeyPress(keyAscii); });
    }, Qt::DirectConnection);
    QObject::connect(grid, &suite::DataGrid::KeyDown, &m_form, [this](short &keyCode, short shift) {
        m_guard(u"ssDetalle_KeyDown()"_s, [&] { m_grid->KeyDown(keyCode, shift); });
    }, Qt::DirectConnection);
    QObject::connect(grid, &suite::DataGrid::KeyUp, &m_form, [this](short &keyCode, short shift) {
        m_guard(u"ssDetalle_KeyUp()"_s, [&] { m_grid->KeyUp(keyCode, shift); });
    }, Qt::DirectConnection);
    QObject::connect(grid, &suite::DataGrid::Change, &m_form,
                     [this] { m_guard(u"ssDetalle_Change()"_s, [this] { m_grid->Change(); }); });
    QObject::connect(grid, &suite::DataGrid::BeforeRowColChange, &m_form, [this](short &cancel) {
        m_guard(u"ssDetalle_BeforeRowColChange()"_s, [&] {
            // A look-up that could not run keeps the user on the cell with what was typed.
            cancel = 1;
            short answer = 0;
            m_grid->BeforeRowColChange(answer);
            cancel = answer;
        });
    }, Qt::DirectConnection);
    QObject::connect(grid, &suite::DataGrid::BeforeDelete, &m_form, [this](short &cancel, short &prompt) {
        m_guard(u"ssDetalle_BeforeDelete()"_s, [&] { m_grid->BeforeDelete(cancel, prompt); });
    }, Qt::DirectConnection);

    auto *centre = m_controls.require<suite::txtKIT>(u"txtCentroCosto"_s);
    QObject::connect(centre, &suite::txtKIT::Change, &m_form,
                     [this] { m_guard(u"txtCentroCosto_Change()"_s, [this] { m_grid->centreChanged(); }); });
}

void RecordEvents::wireNumbers()
{
    const QStringList names = m_controls.names();
    for (const QString &name : names) {
        auto *box = m_controls.as<suite::txtKIT>(name);
        if (!box || box->numericKind() == suite::txtKIT::NotNumeric)
            continue;
        QObject::connect(box, &suite::txtKIT::numeroRechazado, &m_form, [this, name] {
            m_guard(name + u"_LostFocus()"_s, [this, name] { m_numbers->boxLeft(name); });
        });
    }
}

void RecordEvents::wireLookups()
{
    // The empty description would otherwise be blamed on the user at Aceptar.
    const QStringList names = m_controls.names();
    for (const QString &name : names) {
        auto *box = m_controls.as<suite::txtKIT>(name);
        if (!box)
            continue;
        QObject::connect(box, &suite::txtKIT::descripcionNoLeida, &m_form, [this, box](const QString &reason) {
            m_screen->status(u"No se pudo leer la descripción de %1: %2"_s.arg(box->accessibleName(), reason));
        });
    }
}

void RecordEvents::wireSave()
{
    // A successful save ends with the cancel handling, back to key entry.
    m_accept = std::make_unique<AcceptCommand>(*m_screen, *m_commands);
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    // The toolbar reads the flag back as soon as the handler returns.
    QObject::connect(toolbar, &suite::Controles::Aceptar, &m_form, [this](short &nuevo) {
        m_guard(u"Controles_Aceptar()"_s, [&] { m_accept->Aceptar(nuevo); });
    }, Qt::DirectConnection);
}

void RecordEvents::wireDeactivation()
{
    // A committed change ends with the cancel handling, back to Idle.
    m_deactivation = std::make_unique<Deactivation>(*m_screen, *m_commands);
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    QObject::connect(toolbar, &suite::Controles::Eliminar, &m_form,
                     [this] { m_guard(u"Controles_Eliminar()"_s, [this] { m_deactivation->Eliminar(); }); });
    QObject::connect(toolbar, &suite::Controles::Reactivar, &m_form,
                     [this] { m_guard(u"Controles_Reactivar()"_s, [this] { m_deactivation->Reactivar(); }); });
}

void RecordEvents::wireGeneration()
{
    m_generation = std::make_unique<EquipmentGeneration>(*m_screen);
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    QObject::connect(toolbar, &suite::Controles::B3Click, &m_form,
                     [this] { m_guard(u"Controles_B3Click()"_s, [this] { m_generation->B3Click(); }); });
}

void RecordEvents::wirePrinting()
{
    m_letter = std::make_unique<ResponsibilityLetter>(*m_screen);
    m_labels = std::make_unique<AssetLabels>(*m_screen);
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    QObject::connect(toolbar, &suite::Controles::B1Click, &m_form,
                     [this] { m_guard(u"Controles_B1Click()"_s, [this] { m_letter->B1Click(); }); });
    QObject::connect(toolbar, &suite::Controles::B2Click, &m_form,
                     [this] { m_guard(u"Controles_B2Click()"_s, [this] { m_labels->B2Click(); }); });
    // The rows marked in the asset search, and the host's lists of keys.
    const QString caption = QString::fromLatin1(AssetLabels::Caption);
    m_screen->entorno().OfreceEnBusqueda(AssetSearch, caption, [this, caption](const QStringList &keys) {
        m_guard(caption, [&] { m_labels->printMany(keys); });
    });
}

} // namespace xb733
