#include "suite/data/DemoData.h"

#include "suite/data/Connection.h"
#include "suite/data/DemoBatch.h"
#include "suite/data/DemoEquipment.h"
#include "suite/data/DemoFormats.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr int AssetCount = 50;
const QString Operator = u"ADMIN"_s;

// A tiny linear congruential generator: the demo must be the same on every
// machine and every run, whatever the standard library's engines do.
class Seeded
{
public:
    explicit Seeded(quint32 seed) : m_state(seed) {}
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int between(int low, int high) { return low + int(next() % quint32(high - low + 1)); }
    template<typename T>
    const T &pick(const QVector<T> &items) { return items.at(between(0, items.size() - 1)); }

private:
    quint32 m_state;
};

QDateTime stamp(const QDate &date, int hour, int minute)
{
    return QDateTime(date, QTime(hour, minute));
}

// Catalogue rows carry the state and who made them.
QVariantList withAudit(QVariantList values, const QString &state, const QDate &created)
{
    values << state << Operator << stamp(created, 9, 0) << Operator << stamp(created, 9, 0);
    values << (state == u"BA"_s ? QVariant(Operator) : QVariant(u""_s))
           << (state == u"BA"_s ? QVariant(stamp(created.addMonths(6), 17, 30))
                                : QVariant(QMetaType::fromType<QDateTime>()));
    return values;
}

const QStringList AuditColumns = {u"Es_Cve_Estado"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s,
                                  u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s};

void loadCatalogue(Connection &c, const QString &table, const QStringList &columns,
                   const QVector<QStringList> &rows)
{
    DemoBatch batch(c, table, columns + AuditColumns);
    const QDate created(2017, 12, 1);
    for (const QStringList &row : rows) {
        // The last text of a row is its state.
        QVariantList values;
        for (int i = 0; i < columns.size(); ++i)
            values << row.at(i);
        batch.add(withAudit(values, row.at(columns.size()), created));
    }
    batch.flush();
}

// Rows given in full, in one multi-row insert.
void loadRows(Connection &c, const QString &table, const QStringList &columns, const QVector<QVariantList> &rows)
{
    DemoBatch batch(c, table, columns);
    for (const QVariantList &row : rows)
        batch.add(row);
    batch.flush();
}

struct AssetType
{
    QString key;
    QString prefix;        // of serial numbers
    QStringList descriptions;
    QStringList brands;
    QStringList models;
    QString account;       // asset account
    QString depreciation;  // accumulated depreciation account
    QString supplier;
    int lowCost;
    int highCost;
    int lifeYears;         // accounting
    double taxRate;        // per year
};

const QVector<AssetType> &assetTypes()
{
    static const QVector<AssetType> types = {
        {u"001"_s, u"CP"_s,
         {u"Computadora portátil 14 pulgadas"_s, u"Computadora de escritorio"_s, u"Servidor de rack 2U"_s,
          u"Impresora láser multifuncional"_s, u"Monitor de 27 pulgadas"_s},
         {u"Tecnova"_s, u"Compunorte"_s, u"Altek"_s},
         {u"TN-450"_s, u"Serie X7 Pro"_s, u"AK-2290"_s, u"Office 3000"_s},
         u"1201"_s, u"1291"_s, u"000001"_s, 9000, 65000, 3, 0.30},
        {u"002"_s, u"VH"_s,
         {u"Camioneta de reparto"_s, u"Automóvil sedán para ventas"_s, u"Camión de carga 3.5 toneladas"_s},
         {u"Motora"_s, u"Rutamex"_s},
         {u"Carga Ligera 2023"_s, u"Sedán Ejecutivo"_s, u"Torton 35"_s},
         u"1202"_s, u"1292"_s, u"000002"_s, 280000, 950000, 4, 0.25},
        {u"003"_s, u"MB"_s,
         {u"Escritorio ejecutivo en L"_s, u"Silla ergonómica"_s, u"Archivero metálico de 4 gavetas"_s,
          u"Mesa de juntas para 10 personas"_s},
         {u"Oficinas Modernas"_s, u"Mobilia"_s},
         {u"Ejecutiva"_s, u"Ergo 500"_s, u"Metálico AM-4"_s},
         u"1203"_s, u"1293"_s, u"000003"_s, 2500, 38000, 10, 0.10},
        {u"004"_s, u"MQ"_s,
         {u"Torno CNC"_s, u"Compresor de aire industrial"_s, u"Prensa hidráulica de 50 toneladas"_s,
          u"Soldadora de arco"_s},
         {u"Industrial Regia"_s, u"Metalmec"_s},
         {u"CNC-1600"_s, u"Aire 300"_s, u"PH-50"_s, u"Arco 250A"_s},
         u"1204"_s, u"1294"_s, u"000004"_s, 45000, 780000, 10, 0.10},
        {u"005"_s, u"UM"_s,
         {u"Unidad móvil de servicio técnico"_s, u"Unidad móvil de radiocomunicación"_s},
         {u"Rutamex"_s, u"Telenor"_s},
         {u"Servicio 4x4"_s, u"Enlace Móvil"_s},
         u"1205"_s, u"1292"_s, u"000005"_s, 320000, 870000, 4, 0.25},
    };
    return types;
}

void loadCatalogues(Connection &c)
{
    loadCatalogue(c, u"Empresa"_s, {u"Em_Cve_Empresa"_s, u"Em_Descripcion"_s}, {
        {u"0001"_s, u"Industrias Norte"_s, u"AC"_s},
        {u"0002"_s, u"Comercializadora del Bajío"_s, u"AC"_s},
        {u"0003"_s, u"Servicios Logísticos del Golfo"_s, u"AC"_s},
        {u"0009"_s, u"Inmobiliaria Sierra Madre"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Activo_Fijo_Ubicacion"_s, {u"Au_Cve_Ubicacion"_s, u"Au_Descripcion"_s}, {
        {u"0001"_s, u"Oficinas centrales, Monterrey"_s, u"AC"_s},
        {u"0002"_s, u"Planta Apodaca"_s, u"AC"_s},
        {u"0003"_s, u"Almacén Guadalajara"_s, u"AC"_s},
        {u"0004"_s, u"Sucursal Querétaro"_s, u"AC"_s},
        {u"0005"_s, u"Bodega Saltillo (cerrada)"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Tipo_Activo_Fijo"_s,
                  {u"Ta_Cve_Tipo_Activo_Fijo"_s, u"Ta_Descripcion"_s, u"Ta_Equipo"_s, u"Ta_Tipo_Vehiculo"_s}, {
        {u"001"_s, u"Equipo de cómputo"_s, u"SI"_s, u""_s, u"AC"_s},
        {u"002"_s, u"Equipo de transporte"_s, u"NO"_s, u"01"_s, u"AC"_s},
        {u"003"_s, u"Mobiliario y equipo de oficina"_s, u"NO"_s, u""_s, u"AC"_s},
        {u"004"_s, u"Maquinaria y equipo industrial"_s, u"SI"_s, u""_s, u"AC"_s},
        {u"005"_s, u"Unidades móviles de servicio"_s, u"SI"_s, u"02"_s, u"AC"_s},
        {u"009"_s, u"Herramienta menor"_s, u"NO"_s, u""_s, u"BA"_s},
    });
    loadCatalogue(c, u"Empleado"_s,
                  {u"Em_Cve_Empleado"_s, u"Em_Nombre"_s, u"Em_Apellido_Paterno"_s, u"Em_Apellido_Materno"_s}, {
        {u"00001"_s, u"María Fernanda"_s, u"López"_s, u"Garza"_s, u"AC"_s},
        {u"00002"_s, u"José Luis"_s, u"Martínez"_s, u"Treviño"_s, u"AC"_s},
        {u"00003"_s, u"Ana Sofía"_s, u"Hernández"_s, u"Villarreal"_s, u"AC"_s},
        {u"00004"_s, u"Carlos Eduardo"_s, u"Ramírez"_s, u"Cantú"_s, u"AC"_s},
        {u"00005"_s, u"Laura Patricia"_s, u"González"_s, u"Salinas"_s, u"AC"_s},
        {u"00006"_s, u"Jorge Alberto"_s, u"Sánchez"_s, u"de la Garza"_s, u"AC"_s},
        {u"00007"_s, u"Gabriela"_s, u"Torres"_s, u"Elizondo"_s, u"AC"_s},
        {u"00008"_s, u"Ricardo"_s, u"Flores"_s, u"Ayala"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Cliente"_s, {u"Cl_Cve_Cliente"_s, u"Cl_Descripcion"_s}, {
        {u"000001"_s, u"Constructora Regiomontana, S.A. de C.V."_s, u"AC"_s},
        {u"000002"_s, u"Hospital San José del Norte"_s, u"AC"_s},
        {u"000003"_s, u"Distribuidora de Aceros del Noreste"_s, u"AC"_s},
        {u"000004"_s, u"Grupo Educativo Cumbres"_s, u"AC"_s},
        {u"000005"_s, u"Transportes del Valle"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Proyecto"_s, {u"Py_Cve_Proyecto"_s, u"Py_Descripcion"_s}, {
        {u"0000000001"_s, u"Ampliación planta Apodaca"_s, u"AC"_s},
        {u"0000000002"_s, u"Renovación de equipo de cómputo 2024"_s, u"AC"_s},
        {u"0000000003"_s, u"Centro de distribución Guadalajara"_s, u"AC"_s},
        {u"0000000004"_s, u"Piloto de energía solar"_s, u"BA"_s},
    });
    // 000100 is a summary centre: the others accumulate into it, so it takes
    // no postings itself.
    loadCatalogue(c, u"Centro_Costo"_s, {u"Cc_Cve_Centro_Costo"_s, u"Cc_Descripcion"_s, u"Cc_Acumula"_s}, {
        {u"000100"_s, u"Dirección general"_s, u""_s, u"AC"_s},
        {u"000110"_s, u"Administración y finanzas"_s, u"000100"_s, u"AC"_s},
        {u"000120"_s, u"Ventas"_s, u"000100"_s, u"AC"_s},
        {u"000130"_s, u"Producción"_s, u"000100"_s, u"AC"_s},
        {u"000140"_s, u"Sistemas"_s, u"000100"_s, u"AC"_s},
        {u"000150"_s, u"Mantenimiento"_s, u"000100"_s, u"AC"_s},
        {u"000160"_s, u"Logística y almacén"_s, u"000100"_s, u"AC"_s},
        {u"000170"_s, u"Calidad"_s, u"000100"_s, u"AC"_s},
        {u"000180"_s, u"Recursos humanos"_s, u"000100"_s, u"AC"_s},
        {u"000200"_s, u"Mercadotecnia"_s, u"000100"_s, u"AC"_s},
        {u"000210"_s, u"Jurídico"_s, u"000100"_s, u"AC"_s},
        {u"000220"_s, u"Seguridad e higiene"_s, u"000100"_s, u"AC"_s},
        {u"000230"_s, u"Investigación y desarrollo"_s, u"000100"_s, u"AC"_s},
        {u"000240"_s, u"Atención a clientes"_s, u"000100"_s, u"AC"_s},
        {u"000250"_s, u"Tesorería"_s, u"000100"_s, u"AC"_s},
        {u"000190"_s, u"Compras (reorganizado)"_s, u"000100"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Unidad_Estrategica_Negocio"_s,
                  {u"Uen_Cve_Unidad_Estrategica_Negocio"_s, u"Uen_Descripcion"_s}, {
        {u"000001"_s, u"Manufactura"_s, u"AC"_s},
        {u"000002"_s, u"Distribución"_s, u"AC"_s},
        {u"000003"_s, u"Servicios"_s, u"AC"_s},
        {u"000004"_s, u"Exportación"_s, u"BA"_s},
    });
    loadCatalogue(c, u"Cuenta_Contable"_s,
                  {u"Cc_Cve_Cuenta_Contable"_s, u"Cc_Descripcion"_s, u"Cc_Cuenta_Padre"_s}, {
        {u"1000"_s, u"Activo"_s, u""_s, u"AC"_s},
        {u"1200"_s, u"Activo fijo"_s, u"1000"_s, u"AC"_s},
        {u"1201"_s, u"Equipo de computo"_s, u"1200"_s, u"AC"_s},
        {u"1202"_s, u"Equipo de transporte"_s, u"1200"_s, u"AC"_s},
        {u"1203"_s, u"Mobiliario y equipo de oficina"_s, u"1200"_s, u"AC"_s},
        {u"1204"_s, u"Maquinaria y equipo"_s, u"1200"_s, u"AC"_s},
        {u"1205"_s, u"Equipo de comunicación"_s, u"1200"_s, u"AC"_s},
        {u"1290"_s, u"Depreciación acumulada"_s, u"1000"_s, u"AC"_s},
        {u"1291"_s, u"Depreciación acumulada de equipo de computo"_s, u"1290"_s, u"AC"_s},
        {u"1292"_s, u"Depreciación acumulada de equipo de transporte"_s, u"1290"_s, u"AC"_s},
        {u"1293"_s, u"Depreciación acumulada de mobiliario"_s, u"1290"_s, u"AC"_s},
        {u"1294"_s, u"Depreciación acumulada de maquinaria"_s, u"1290"_s, u"AC"_s},
        {u"1299"_s, u"Activo fijo en tránsito"_s, u"1200"_s, u"BA"_s},
        {u"6000"_s, u"Gastos"_s, u""_s, u"AC"_s},
        {u"6100"_s, u"Gastos de operación"_s, u"6000"_s, u"AC"_s},
        {u"6101"_s, u"Depreciación contable"_s, u"6100"_s, u"AC"_s},
        {u"6102"_s, u"Depreciación no deducible"_s, u"6100"_s, u"AC"_s},
    });
    loadCatalogue(c, u"Proveedor"_s, {u"Pv_Cve_Proveedor"_s, u"Pv_Descripcion"_s}, {
        {u"000001"_s, u"Computación Integral del Norte"_s, u"AC"_s},
        {u"000002"_s, u"Automotriz Regiomontana"_s, u"AC"_s},
        {u"000003"_s, u"Muebles y Oficinas Modernas"_s, u"AC"_s},
        {u"000004"_s, u"Maquinaria Industrial de Monterrey"_s, u"AC"_s},
        {u"000005"_s, u"Telecomunicaciones del Noreste"_s, u"AC"_s},
        {u"000009"_s, u"Proveedora del Centro (sin operaciones)"_s, u"BA"_s},
    });
}

void loadConfiguration(Connection &c)
{
    loadRows(c, u"Variable"_s, {u"Va_Cve_Variable"_s, u"Va_Valor"_s, u"Va_Descripcion"_s}, {
        {u"AF_CENTRO_COSTO_DEFAULT"_s, u"000110"_s, u"Centro de costo de los activos sin distribución"_s},
        {u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"AF01"_s, u"Etiqueta de los activos fijos"_s},
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"GENERICA"_s, u"Marca de los equipos y vehículos generados"_s},
        {u"CAT_TIPO_VEHICULO_DEFAULT"_s, u"01"_s, u"Tipo de los vehículos generados"_s},
        {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, u"0001"_s, u"Ubicación de los equipos generados"_s},
        {u"CAT_TIPO_EQUIPO_DEFAULT"_s, u"0001"_s, u"Tipo de los equipos generados"_s},
        {u"FTO_EQUIPO"_s, u"0000000000"_s, u"Formato de clave de equipo"_s},
        {u"FTO_VEHICULO"_s, u"0000000000"_s, u"Formato de clave de vehículo"_s},
        {u"FTO_CENTRO_COSTO"_s, u"000000"_s, u"Formato de clave de centro de costo"_s},
        {u"FTO_ACTIVO_FIJO"_s, u"0000000000"_s, u"Formato de clave de activo fijo"_s},
        {u"FTO_UBICACION_ACTIVO_FIJO"_s, u"0000"_s, u"Formato de clave de ubicación"_s},
        {u"FTO_EMPRESA"_s, u"0000"_s, u"Formato de clave de empresa"_s},
        {u"FTO_TIPO_ACTIVO_FIJO"_s, u"000"_s, u"Formato de clave de tipo de activo fijo"_s},
        {u"FTO_PROVEEDOR"_s, u"000000"_s, u"Formato de clave de proveedor"_s},
        {u"FTO_CLIENTE"_s, u"000000"_s, u"Formato de clave de cliente"_s},
        {u"FTO_EMPLEADO"_s, u"00000"_s, u"Formato de clave de empleado"_s},
        {u"FTO_PROYECTO"_s, u"0000000000"_s, u"Formato de clave de proyecto"_s},
        {u"FTO_UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"000000"_s, u"Formato de clave de unidad estratégica de negocio"_s},
        {u"CAT_FORZAR_MAYUSCULAS"_s, u"SI"_s, u"Las cajas de texto escriben en mayúsculas"_s},
        {u"CAT_AUTOCLAVE"_s, u"SI"_s, u"Clave automática en los catálogos"_s},
        {u"FTO_IMP_RESPONSIVA_ACTIVO_FIJO"_s, u"RESPONSIVA_AF"_s, u"Formato de la carta responsiva"_s},
    });
    loadRows(c, u"Configuracion"_s, {u"Cf_Sistema"_s, u"Cf_Clave"_s, u"Cf_Valor"_s}, {
        {u"Talvexor"_s, u"XB733"_s, u"Catalogo de activo fijo"_s},
        {u"Talvexor"_s, u"EMPRESA"_s, u"Industrias Norte"_s},
    });

    // Statements whose first column is the key and the second describes it,
    // written as the screens write theirs; the dialect makes them portable.
    loadRows(c, u"Consulta"_s, {u"Co_Cve_Consulta"_s, u"Co_Titulo"_s, u"Co_Sentencia"_s}, {
        {u"ACTIVO_FIJO"_s, u"Activos fijos"_s,
         u"SELECT Af_Cve_Activo_Fijo AS Clave, Af_Descripcion AS Descripcion, Af_Numero_Serie AS Serie "
         "FROM Activo_Fijo WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"TIPO_ACTIVO_FIJO"_s, u"Tipos de activo fijo"_s,
         u"SELECT Ta_Cve_Tipo_Activo_Fijo AS Clave, Ta_Descripcion AS Descripcion "
         "FROM Tipo_Activo_Fijo WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"EMPRESA"_s, u"Empresas"_s,
         u"SELECT Em_Cve_Empresa AS Clave, Em_Descripcion AS Descripcion FROM Empresa WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"ACTIVO_FIJO_UBICACION"_s, u"Ubicaciones de activo fijo"_s,
         u"SELECT Au_Cve_Ubicacion AS Clave, Au_Descripcion AS Descripcion "
         "FROM Activo_Fijo_Ubicacion WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"EMPLEADO"_s, u"Empleados"_s,
         u"SELECT Em_Cve_Empleado AS Clave, Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno "
         "AS Descripcion FROM Empleado WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"CLIENTE"_s, u"Clientes"_s,
         u"SELECT Cl_Cve_Cliente AS Clave, Cl_Descripcion AS Descripcion FROM Cliente WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"PROYECTO"_s, u"Proyectos"_s,
         u"SELECT Py_Cve_Proyecto AS Clave, Py_Descripcion AS Descripcion FROM Proyecto WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"CENTRO_COSTO"_s, u"Centros de costo"_s,
         u"SELECT Cc_Cve_Centro_Costo AS Clave, Cc_Descripcion AS Descripcion "
         "FROM Centro_Costo WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"Unidades estratégicas de negocio"_s,
         u"SELECT Uen_Cve_Unidad_Estrategica_Negocio AS Clave, Uen_Descripcion AS Descripcion "
         "FROM Unidad_Estrategica_Negocio WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"CUENTA_CONTABLE"_s, u"Cuentas contables"_s,
         u"SELECT Cc_Cve_Cuenta_Contable AS Clave, dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) "
         "AS Descripcion FROM Cuenta_Contable WHERE Es_Cve_Estado <> 'BA'"_s},
        {u"PROVEEDOR"_s, u"Proveedores"_s,
         u"SELECT Pv_Cve_Proveedor AS Clave, Pv_Descripcion AS Descripcion FROM Proveedor WHERE Es_Cve_Estado <> 'BA'"_s},
    });
}

void loadFormats(Connection &c)
{
    DemoFormats::load(c);

    loadRows(c, u"Campo_Adicional"_s, {u"Ca_Tabla"_s, u"Ca_Campo"_s, u"Ca_Titulo"_s, u"Ca_Orden"_s}, {
        {u"Activo_Fijo"_s, u"POLIZA"_s, u"Póliza de seguro"_s, 1},
        {u"Activo_Fijo"_s, u"GARANTIA"_s, u"Garantía vigente hasta"_s, 2},
    });
}

double roundCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

// Shares of an asset over cost centres, in quarters of a percent so that
// they add up to exactly 100 in binary floating point too; none below 2%.
QVector<double> shares(Seeded &random, int parts)
{
    constexpr int least = 8;
    QVector<double> result;
    int left = 400; // quarters of a percent
    for (int i = 0; i < parts - 1; ++i) {
        const int share = random.between(least, left - least * (parts - 1 - i));
        result.append(share / 4.0);
        left -= share;
    }
    result.append(left / 4.0);
    return result;
}

void loadAssets(Connection &c)
{
    Seeded random(20240117u);
    // Centres that take postings (000100 gathers the others).
    const QStringList postable = {u"000110"_s, u"000120"_s, u"000130"_s, u"000140"_s, u"000150"_s, u"000160"_s,
                                  u"000170"_s, u"000180"_s, u"000200"_s, u"000210"_s, u"000220"_s,
                                  u"000230"_s, u"000240"_s, u"000250"_s};
    const QVector<QString> companies = {u"0001"_s, u"0001"_s, u"0001"_s, u"0002"_s, u"0003"_s};
    const QStringList companyNames = {u"Industrias Norte"_s, u"Comercializadora del Bajío"_s,
                                      u"Servicios Logísticos del Golfo"_s};
    const QVector<QString> locations = {u"0001"_s, u"0002"_s, u"0003"_s, u"0004"_s};
    const QVector<QString> employees = {u"00001"_s, u"00002"_s, u"00003"_s, u"00004"_s,
                                        u"00005"_s, u"00006"_s, u"00007"_s};
    const QVector<QString> clients = {u"000001"_s, u"000002"_s, u"000003"_s, u"000004"_s};
    const QVector<QString> projects = {u""_s, u""_s, u"0000000001"_s, u"0000000002"_s, u"0000000003"_s};
    const QVector<QString> units = {u"000001"_s, u"000002"_s, u"000003"_s};
    const QVector<QString> ratings = {u"Excelente"_s, u"Bueno"_s, u"Bueno"_s, u"Regular"_s};
    const QVector<QString> places = {u"Piso 1"_s, u"Piso 2"_s, u"Piso 3"_s, u"Nave A"_s, u"Nave B"_s, u"Patio"_s};
    const QDate lastRun(2024, 12, 31);

    DemoBatch assets(c, u"Activo_Fijo"_s, Schema::writtenColumns(u"Activo_Fijo"_s));
    DemoBatch distribution(c, u"Activo_Fijo_Centro_Costo"_s,
                           Schema::writtenColumns(u"Activo_Fijo_Centro_Costo"_s));
    DemoBatch postings(c, u"Activo_Fijo_Depreciacion"_s,
                   {u"Af_Cve_Activo_Fijo"_s, u"Ad_Tipo"_s, u"Es_Cve_Estado"_s, u"Ad_Fecha"_s,
                    u"Ad_Centro_Costo"_s, u"Ad_Importe"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s});
    DemoBatch extra(c, u"Campo_Adicional_Valor"_s, {u"Ca_Tabla"_s, u"Ca_Clave"_s, u"Ca_Campo"_s, u"Ca_Valor"_s});

    for (int n = 1; n <= AssetCount; ++n) {
        const QString key = u"%1"_s.arg(n, 10, 10, QLatin1Char('0'));
        // Mostly computers and furniture, as in any office.
        static const QVector<int> typeWeights = {0, 0, 0, 0, 1, 2, 2, 2, 3, 3, 4};
        const AssetType &type = assetTypes().at(random.pick(typeWeights));
        const QString company = random.pick(companies);
        const QString companyName = companyNames.at(company.toInt() - 1);
        const QDate bought = n > AssetCount - 3 ? QDate(2025, 1, 1).addDays(random.between(0, 120))
                                                : QDate(2018, 1, 1).addDays(random.between(0, 2370));
        const double cost = roundCents(random.between(type.lowCost * 100, type.highCost * 100) / 100.0);

        // One asset in four is spread over 2 to 10 centres (asset 8 over ten);
        // the rest charge one.
        const bool spread = n % 4 == 0;
        QString centre;
        QString chargedTo;
        if (spread) {
            const int parts = n == 8 ? 10 : random.between(2, 10);
            QStringList chosen;
            while (chosen.size() < parts) {
                const QString candidate = postable.at(random.between(0, postable.size() - 1));
                if (!chosen.contains(candidate))
                    chosen.append(candidate);
            }
            const QVector<double> split = shares(random, parts);
            for (int i = 0; i < parts; ++i)
                distribution.add({key, chosen.at(i), split.at(i)});
            chargedTo = chosen.first();
        } else {
            centre = postable.at(random.between(0, postable.size() - 1));
            chargedTo = centre;
        }

        const bool byClient = random.between(1, 5) == 1;
        const QString responsible = byClient ? random.pick(clients) : random.pick(employees);
        const QString serial = u"%1%2%3"_s.arg(type.prefix).arg(bought.year() % 100, 2, 10, QLatin1Char('0'))
                                   .arg(n * 7919 % 100000 + random.between(0, 9) * 100000, 6, 10, QLatin1Char('0'));
        const QString economic = companyName.left(3) + u'-' + type.key + u'-' + key;

        // Yearly postings in both books, the first year prorated by months.
        double accounting = 0;
        double tax = 0;
        QDate lastPosting;
        for (int year = bought.year(); year <= lastRun.year(); ++year) {
            const int months = year == bought.year() ? 12 - bought.month() : 12;
            if (months <= 0)
                continue;
            const QDate date(year, 12, 31);
            const double co = std::min(roundCents(cost / type.lifeYears * months / 12.0), roundCents(cost - accounting));
            const double fi = std::min(roundCents(cost * type.taxRate * months / 12.0), roundCents(cost - tax));
            if (co > 0) {
                postings.add({key, u"CO"_s, u"AC"_s, date, chargedTo, co, Operator, stamp(date.addDays(5), 10, 0)});
                accounting += co;
            }
            if (fi > 0) {
                postings.add({key, u"FI"_s, u"AC"_s, date, chargedTo, fi, Operator, stamp(date.addDays(5), 10, 0)});
                tax += fi;
            }
            if (co > 0 || fi > 0)
                lastPosting = date;
        }
        // Now and then a posting was cancelled and made again: it stays as 'CA'.
        if (lastPosting.isValid() && n % 6 == 1) {
            postings.add({key, u"CO"_s, u"CA"_s, lastPosting, chargedTo, roundCents(cost / type.lifeYears),
                          Operator, stamp(lastPosting.addDays(2), 8, 45)});
        }

        const bool deactivated = n == 13;
        const QDateTime created = stamp(bought.addDays(random.between(1, 20)), 9 + n % 8, (n * 7) % 60);
        assets.add({
            key,
            type.descriptions.at(random.between(0, type.descriptions.size() - 1)),
            type.key, company, random.pick(locations), u""_s, u""_s, centre,
            random.pick(projects), random.pick(units),
            type.account, type.depreciation, u"6101"_s, n % 3 == 0 ? u"6102"_s : u""_s,
            cost, type.supplier, u"F-%1"_s.arg(10000 + n * 37 + random.between(0, 30)),
            bought, serial, economic,
            type.brands.at(random.between(0, type.brands.size() - 1)),
            type.models.at(random.between(0, type.models.size() - 1)),
            byClient ? u"CL"_s : u"EM"_s, responsible, random.pick(ratings),
            u"Inventario %1"_s.arg(2024 - n % 3), random.pick(places),
            double(random.between(0, 36)), n % 5 == 0 ? roundCents(cost * 0.16) : 0.0,
            bought.addYears(random.between(1, 3)), QDate(2024, 11, 1).addDays(random.between(0, 25)),
            Operator, created, Operator, created,
            type.lifeYears,
            deactivated ? u"BA"_s : u"AC"_s,
            deactivated ? Operator : u""_s,
            deactivated ? QVariant(stamp(QDate(2024, 3, 28), 17, 15)) : QVariant(QMetaType::fromType<QDateTime>()),
            roundCents(accounting), roundCents(tax),
            lastPosting.isValid() ? QVariant(lastPosting) : QVariant(QMetaType::fromType<QDate>()),
        });
        if (n % 5 == 2) {
            extra.add({u"Activo_Fijo"_s, key, u"POLIZA"_s, u"PZ-%1"_s.arg(880000 + n)});
            extra.add({u"Activo_Fijo"_s, key, u"GARANTIA"_s, bought.addYears(2).toString(u"dd/MM/yyyy"_s)});
        }
    }
    assets.flush();
    distribution.flush();
    postings.flush();
    extra.flush();
}

} // namespace

int DemoData::assetCount()
{
    return AssetCount;
}

void DemoData::load(Connection &connection)
{
    Schema::create(connection);
    const auto existing = connection.Execute(u"SELECT COUNT(*) AS Total FROM Activo_Fijo"_s);
    if (existing->fieldValue(0).toLongLong() > 0) {
        throw SuiteError(u"La base de datos ya tiene activos fijos; los datos de demostración "
                         "solo se cargan en una base de datos vacía"_s);
    }
    std::optional<TransactionGuard> transaction;
    if (!connection.inTransaction())
        transaction.emplace(connection);
    loadCatalogues(connection);
    loadConfiguration(connection);
    loadFormats(connection);
    loadAssets(connection);
    DemoEquipment::load(connection);
    if (transaction)
        transaction->commit();
}

} // namespace suite
