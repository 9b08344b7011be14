#pragma once

#include <QPointer>

class frmXB733;

namespace suite {
class Entorno;
class Utilerias;
} // namespace suite

// The component's module-wide state: the two service objects every part of
// the screen uses, and the one form instance the component ever makes.
class Publico
{
public:
    // The start routine: creates Entorno and Utilerias, once.
    static void Main();
    // Frees the form and the services, in that order (the form uses them).
    static void Terminate();

    static suite::Entorno *Entorno();
    static suite::Utilerias *Utilerias();

    // The single form instance, null until Pantalla first hands it out.
    static frmXB733 *formulario();
    static void setFormulario(frmXB733 *form);
};
