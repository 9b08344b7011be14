#include "assets/AcceptCommand.h"

#include "assets/AssetScreen.h"
#include "assets/SavePersistence.h"
#include "assets/SaveValidation.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

AcceptCommand::AcceptCommand(const AssetScreen &screen, ToolbarCommands &commands)
    : m_screen(screen)
    , m_validation(std::make_unique<SaveValidation>(screen))
    , m_persistence(std::make_unique<SavePersistence>(screen, commands))
{
}

AcceptCommand::~AcceptCommand() = default;

void AcceptCommand::Aceptar(short &nuevo)
{
    try {
        Responsible responsible;
        if (!m_validation->run(nuevo, responsible))
            return;
        m_persistence->run(nuevo != 0, responsible);
    } catch (const std::exception &e) {
        fail(e);
    }
}

void AcceptCommand::fail(const std::exception &error)
{
    // The toolbar first, so it is back in editing whatever the message does.
    try {
        m_screen.toolbar().cancelaaceptar();
    } catch (const std::exception &) {
        // The message below is what the user needs; the toolbar keeps its state.
    }
    m_screen.fail(error, u"Controles_Aceptar()"_s, u"ERR-ID:7500028"_s);
}

} // namespace xb733
