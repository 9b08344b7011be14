#include "shell/Publico.h"

#include "screen/frmXB733.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"

#include <memory>

namespace {

std::unique_ptr<suite::Entorno> &entorno()
{
    static std::unique_ptr<suite::Entorno> object;
    return object;
}

std::unique_ptr<suite::Utilerias> &utilerias()
{
    static std::unique_ptr<suite::Utilerias> object;
    return object;
}

// A guarded pointer: the host may place the form inside its own window, and
// whoever ends up deleting it, the component never touches a dead form.
QPointer<frmXB733> &formSlot()
{
    static QPointer<frmXB733> form;
    return form;
}

} // namespace

void Publico::Main()
{
    if (!entorno())
        entorno() = std::make_unique<suite::Entorno>();
    if (!utilerias())
        utilerias() = std::make_unique<suite::Utilerias>();
}

void Publico::Terminate()
{
    delete formSlot().data();
    formSlot() = nullptr;
    utilerias().reset();
    entorno().reset();
}

suite::Entorno *Publico::Entorno()
{
    return entorno().get();
}

suite::Utilerias *Publico::Utilerias()
{
    return utilerias().get();
}

frmXB733 *Publico::formulario()
{
    return formSlot().data();
}

void Publico::setFormulario(frmXB733 *form)
{
    formSlot() = form;
}
