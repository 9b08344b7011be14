#include "shell/Pantalla.h"

#include "screen/frmXB733.h"
#include "shell/ComponentXB733.h"
#include "shell/Publico.h"
#include "suite/runtime/ComponentServer.h"

Pantalla::Pantalla(QObject *parent)
    : QObject(parent)
{}

QVariant Pantalla::GetPantalla() const
{
    frmXB733 *form = Publico::formulario();
    if (!form) {
        // Creating the form does not load it: start-up waits for the first show.
        form = new frmXB733(Publico::Entorno(), Publico::Utilerias());
        Publico::setFormulario(form);
        // A live screen keeps the component loaded.
        suite::ComponentServer::trackObject(componentXB733(), form);
    }
    return QVariant::fromValue<QObject *>(form);
}
