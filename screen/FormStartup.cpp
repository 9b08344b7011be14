#include "screen/FormStartup.h"

#include "suite/kit/FormControls.h"
#include "assets/FormVariables.h"
#include "suite/data/Connection.h"
#include "suite/kit/ColorKit.h"
#include "suite/kit/Controles.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Variants.h"

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// A configuration variable with a default (an empty text is one too) is read
// as text ("T"); one without is read with neither type code nor default, and
// the screen takes whatever comes back.
struct Setting
{
    QString variable;
    QString typeCode;
    QString defaultValue;
};

const QString Text = u"T"_s;

struct TextSetting
{
    Setting setting;
    QString FormVariables::*target;
};

struct KeyPattern
{
    Setting setting;
    QString keyBox;
};

const QList<TextSetting> &textSettings()
{
    static const QList<TextSetting> table = {
        {{u"AF_CENTRO_COSTO_DEFAULT"_s, Text, {}}, &FormVariables::CentroCostoDefault},
        {{u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, Text, {}}, &FormVariables::EtiquetasActivoFijo},
        {{u"CAT_MARCA_EQUIPO_DEFAULT"_s, Text, {}}, &FormVariables::MarcaEquipoDefault},
        {{u"CAT_TIPO_VEHICULO_DEFAULT"_s, Text, {}}, &FormVariables::TipoVehiculoDefault},
        {{u"CAT_UBICACION_EQUIPO_DEFAULT"_s, Text, {}}, &FormVariables::UbicacionEquipoDefault},
        {{u"CAT_TIPO_EQUIPO_DEFAULT"_s, Text, {}}, &FormVariables::TipoEquipoDefault},
        {{u"FTO_EQUIPO"_s, Text, u"0000000000"_s}, &FormVariables::FormatoEquipo},
        {{u"FTO_VEHICULO"_s, Text, u"0000000000"_s}, &FormVariables::FormatoVehiculo},
        {{u"FTO_CENTRO_COSTO"_s, Text, u"000000"_s}, &FormVariables::FormatoCentroCosto},
    };
    return table;
}

// "FTO_CENTRO_COSTO" is read again here for the box: each read stands alone.
const QList<KeyPattern> &keyPatterns()
{
    static const QList<KeyPattern> table = {
        {{u"FTO_ACTIVO_FIJO"_s, Text, u"0000000000"_s}, u"txt_Af_Cve_Activo_Fijo"_s},
        {{u"FTO_UBICACION_ACTIVO_FIJO"_s, {}, {}}, u"txt_Au_Cve_Ubicacion"_s},
        {{u"FTO_EMPRESA"_s, Text, u"0000"_s}, u"txtEmpresa"_s},
        {{u"FTO_TIPO_ACTIVO_FIJO"_s, {}, {}}, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
        {{u"FTO_PROVEEDOR"_s, {}, {}}, u"txt_Pv_Cve_Proveedor"_s},
        {{u"FTO_CLIENTE"_s, {}, {}}, u"txtClaveCliente"_s},
        {{u"FTO_EMPLEADO"_s, {}, {}}, u"txtClaveEmpleado"_s},
        {{u"FTO_CENTRO_COSTO"_s, Text, u"000000"_s}, u"txtCentroCosto"_s},
        {{u"FTO_PROYECTO"_s, Text, u"0000000000"_s}, u"txtProyecto"_s},
        {{u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s, Text, u"000000"_s}, u"txtUen"_s},
    };
    return table;
}

QVariant read(suite::Entorno &entorno, const Setting &s)
{
    return entorno.LeeVariable(s.variable, 0, s.typeCode, s.defaultValue);
}

} // namespace

FormStartup::FormStartup(suite::Entorno &entorno, const suite::FormControls &controls, FormVariables &variables)
    : m_entorno(entorno)
    , m_controls(controls)
    , m_variables(variables)
{
}

void FormStartup::run()
{
    m_controls.require<suite::colorKIT>(u"colorKIT"_s)->aplicacolores();
    auto *toolbar = m_controls.require<suite::Controles>(u"Controles"_s);
    toolbar->setEstadoinicial(true);
    // A database that takes no writes is for looking up only (the host window says why).
    toolbar->setSololectura(!m_entorno.Conexion()->writeRefusal().isEmpty());

    readSettings();
    readKeyPatterns();

    m_variables.ClaveEditable = m_entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, u"No disponible"_s);

    const QVariant upper = m_entorno.LeeVariable(u"CAT_FORZAR_MAYUSCULAS"_s, 0, QString(), QString());
    m_entorno.ForzarMayusculas(suite::cBool(upper));

    // Its Click runs the responsible-type handling.
    m_controls.require<suite::OptionButton>(u"opEmpleado"_s)->setValue(true);

    addListColumns();

    m_controls.require<suite::ssTbKit>(u"ssTabKit"_s)->setTab(0);
}

void FormStartup::readSettings()
{
    for (const TextSetting &s : textSettings())
        m_variables.*(s.target) = suite::cStr(read(m_entorno, s.setting));
}

void FormStartup::readKeyPatterns()
{
    for (const KeyPattern &k : keyPatterns()) {
        const QVariant value = read(m_entorno, k.setting);
        m_controls.require(k.keyBox)->setProperty("formatoclave", suite::cStr(value));
    }
}

void FormStartup::addListColumns()
{
    for (const QString &name : {u"lvActivoFijoContable"_s, u"lvActivoFijoFiscal"_s}) {
        auto *list = m_controls.require<suite::ListView>(name);
        list->clearColumnHeaders();
        list->addColumnHeader(u"Número"_s, 900);
        list->addColumnHeader(u"Fecha"_s);
        list->addColumnHeader(u"Ce.Co"_s);
        list->addColumnHeader(u"Importe"_s);
        // Amounts line up on their decimals.
        list->setColumnAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
}

} // namespace xb733
