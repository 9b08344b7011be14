#include "bench/generate/ReferenceCatalogues.h"

#include "bench/generate/BulkInsert.h"
#include "bench/generate/SeededRandom.h"
#include "bench/generate/SqlRun.h"
#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

// Streams of numbers, one per catalogue, so that adding rows to one never
// changes another.
enum Stream : quint64 { Companies = 1, Locations, Employees, Clients, Projects, Suppliers, Centres, Audit };

// How many rows a large company has; the demo's rows count towards them.
constexpr int CompanyCount = 12;
constexpr int LocationCount = 300;
constexpr int EmployeeCount = 20000;
constexpr int ClientCount = 5000;
constexpr int ProjectCount = 1000;
constexpr int SupplierCount = 1500;

// Every 250th centre sums up the ones after it; every 40th of those is a
// division at the top, the rest are departments that accumulate into it.
constexpr int SummaryEvery = 250;
constexpr int DepartmentsPerDivision = 40;

const QStringList Cities = {
    u"Monterrey"_s, u"Guadalajara"_s, u"Querétaro"_s, u"Saltillo"_s, u"Puebla"_s, u"León"_s, u"Mérida"_s,
    u"Tijuana"_s, u"Hermosillo"_s, u"Chihuahua"_s, u"Toluca"_s, u"Aguascalientes"_s, u"Culiacán"_s,
    u"Veracruz"_s, u"Torreón"_s, u"San Luis Potosí"_s, u"Morelia"_s, u"Cancún"_s, u"Oaxaca"_s, u"Durango"_s};
const QStringList Areas = {
    u"Administración"_s, u"Ventas"_s, u"Producción"_s, u"Sistemas"_s, u"Mantenimiento"_s, u"Logística"_s,
    u"Calidad"_s, u"Recursos humanos"_s, u"Mercadotecnia"_s, u"Jurídico"_s, u"Seguridad e higiene"_s,
    u"Investigación y desarrollo"_s, u"Atención a clientes"_s, u"Tesorería"_s, u"Compras"_s, u"Almacén"_s};
const QStringList Regions = {u"Norte"_s, u"Noreste"_s, u"Noroeste"_s, u"Occidente"_s, u"Bajío"_s,
                             u"Centro"_s, u"Golfo"_s, u"Sureste"_s, u"Pacífico"_s, u"Metropolitana"_s};
const QStringList Operators = {u"ADMIN"_s, u"MGARZA"_s, u"JTREVINO"_s, u"ASVILLARREAL"_s, u"CRAMIREZ"_s};

QString padded(int number, int width)
{
    return QString::number(number).rightJustified(width, u'0');
}

// The state and audit columns of a catalogue row (see Schema's catalogue()).
const QStringList AuditColumns = {u"Es_Cve_Estado"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s,
                                  u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s};

void audit(BulkInsert &insert, SeededRandom &random, bool deactivated)
{
    const QDate created = QDate(2010, 1, 4).addDays(random.between(0, 5400));
    const QString who = random.pick(Operators);
    const int at = random.between(8 * 3600, 19 * 3600);
    insert.text(deactivated ? u"BA"_s : u"AC"_s).text(who).stamp(created, at).text(who).stamp(created, at);
    if (deactivated)
        insert.text(who).stamp(created.addDays(random.between(30, 900)), at);
    else
        insert.text(QString()).null();
}

void writeValue(BulkInsert &insert, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        insert.null();
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        insert.integer(value.toLongLong());
        break;
    case QMetaType::Double:
        insert.real(value.toDouble());
        break;
    case QMetaType::QDate:
        insert.date(value.toDate());
        break;
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        insert.stamp(stamp.date(), stamp.time().msecsSinceStartOfDay() / 1000);
        break;
    }
    default:
        insert.text(value.toString());
    }
}

} // namespace

ReferenceCatalogues::ReferenceCatalogues(suite::Connection &connection, quint64 seed)
    : m_connection(connection)
    , m_seed(seed)
{
}

const QStringList &ReferenceCatalogues::generatedTables()
{
    static const QStringList tables = {
        u"Activo_Fijo"_s, u"Activo_Fijo_Centro_Costo"_s, u"Activo_Fijo_Depreciacion"_s, u"Centro_Costo"_s,
        u"Equipo"_s, u"Vehiculo"_s, u"Bitacora"_s, u"Movimiento"_s, u"Campo_Adicional_Valor"_s,
        // Key counters are seeded from the generated keys when first asked for.
        u"Clave_Siguiente"_s};
    return tables;
}

QString ReferenceCatalogues::centreKey(int number)
{
    return padded(number, 6);
}

// Every table the demo fills, except those made here from scratch, so that
// configuration added to the demo later reaches large databases too. Stored
// procedures are the schema's own, different on each backend, and the demo
// is loaded on SQLite: they are left to the schema.
qint64 ReferenceCatalogues::copyDemo()
{
    auto demo = suite::Connection::open(u"sqlite::memory:"_s);
    suite::DemoData::load(*demo);
    const QSqlDatabase target = m_connection.database();
    qint64 copied = 0;
    for (const suite::TableDef &table : suite::Schema::tables()) {
        if (generatedTables().contains(table.name, Qt::CaseInsensitive)
            || table.name.compare(u"Procedimiento"_s, Qt::CaseInsensitive) == 0
            || SqlRun::count(target, table.name) > 0)
            continue;
        QStringList columns;
        for (const suite::ColumnDef &column : table.columns) {
            if (column.kind != suite::ColumnKind::Serial)
                columns.append(column.name);
        }
        const auto rows = demo->Execute(u"SELECT "_s + columns.join(u", "_s) + u" FROM "_s + table.name);
        BulkInsert insert(target, table.name, columns, 100);
        for (const QVector<QVariant> &row : rows->rows()) {
            for (const QVariant &value : row)
                writeValue(insert, value);
            insert.endRow();
        }
        insert.flush();
        copied += insert.rows();
    }
    return copied;
}

int ReferenceCatalogues::nextNumber(const QString &table, const QString &keyColumn) const
{
    int highest = 0;
    for (const QStringList &row : SqlRun::texts(m_connection.database(), u"SELECT "_s + keyColumn + u" FROM "_s + table))
        highest = std::max(highest, row.at(0).toInt());
    return highest + 1;
}

QString ReferenceCatalogues::variable(const QString &name) const
{
    return SqlRun::scalar(m_connection.database(),
                          u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '"_s + name + u"'"_s)
        .toString();
}

qint64 ReferenceCatalogues::extendCatalogues()
{
    const QSqlDatabase db = m_connection.database();
    qint64 added = 0;
    // Rows numbered on from the demo's highest key up to `total` rows in all,
    // their own columns written by `fill`, then the audit columns.
    auto extend = [&](const QString &table, const QString &keyColumn, int width, int total, Stream stream,
                      const QStringList &columns, const std::function<void(BulkInsert &, SeededRandom &, int)> &fill) {
        const int first = nextNumber(table, keyColumn);
        const int present = int(SqlRun::count(db, table));
        BulkInsert insert(db, table, QStringList{keyColumn} + columns + AuditColumns);
        for (int number = first; number < first + total - present; ++number) {
            SeededRandom random(m_seed, stream, quint64(number));
            insert.text(padded(number, width));
            fill(insert, random, number);
            audit(insert, random, random.chance(0.02));
            insert.endRow();
        }
        insert.flush();
        added += insert.rows();
    };

    static const QStringList companyWords = {u"Grupo Industrial"_s, u"Manufacturas"_s, u"Distribuidora"_s,
                                             u"Servicios Integrales"_s, u"Transportes"_s, u"Comercial"_s};
    extend(u"Empresa"_s, u"Em_Cve_Empresa"_s, 4, CompanyCount, Companies, {u"Em_Descripcion"_s},
           [](BulkInsert &row, SeededRandom &random, int number) {
               row.text(random.pick(companyWords) + u' ' + Cities.at(number % Cities.size()));
           });
    static const QStringList sites = {u"Oficinas"_s, u"Planta"_s, u"Almacén"_s, u"Sucursal"_s, u"Bodega"_s,
                                      u"Centro de distribución"_s, u"Taller"_s};
    extend(u"Activo_Fijo_Ubicacion"_s, u"Au_Cve_Ubicacion"_s, 4, LocationCount, Locations, {u"Au_Descripcion"_s},
           [](BulkInsert &row, SeededRandom &random, int number) {
               row.text(u"%1 %2 %3"_s.arg(random.pick(sites), random.pick(Cities)).arg(number));
           });
    static const QStringList names = {
        u"María Fernanda"_s, u"José Luis"_s, u"Ana Sofía"_s, u"Carlos Eduardo"_s, u"Laura Patricia"_s,
        u"Jorge Alberto"_s, u"Gabriela"_s, u"Ricardo"_s, u"Daniela"_s, u"Miguel Ángel"_s, u"Verónica"_s,
        u"Francisco Javier"_s, u"Alejandra"_s, u"Juan Carlos"_s, u"Mónica"_s, u"Roberto"_s, u"Claudia"_s,
        u"Héctor"_s, u"Adriana"_s, u"Fernando"_s, u"Patricia"_s, u"Sergio"_s, u"Leticia"_s, u"Raúl"_s,
        u"Silvia"_s, u"Arturo"_s, u"Lucía"_s, u"Eduardo"_s, u"Norma"_s, u"Óscar"_s};
    static const QStringList surnames = {
        u"López"_s, u"Martínez"_s, u"Hernández"_s, u"Ramírez"_s, u"González"_s, u"Sánchez"_s, u"Torres"_s,
        u"Flores"_s, u"Garza"_s, u"Treviño"_s, u"Villarreal"_s, u"Cantú"_s, u"Salinas"_s, u"Elizondo"_s,
        u"Ayala"_s, u"Rodríguez"_s, u"Pérez"_s, u"García"_s, u"Díaz"_s, u"Morales"_s, u"Reyes"_s,
        u"Gutiérrez"_s, u"Cruz"_s, u"Ortiz"_s, u"Chávez"_s, u"Ruiz"_s, u"Mendoza"_s, u"Aguilar"_s,
        u"Castillo"_s, u"Jiménez"_s, u"Vázquez"_s, u"Romero"_s, u"Herrera"_s, u"Medina"_s, u"de la Garza"_s};
    extend(u"Empleado"_s, u"Em_Cve_Empleado"_s, 5, EmployeeCount, Employees,
           {u"Em_Nombre"_s, u"Em_Apellido_Paterno"_s, u"Em_Apellido_Materno"_s},
           [](BulkInsert &row, SeededRandom &random, int) {
               row.text(random.pick(names)).text(random.pick(surnames)).text(random.pick(surnames));
           });
    static const QStringList businesses = {
        u"Constructora"_s, u"Distribuidora"_s, u"Comercializadora"_s, u"Servicios"_s, u"Transportes"_s,
        u"Hospital"_s, u"Colegio"_s, u"Farmacias"_s, u"Aceros"_s, u"Alimentos"_s, u"Maquinados"_s, u"Textiles"_s};
    static const QStringList forms = {u"S.A. de C.V."_s, u"S. de R.L. de C.V."_s, u"S.C."_s, u"A.C."_s};
    auto business = [](BulkInsert &row, SeededRandom &random, int) {
        const QString name = random.chance(0.5) ? random.pick(Cities) : random.pick(surnames);
        row.text(u"%1 %2, %3"_s.arg(random.pick(businesses), name, random.pick(forms)));
    };
    extend(u"Cliente"_s, u"Cl_Cve_Cliente"_s, 6, ClientCount, Clients, {u"Cl_Descripcion"_s}, business);
    extend(u"Proveedor"_s, u"Pv_Cve_Proveedor"_s, 6, SupplierCount, Suppliers, {u"Pv_Descripcion"_s}, business);
    static const QStringList works = {u"Ampliación de"_s, u"Renovación de"_s, u"Modernización de"_s,
                                      u"Apertura de"_s, u"Reubicación de"_s, u"Mantenimiento de"_s};
    static const QStringList places = {u"planta"_s, u"sucursal"_s, u"almacén"_s, u"oficinas"_s,
                                       u"centro de distribución"_s};
    extend(u"Proyecto"_s, u"Py_Cve_Proyecto"_s, 10, ProjectCount, Projects, {u"Py_Descripcion"_s},
           [](BulkInsert &row, SeededRandom &random, int) {
               row.text(u"%1 %2 %3 %4"_s.arg(random.pick(works), random.pick(places), random.pick(Cities))
                            .arg(random.between(2015, 2025)));
           });
    return added;
}

qint64 ReferenceCatalogues::makeCostCentres(int count)
{
    if (count < 2 * SummaryEvery || count > 999999)
        throw suite::SuiteError(u"Cost centres must number between %1 and 999999"_s.arg(2 * SummaryEvery));
    // The screen's default centre must stay one an asset can be charged to.
    bool defaultFits = false;
    const int defaultCentre = variable(u"AF_CENTRO_COSTO_DEFAULT"_s).toInt(&defaultFits);
    defaultFits = defaultFits && defaultCentre >= 1 && defaultCentre <= count && defaultCentre % SummaryEvery != 0;
    const int keptActive = defaultFits ? defaultCentre : 1;

    const QSqlDatabase db = m_connection.database();
    BulkInsert insert(db, u"Centro_Costo"_s,
                      QStringList{u"Cc_Cve_Centro_Costo"_s, u"Cc_Descripcion"_s, u"Cc_Acumula"_s} + AuditColumns);
    for (int number = 1; number <= count; ++number) {
        SeededRandom random(m_seed, Centres, quint64(number));
        const int block = number / SummaryEvery; // the summary centre's ordinal
        insert.text(centreKey(number));
        if (number % SummaryEvery == 0 && (block - 1) % DepartmentsPerDivision == 0) {
            const int division = (block - 1) / DepartmentsPerDivision;
            insert.text(u"Dirección %1 %2"_s.arg(Regions.at(division % Regions.size())).arg(division + 1))
                .text(QString());
            audit(insert, random, false);
        } else if (number % SummaryEvery == 0) {
            const int division = ((block - 1) / DepartmentsPerDivision * DepartmentsPerDivision + 1) * SummaryEvery;
            insert.text(u"%1 %2 %3"_s.arg(Areas.at(block % Areas.size()), Cities.at(block % Cities.size()))
                            .arg(block))
                .text(centreKey(division));
            audit(insert, random, false);
        } else {
            const int department = std::max(1, block) * SummaryEvery;
            insert.text(u"%1 %2 - %3 %4"_s.arg(random.pick(Areas), random.pick(Cities),
                                               random.chance(0.5) ? u"Sucursal"_s : u"Área"_s)
                            .arg(number))
                .text(centreKey(department));
            audit(insert, random, number != keptActive && random.chance(0.015));
        }
        insert.endRow();
    }
    insert.flush();
    if (!defaultFits) {
        SqlRun::exec(db, u"UPDATE Variable SET Va_Valor = '"_s + centreKey(1)
                             + u"' WHERE Va_Cve_Variable = 'AF_CENTRO_COSTO_DEFAULT'"_s);
    }
    return insert.rows();
}

References ReferenceCatalogues::references() const
{
    const QSqlDatabase db = m_connection.database();
    auto active = [&db](const QString &table, const QString &keyColumn) {
        QStringList keys;
        for (const QStringList &row : SqlRun::texts(db, u"SELECT "_s + keyColumn + u" FROM "_s + table
                                                            + u" WHERE Es_Cve_Estado <> 'BA' ORDER BY 1"_s))
            keys.append(row.at(0));
        if (keys.isEmpty())
            throw suite::SuiteError(u"The catalogue %1 has no active row to give assets"_s.arg(table));
        return keys;
    };

    References refs;
    for (const QStringList &row : SqlRun::texts(db, u"SELECT Em_Cve_Empresa, Em_Descripcion FROM Empresa "
                                                     "WHERE Es_Cve_Estado <> 'BA' ORDER BY 1"_s)) {
        refs.companies.append(row.at(0));
        refs.companyNames.append(row.at(1));
    }
    refs.locations = active(u"Activo_Fijo_Ubicacion"_s, u"Au_Cve_Ubicacion"_s);
    refs.employees = active(u"Empleado"_s, u"Em_Cve_Empleado"_s);
    refs.clients = active(u"Cliente"_s, u"Cl_Cve_Cliente"_s);
    refs.projects = active(u"Proyecto"_s, u"Py_Cve_Proyecto"_s);
    refs.units = active(u"Unidad_Estrategica_Negocio"_s, u"Uen_Cve_Unidad_Estrategica_Negocio"_s);
    refs.suppliers = active(u"Proveedor"_s, u"Pv_Cve_Proveedor"_s);

    // Postable: active and nobody accumulates into it. Worked out here, as
    // the index on Cc_Acumula is only built once the catalogue is complete.
    const auto centres = SqlRun::texts(db, u"SELECT Cc_Cve_Centro_Costo, Cc_Acumula, Es_Cve_Estado FROM Centro_Costo"_s);
    QSet<QString> summaries;
    for (const QStringList &row : centres)
        summaries.insert(row.at(1));
    for (const QStringList &row : centres) {
        if (row.at(2) != u"BA"_s && !summaries.contains(row.at(0)))
            refs.postableCentres.append(row.at(0).toInt());
    }
    std::sort(refs.postableCentres.begin(), refs.postableCentres.end());
    if (refs.postableCentres.size() < 10)
        throw suite::SuiteError(u"Fewer than ten postable cost centres: an asset spreads over up to ten"_s);

    refs.equipmentType = variable(u"CAT_TIPO_EQUIPO_DEFAULT"_s);
    refs.equipmentLocation = variable(u"CAT_UBICACION_EQUIPO_DEFAULT"_s);
    refs.equipmentBrand = variable(u"CAT_MARCA_EQUIPO_DEFAULT"_s);
    for (const QStringList &row : SqlRun::texts(db, u"SELECT Ca_Campo FROM Campo_Adicional WHERE Ca_Tabla = "
                                                     "'Activo_Fijo' ORDER BY Ca_Orden"_s))
        refs.extraFields.append(row.at(0));

    const auto types = SqlRun::texts(db, u"SELECT Ta_Cve_Tipo_Activo_Fijo, Ta_Equipo, Ta_Tipo_Vehiculo "
                                          "FROM Tipo_Activo_Fijo WHERE Es_Cve_Estado <> 'BA'"_s);
    for (AssetKind kind : AssetKinds::declared()) {
        const auto found = std::find_if(types.begin(), types.end(),
                                        [&kind](const QStringList &row) { return row.at(0) == kind.type; });
        if (found == types.end())
            throw suite::SuiteError(u"The asset type catalogue has no active type %1"_s.arg(kind.type));
        kind.equipment = found->at(1) == u"SI"_s;
        kind.vehicleType = found->at(2);
        refs.kinds.append(kind);
    }
    return refs;
}

} // namespace bench
