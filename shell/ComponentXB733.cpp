#include "shell/ComponentXB733.h"

#include "shell/Pantalla.h"
#include "shell/Publico.h"
#include "suite/runtime/ComponentTable.h"

using namespace Qt::StringLiterals;

namespace {

QObject *createPantalla()
{
    return new Pantalla;
}

} // namespace

const suite::ComponentTable &componentXB733()
{
    static const suite::ComponentTable table{
        u"XB733"_s,
        &Publico::Main,
        &Publico::Terminate,
        {{u"XB733.Pantalla"_s, u"{7A3B0C52-1E6D-4F0B-9C33-0B733A5E1F01}"_s,
          u"Catalogo de activo fijo"_s, &createPantalla}},
    };
    return table;
}
