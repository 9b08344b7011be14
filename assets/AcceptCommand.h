#pragma once

#include <QString>
#include <exception>
#include <memory>

namespace xb733 {

class AssetScreen;
class SavePersistence;
class SaveValidation;
class ToolbarCommands;

// The toolbar's accept, "Controles_Aceptar()": the checks, then the
// transaction that writes the record. Its failure handler reports anything
// either phase raised (a refused statement, a lost connection, a value that
// does not convert) with the failure's own text, after the rollback, and
// leaves the screen in editing with what the user typed. Failures reported:
// the checks' refusals (SaveValidation), the transaction's refusals
// (SavePersistence), anything else through AssetScreen::fail.
class AcceptCommand
{
public:
    AcceptCommand(const AssetScreen &screen, ToolbarCommands &commands);
    ~AcceptCommand();

    // nuevo: the toolbar's flag, non-zero for a record to insert.
    void Aceptar(short &nuevo);

private:
    void fail(const std::exception &error);

    const AssetScreen &m_screen;
    std::unique_ptr<SaveValidation> m_validation;
    std::unique_ptr<SavePersistence> m_persistence;
};

} // namespace xb733
