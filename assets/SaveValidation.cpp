#include "assets/SaveValidation.h"

#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "assets/FormVariables.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/services/Variants.h"

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"Controles_Aceptar()"_s;
const QString Suite = u"Talvexor"_s;

// A box that must not be empty (the lookups' description boxes for the
// type, the company and the location: an unknown key leaves them empty).
struct Required
{
    QString box;
    QString message;
    QString id;
    QString focus;
};

const Required RequiredFields[] = {
    {u"txt_Af_Cve_Activo_Fijo"_s, u"Debe especificar para el activo fijo"_s, u"ERR-ID:7500003"_s,
     u"txt_Af_Cve_Activo_Fijo"_s},
    {u"txt_Af_Descripcion"_s, u"Debe especificar una descripcion para el activo fijo"_s, u"ERR-ID:7500004"_s,
     u"txt_Af_Descripcion"_s},
    {u"txt_Ta_Descripcion"_s, u"Debe especificar el tipo de activo fijo"_s, u"ERR-ID:7500005"_s,
     u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
    {u"txtNEmpresa"_s, u"Debe especificar una empresa válida"_s, u"ERR-ID:7500006"_s, u"txtEmpresa"_s},
    {u"txtUbicacionDescripcion"_s, u"Debe especificar la ubicación del activo fijo"_s, u"ERR-ID:7500007"_s,
     u"txt_Au_Cve_Ubicacion"_s},
};

// A key typed (and, for the responsible boxes, of the chosen kind) whose
// lookup found no description. An empty key passes.
struct Reference
{
    QString option; // the option button that must be selected, empty when none
    QString key;
    QString description;
    int tab;
    QString message;
    QString id;
};

const Reference ResponsibleAndAccounts[] = {
    {u"opEmpleado"_s, u"txtClaveEmpleado"_s, u"txtDescripcionEmpleado"_s, General,
     u"Debe especificar un empleado válido"_s, u"ERR-ID:7500010"_s},
    {u"opCliente"_s, u"txtClaveCliente"_s, u"txtDescripcionCliente"_s, General,
     u"Debe especificar un cliente válido"_s, u"ERR-ID:7500011"_s},
    {{}, u"txtCuentaContable"_s, u"txtNContable"_s, Contables, u"Debe especificar una cuenta contable válida"_s,
     u"ERR-ID:7500012"_s},
    {{}, u"txtCuentaContable1"_s, u"txtNCuentaContable1"_s, Contables,
     u"Debe especificar una cuenta contable válida"_s, u"ERR-ID:7500013"_s},
    {{}, u"txtCuentaContable2"_s, u"txtNCuentacontable2"_s, Contables,
     u"Debe especificar una cuenta contable válida"_s, u"ERR-ID:7500014"_s},
    {{}, u"txtCuentaContable3"_s, u"txtNCuentaContable3"_s, Contables,
     u"Debe especificar una cuenta contable válida"_s, u"ERR-ID:7500015"_s},
};

const Reference ProjectAndCentre[] = {
    {{}, u"txtProyecto"_s, u"txtNProyecto"_s, Contables, u"Debe especificar un proyecto válido"_s,
     u"ERR-ID:7500016"_s},
    {{}, u"txtCentroCosto"_s, u"txtNCentroCosto"_s, Contables, u"Debe especificar un centro de costos válido"_s,
     u"ERR-ID:7500017"_s},
};

const Reference UnitAndSupplier[] = {
    {{}, u"txtUen"_s, u"txtNUen"_s, Contables, u"Debe especificar una UEN válida"_s, u"ERR-ID:7500018"_s},
    {{}, u"txt_Pv_Cve_Proveedor"_s, u"txt_Pv_Descripcion"_s, Depreciacion, u"Debe especificar un proveedor"_s,
     u"ERR-ID:7500019"_s},
};

} // namespace

// One check's answer: where it takes the user and what it says.
struct SaveValidation::Refusal
{
    int tab;
    QString prompt;
    int style;
    QString title;
    QString id;
    QString focus; // empty: the focus stays where it is
};

SaveValidation::SaveValidation(const AssetScreen &screen)
    : m_screen(screen)
    , m_numbers(screen)
{
}

QString SaveValidation::key() const
{
    return m_screen.keyBox().text();
}

bool SaveValidation::refuse(const Refusal &refusal)
{
    m_screen.selectTab(refusal.tab);
    m_screen.message(refusal.prompt, refusal.style, refusal.title, refusal.id);
    if (!refusal.focus.isEmpty())
        m_screen.focus(refusal.focus);
    m_screen.toolbar().cancelaaceptar();
    return false;
}

bool SaveValidation::run(short nuevo, Responsible &responsible)
{
    if (!keyIsFree(nuevo) || !requiredFieldsFilled())
        return false;
    fillNumberDefaults();
    if (!numbersAreUnique() || !referencesResolved())
        return false;
    responsible = this->responsible();
    if (!projectAndCentreResolved())
        return false;
    fillDefaultCentre();
    return unitAndSupplierResolved() && numbersStorable() && costIsPositive() && distributionIsValid();
}

bool SaveValidation::keyIsFree(short nuevo)
{
    if (nuevo == 0)
        return true;
    suite::Utilerias &utilerias = m_screen.utilerias();
    const QString holder = utilerias.BuscaValor(u"Activo_fijo"_s, u"Af_Cve_Activo_fijo"_s, key(),
                                                u"Ta_Cve_Tipo_Activo_fijo"_s, 0, QString(), QString(), QString());
    if (holder.isEmpty())
        return true;

    const QVariant automatic = m_screen.entorno().LeeVariable(u"CAT_AUTOCLAVE"_s, 0, QString(), QString());
    if (automatic.isNull() || !suite::cBool(automatic)) {
        return refuse({General, u"La clave ya está asignada al activo fijo: "_s + holder, Exclamation, Suite,
                       u"ERR-ID:7500002"_s, u"txt_Af_Cve_Activo_Fijo"_s});
    }
    const int answer = m_screen.message(u"La clave, ya está asignada al activo fijo: "_s + holder
                                            + u"\r\n¿Desea generar una nueva clave?"_s,
                                        Question, u"Generar nueva clave?"_s, u"ERR-ID:7500001"_s);
    if (answer != Yes) {
        m_screen.selectTab(General);
        m_screen.focus(u"txt_Af_Cve_Activo_Fijo"_s);
        m_screen.toolbar().cancelaaceptar();
        return false;
    }
    int next = 0;
    utilerias.SiguienteClave(u"Activo_fijo"_s, u"Af_Cve_Activo_fijo"_s, QString(), QString(), QString(),
                             QString(), QString(), QString(), QString(), next);
    // Shown as the key pattern fills it, as the new command shows its key:
    // the key box pads every key it is given, so an unpadded one could not
    // be found again.
    suite::txtKIT &box = m_screen.keyBox();
    box.setText(QString::number(next));
    box.rellenaClave();
    return true;
}

bool SaveValidation::requiredFieldsFilled()
{
    for (const Required &r : RequiredFields) {
        if (m_screen.text(r.box).isEmpty())
            return refuse({General, r.message, Exclamation, Suite, r.id, r.focus});
    }
    return true;
}

void SaveValidation::fillNumberDefaults()
{
    if (m_screen.text(u"txtNSerie"_s).isEmpty())
        m_screen.setText(u"txtNSerie"_s, key());
    if (m_screen.text(u"txtNEconomico"_s).isEmpty()) {
        m_screen.setText(u"txtNEconomico"_s, m_screen.text(u"txtNEmpresa"_s).left(3) + u"-"_s
                                                 + m_screen.text(u"txt_Ta_Cve_Tipo_ActivoFijo"_s) + u"-"_s + key());
    }
}

bool SaveValidation::numbersAreUnique()
{
    suite::Utilerias &utilerias = m_screen.utilerias();
    const QString serial = utilerias.BuscaValor(u"Activo_FIjo"_s, u"Af_Numero_Serie"_s,
                                                m_screen.text(u"txtNSerie"_s).trimmed(), u"Af_Cve_Activo_Fijo"_s, 0,
                                                QString(), QString(), QString());
    const QString economic = utilerias.BuscaValor(u"Activo_FIjo"_s, u"Af_Numero_Economico"_s,
                                                  m_screen.text(u"txtNEconomico"_s).trimmed(),
                                                  u"Af_Cve_Activo_Fijo"_s, 0, QString(), QString(), QString());
    if (!serial.isEmpty() && serial != key()) {
        return refuse({General, u"El número de serie ya está en la base de datos"_s, Exclamation, Suite,
                       u"ERR-ID:7500008"_s, u"txtNSerie"_s});
    }
    if (!economic.isEmpty() && economic != key()) {
        return refuse({General, u"El número económico ya está en la base de datos"_s, Exclamation, Suite,
                       u"ERR-ID:7500009"_s, u"txtNEconomico"_s});
    }
    return true;
}

namespace {

template<std::size_t N>
const Reference *unresolved(const AssetScreen &screen, const Reference (&references)[N])
{
    for (const Reference &r : references) {
        if (!r.option.isEmpty() && !screen.option(r.option))
            continue;
        if (!screen.text(r.key).isEmpty() && screen.text(r.description).isEmpty())
            return &r;
    }
    return nullptr;
}

} // namespace

bool SaveValidation::referencesResolved()
{
    if (const Reference *r = unresolved(m_screen, ResponsibleAndAccounts))
        return refuse({r->tab, r->message, Exclamation, Suite, r->id, r->key});
    return true;
}

Responsible SaveValidation::responsible() const
{
    // The employee option alone decides: any other state means a client.
    if (m_screen.option(u"opEmpleado"_s))
        return {u"EM"_s, m_screen.box(u"txtClaveEmpleado"_s).valor()};
    return {u"CL"_s, m_screen.box(u"txtClaveCliente"_s).valor()};
}

bool SaveValidation::projectAndCentreResolved()
{
    if (const Reference *r = unresolved(m_screen, ProjectAndCentre))
        return refuse({r->tab, r->message, Exclamation, Suite, r->id, r->key});
    return true;
}

void SaveValidation::fillDefaultCentre()
{
    // Not looked up: the configured default is trusted as it is.
    if (m_screen.grid().Rows() == 0 && m_screen.text(u"txtCentroCosto"_s).isEmpty())
        m_screen.setText(u"txtCentroCosto"_s, m_screen.variables().CentroCostoDefault);
}

bool SaveValidation::unitAndSupplierResolved()
{
    if (const Reference *r = unresolved(m_screen, UnitAndSupplier))
        return refuse({r->tab, r->message, Exclamation, Suite, r->id, r->key});
    return true;
}

// Every numeric box holds a number its column keeps as typed: nothing
// is stored that the user did not type, whether or not the box was left.
bool SaveValidation::numbersStorable()
{
    if (const std::optional<NumberChecks::Problem> p = m_numbers.firstFieldProblem())
        return refuse({p->tab, p->prompt, Exclamation, Suite, p->id, p->control});
    return true;
}

bool SaveValidation::costIsPositive()
{
    if (m_screen.box(u"txt_Costo_Original"_s).valor().toDouble() > 0)
        return true;
    m_screen.selectTab(Depreciacion);
    m_screen.message(u"El costo original es incorrecto"_s, Exclamation, Suite, u"ERR-ID:7500020"_s);
    m_screen.setEnabled(u"txt_Costo_Original"_s, true);
    m_screen.focus(u"txt_Costo_Original"_s);
    m_screen.toolbar().cancelaaceptar();
    return false;
}

bool SaveValidation::distributionIsValid()
{
    suite::DataGrid &grid = m_screen.grid();
    double sum = 0;
    grid.MoveFirst();
    const int rows = grid.Rows();
    for (int i = 0; i < rows; ++i) {
        const QString centre = grid.cellValue(u"Clave"_s).toString();
        if (centre.isEmpty()) {
            return refuse({Contables, u"El centro de costo: "_s + centre + u", es incorrecto"_s, Exclamation,
                           Routine, u"ERR-ID:7500021"_s, {}});
        }

        // Exists, takes postings (no centre accumulates into it) and is not deactivated.
        const suite::RecordsetPtr found = m_screen.execute(
            u"SELECT Cc_Cve_Centro_Costo "_s + u"FROM Centro_Costo "_s + u"WHERE Cc_Cve_Centro_Costo = '"_s
            + SqlLiteral::inner(centre) + u"' AND "_s
            // NOT EXISTS, not NOT IN: PostgreSQL hashes the whole subquery for NOT IN on every look-up.
            + u"   NOT EXISTS (SELECT 1 FROM Centro_Costo Acumula "_s
            + u"WHERE Acumula.Cc_Acumula = Centro_Costo.Cc_Cve_Centro_Costo) AND "_s
            + u"   Centro_Costo.Es_Cve_Estado <> 'BA' "_s);
        const bool postable = !found->Eof();
        found->Close();
        if (!postable) {
            return refuse({Contables, u"El centro de costo: "_s + centre + u" no existe o no es afectable"_s,
                           Exclamation, Routine, u"ERR-ID:7500022"_s, {}});
        }

        // A share is added up as it will be stored: read as typed, within its column's decimals.
        const QVariant share = grid.cellValue(u"Porcentaje"_s);
        const QString unstorable = m_numbers.shareProblem(share);
        if (!unstorable.isEmpty()) {
            return refuse({Contables, u"Centro de costo "_s + centre + u": "_s + unstorable, Exclamation, Routine,
                           u"ERR-ID:7500056"_s, u"ssDetalle"_s});
        }
        if (share.toString().isEmpty() || share.toDouble() <= 0) {
            return refuse({Contables, u"El porcentaje del centro de costo: "_s + centre + u" no puede ser cero"_s,
                           Exclamation, Routine, u"ERR-ID:7500023"_s, {}});
        }
        sum = share.toDouble() + sum;

        // The same centre on a later row; the grid is left on it.
        const int count = grid.Rows();
        for (int j = i; j < count; ++j) {
            if (j != i && grid.cellText(u"Clave"_s) == centre) {
                return refuse({Contables, u"El centro de costo con clave: "_s + centre + u" está duplicado"_s,
                               Information, Routine, u"ERR-ID:7500024"_s, u"ssDetalle"_s});
            }
            grid.MoveNext();
        }
        grid.MoveFirst();
        for (int k = 0; k <= i; ++k)
            grid.MoveNext();
    }

    // Exactly 100, compared as the double the sum is: 99.99999999999999 is not 100.
    if (rows > 0 && sum != 100.0) {
        return refuse({Contables, u"La suma del porcentaje de los centros de costo debe ser de 100%"_s, Exclamation,
                       Routine, u"ERR-ID:7500025"_s, u"ssDetalle"_s});
    }
    return true;
}

} // namespace xb733
