#include "suite/data/Schema.h"

// The database declared as data: its tables, indexes, version columns and
// search indexes. Schema.cpp makes them real on a connection.

using namespace Qt::StringLiterals;

namespace suite {

namespace {

using K = ColumnKind;

ColumnDef key(const QString &name, int size)
{
    return {name, K::Text, size, true, {}, true};
}

ColumnDef text(const QString &name, int size)
{
    return {name, K::Text, size, false, {}, false};
}

// A text that is never NULL: what the screen concatenates or compares.
ColumnDef text(const QString &name, int size, const QString &defaultValue)
{
    return {name, K::Text, size, true, defaultValue, false};
}

ColumnDef column(const QString &name, ColumnKind kind)
{
    return {name, kind, 0, false, {}, false};
}

ColumnDef column(const QString &name, ColumnKind kind, const QString &defaultValue)
{
    return {name, kind, 0, true, defaultValue, false};
}

// Serial and economic numbers: the suite's production engine compares
// texts without regard to case, so two that differ only in it are one.
ColumnDef caseBlind(ColumnDef column)
{
    column.caseBlind = true;
    return column;
}

ColumnDef serial(const QString &name)
{
    return {name, K::Serial, 0, true, {}, true};
}

// The state and audit columns every catalogue of the suite carries.
QVector<ColumnDef> catalogue(QVector<ColumnDef> columns)
{
    columns += {
        text(u"Es_Cve_Estado"_s, 2, u"'AC'"_s),
        text(u"Oper_Alta"_s, 30),
        column(u"Fecha_Alta"_s, K::Stamp),
        text(u"Oper_Ult_Modif"_s, 30),
        column(u"Fecha_Ult_Modif"_s, K::Stamp),
        text(u"Oper_Baja"_s, 30),
        column(u"Fecha_Baja"_s, K::Stamp),
    };
    return columns;
}

QVector<TableDef> declareTables()
{
    return {
        // The fixed asset: the 36 columns the screen saves, in the order of its
        // insert, then those it only reads or that deactivation writes.
        {u"Activo_Fijo"_s, {
            key(u"Af_Cve_Activo_Fijo"_s, 15),
            text(u"Af_Descripcion"_s, 50),
            text(u"Ta_Cve_Tipo_Activo_Fijo"_s, 10),
            text(u"Em_Cve_Empresa"_s, 4),
            text(u"Au_Cve_Ubicacion"_s, 10),
            text(u"Af_Tabla"_s, 30),
            text(u"Af_Documento"_s, 30),
            text(u"Af_Centro_Costo"_s, 6),
            text(u"Af_Proyecto"_s, 15),
            text(u"Af_UEN"_s, 6),
            text(u"Af_Cuenta_Contable"_s, 30),
            text(u"Af_Cuenta_Contable_1"_s, 30),
            text(u"Af_Cuenta_Contable_2"_s, 30),
            text(u"Af_Cuenta_Contable_3"_s, 30),
            column(u"Af_Costo_Original"_s, K::Money),
            text(u"Af_Proveedor"_s, 10),
            text(u"Af_Factura"_s, 10),
            column(u"Af_Fecha_Compra"_s, K::Date),
            caseBlind(text(u"Af_Numero_Serie"_s, 30)),
            caseBlind(text(u"Af_Numero_Economico"_s, 30)),
            text(u"Af_Marca"_s, 30),
            text(u"Af_Modelo"_s, 30),
            text(u"Af_Tipo_Responsable"_s, 2),
            text(u"Af_Responsable"_s, 15),
            text(u"Af_Calificacion"_s, 30),
            text(u"Af_UserDef_1"_s, 50),
            text(u"Af_UserDef_2"_s, 50),
            column(u"Af_UserDef_3"_s, K::Double),
            column(u"Af_UserDef_4"_s, K::Double),
            column(u"Af_UserDef_5"_s, K::Date),
            column(u"Af_UserDef_6"_s, K::Date),
            text(u"Oper_Alta"_s, 30),
            column(u"Fecha_Alta"_s, K::Stamp),
            text(u"Oper_Ult_Modif"_s, 30),
            column(u"Fecha_Ult_Modif"_s, K::Stamp),
            column(u"Af_Vida_Util"_s, K::Integer),
            text(u"Es_Cve_Estado"_s, 2, u"'AC'"_s),
            text(u"Oper_Baja"_s, 30),
            column(u"Fecha_Baja"_s, K::Stamp),
            column(u"Af_Depreciacion_Acumulada_Contable"_s, K::Money, u"0"_s),
            column(u"Af_Depreciacion_Acumulada_Fiscal"_s, K::Money, u"0"_s),
            column(u"Af_Ultima_Depreciacion"_s, K::Date),
            column(u"Af_Version"_s, K::Integer, u"0"_s),
        }},
        {u"Activo_Fijo_Centro_Costo"_s, {
            key(u"Af_Cve_Activo_Fijo"_s, 15),
            key(u"Cc_Cve_Centro_Costo"_s, 6),
            column(u"Acc_Porcentaje"_s, K::Percent, u"0"_s),
        }},
        {u"Activo_Fijo_Depreciacion"_s, {
            serial(u"Ad_Numero"_s),
            text(u"Af_Cve_Activo_Fijo"_s, 15, u"''"_s),
            text(u"Ad_Tipo"_s, 2, u"'CO'"_s),
            text(u"Es_Cve_Estado"_s, 2, u"'AC'"_s),
            column(u"Ad_Fecha"_s, K::Date),
            text(u"Ad_Centro_Costo"_s, 6),
            column(u"Ad_Importe"_s, K::Money, u"0"_s),
            text(u"Oper_Alta"_s, 30),
            column(u"Fecha_Alta"_s, K::Stamp),
        }},
        {u"Centro_Costo"_s, catalogue({
            key(u"Cc_Cve_Centro_Costo"_s, 6),
            text(u"Cc_Descripcion"_s, 60),
            text(u"Cc_Acumula"_s, 6, u"''"_s),
        })},
        {u"Tipo_Activo_Fijo"_s, catalogue({
            key(u"Ta_Cve_Tipo_Activo_Fijo"_s, 10),
            text(u"Ta_Descripcion"_s, 60),
            text(u"Ta_Equipo"_s, 2, u"'NO'"_s),
            text(u"Ta_Tipo_Vehiculo"_s, 10, u"''"_s),
        })},
        // Equipment and vehicles belong to other screens; these are the
        // columns the asset screen writes, plus their state.
        {u"Equipo"_s, catalogue({
            key(u"Eq_Cve_Equipo"_s, 15),
            text(u"Eq_Cliente"_s, 15),
            text(u"Eq_Activo_Fijo"_s, 15),
            text(u"Te_Cve_Tipo_Equipo"_s, 10),
            text(u"Ue_Cve_Ubicacion_Equipo"_s, 10),
            text(u"Mr_Cve_Marca"_s, 10),
            text(u"Eq_Serie"_s, 30),
            text(u"Eq_Numero_Economico"_s, 30),
            text(u"Eq_Modelo"_s, 30),
            text(u"Eq_Centro_Costo"_s, 6),
            text(u"Eq_UserDef_1"_s, 50),
            text(u"Eq_UserDef_2"_s, 50),
            column(u"Eq_UserDef_3"_s, K::Double),
            column(u"Eq_UserDef_4"_s, K::Double),
            column(u"Eq_UserDef_5"_s, K::Date),
            column(u"Eq_UserDef_6"_s, K::Date),
        })},
        {u"Vehiculo"_s, catalogue({
            key(u"Vh_Cve_Vehiculo"_s, 15),
            text(u"Vh_Descripcion"_s, 50),
            text(u"Vh_Sucursal"_s, 10),
            text(u"Vh_Tabla"_s, 30),
            text(u"Vh_Documento"_s, 30),
            text(u"Tv_Cve_Tipo_Vehiculo"_s, 10),
            text(u"Vh_Placas"_s, 15),
            column(u"Vh_Ejes"_s, K::Integer),
            text(u"Vh_Marca"_s, 10),
            text(u"Vh_Modelo"_s, 8),
            text(u"Vh_Num_Economico"_s, 30),
            text(u"Vh_Serie"_s, 30),
            text(u"Vh_Motor"_s, 30),
            column(u"Vh_Capacidad_M3"_s, K::Double),
            column(u"Vh_Capacidad_Peso"_s, K::Double),
            column(u"Vh_Porcentaje_Carga"_s, K::Double),
            text(u"Vh_Poliza_Seguro"_s, 30),
            text(u"Vh_Compania_Seguro"_s, 50),
            // Written as '' by the asset screen, so kept as texts.
            text(u"Vh_Inicio_Seguro"_s, 10),
            text(u"Vh_Fin_Seguro"_s, 10),
            text(u"Vh_Odometro"_s, 20),
            text(u"Af_Cve_Activo_Fijo"_s, 15),
        })},
        // The catalogues the generated records' default codes come from.
        {u"Tipo_Equipo"_s, catalogue({
            key(u"Te_Cve_Tipo_Equipo"_s, 10),
            text(u"Te_Descripcion"_s, 60),
        })},
        {u"Ubicacion_Equipo"_s, catalogue({
            key(u"Ue_Cve_Ubicacion_Equipo"_s, 10),
            text(u"Ue_Descripcion"_s, 60),
        })},
        {u"Marca"_s, catalogue({
            key(u"Mr_Cve_Marca"_s, 10),
            text(u"Mr_Descripcion"_s, 60),
        })},
        {u"Tipo_Vehiculo"_s, catalogue({
            key(u"Tv_Cve_Tipo_Vehiculo"_s, 10),
            text(u"Tv_Descripcion"_s, 60),
        })},
        {u"Etiqueta"_s, catalogue({
            key(u"Et_Cve_Etiqueta"_s, 10),
            text(u"Et_Descripcion"_s, 60),
            column(u"Et_Valor"_s, K::Memo),
            column(u"Et_Sentencia"_s, K::Memo),
            text(u"Et_Tipo"_s, 2, u"'01'"_s),
            // What the labels print on: no sheet is a roll, one label a page
            // (so older definitions stay rolls); a sheet's page holds rows ×
            // columns of them, from a starting position (LabelSheet).
            text(u"Et_Hoja"_s, 30, u"''"_s),
            column(u"Et_Filas"_s, K::Integer, u"0"_s),
            column(u"Et_Columnas"_s, K::Integer, u"0"_s),
            column(u"Et_Margen_Superior_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Margen_Inferior_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Margen_Izquierdo_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Margen_Derecho_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Separacion_Columnas_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Separacion_Filas_Mm"_s, K::Double, u"0"_s),
            column(u"Et_Posicion_Inicial"_s, K::Integer, u"1"_s),
        })},
        {u"Empresa"_s, catalogue({
            key(u"Em_Cve_Empresa"_s, 4),
            text(u"Em_Descripcion"_s, 60),
        })},
        {u"Activo_Fijo_Ubicacion"_s, catalogue({
            key(u"Au_Cve_Ubicacion"_s, 10),
            text(u"Au_Descripcion"_s, 60),
        })},
        {u"Empleado"_s, catalogue({
            key(u"Em_Cve_Empleado"_s, 10),
            text(u"Em_Nombre"_s, 40, u"''"_s),
            text(u"Em_Apellido_Paterno"_s, 40, u"''"_s),
            text(u"Em_Apellido_Materno"_s, 40, u"''"_s),
        })},
        {u"Cliente"_s, catalogue({
            key(u"Cl_Cve_Cliente"_s, 10),
            text(u"Cl_Descripcion"_s, 60),
        })},
        {u"Proyecto"_s, catalogue({
            key(u"Py_Cve_Proyecto"_s, 15),
            text(u"Py_Descripcion"_s, 60),
        })},
        {u"Unidad_Estrategica_Negocio"_s, catalogue({
            key(u"Uen_Cve_Unidad_Estrategica_Negocio"_s, 6),
            text(u"Uen_Descripcion"_s, 60),
        })},
        {u"Cuenta_Contable"_s, catalogue({
            key(u"Cc_Cve_Cuenta_Contable"_s, 30),
            text(u"Cc_Descripcion"_s, 60),
            text(u"Cc_Cuenta_Padre"_s, 30, u"''"_s),
        })},
        {u"Proveedor"_s, catalogue({
            key(u"Pv_Cve_Proveedor"_s, 10),
            text(u"Pv_Descripcion"_s, 60),
        })},

        // The suite's own tables.
        {u"Variable"_s, {
            key(u"Va_Cve_Variable"_s, 60),
            text(u"Va_Valor"_s, 255),
            text(u"Va_Descripcion"_s, 120),
        }},
        {u"Opcion_Usuario"_s, {
            key(u"Us_Cve_Usuario"_s, 30),
            key(u"Op_Componente"_s, 30),
            key(u"Op_Cve_Opcion"_s, 30),
            text(u"Op_Valor"_s, 255),
        }},
        {u"Bitacora"_s, {
            serial(u"Bi_Numero"_s),
            text(u"Bi_Tabla"_s, 60, u"''"_s),
            text(u"Bi_Clave"_s, 60, u"''"_s),
            column(u"Bi_Texto"_s, K::Memo),
            text(u"Bi_Operador"_s, 30),
            column(u"Bi_Fecha"_s, K::Stamp),
        }},
        {u"Movimiento"_s, {
            serial(u"Mo_Numero"_s),
            text(u"Mo_Entidad"_s, 60, u"''"_s),
            text(u"Mo_Clave"_s, 60, u"''"_s),
            text(u"Mo_Accion"_s, 60, u"''"_s),
            text(u"Mo_Operador"_s, 30),
            column(u"Mo_Fecha"_s, K::Stamp),
        }},
        // Every change a command made to a record, one row per value that
        // changed: what (a column, or a part of the record), from what to
        // what, by whom, when and by which command. NULL is no value.
        {u"Historial"_s, {
            serial(u"Hi_Numero"_s),
            text(u"Hi_Entidad"_s, 60, u"''"_s),
            text(u"Hi_Clave"_s, 60, u"''"_s),
            column(u"Hi_Fecha"_s, K::Stamp),
            text(u"Hi_Operador"_s, 30),
            text(u"Hi_Orden"_s, 30, u"''"_s),
            text(u"Hi_Campo"_s, 120, u"''"_s),
            column(u"Hi_Valor_Anterior"_s, K::Memo),
            column(u"Hi_Valor_Nuevo"_s, K::Memo),
        }},
        {u"Consulta"_s, {
            key(u"Co_Cve_Consulta"_s, 60),
            text(u"Co_Titulo"_s, 100),
            column(u"Co_Sentencia"_s, K::Memo),
        }},
        {u"Configuracion"_s, {
            key(u"Cf_Sistema"_s, 60),
            key(u"Cf_Clave"_s, 120),
            text(u"Cf_Valor"_s, 255),
        }},
        {u"Clave_Siguiente"_s, {
            key(u"Cs_Tabla"_s, 60),
            text(u"Cs_Campo"_s, 60, u"''"_s),
            column(u"Cs_Ultima"_s, K::Integer, u"0"_s),
        }},
        {u"Campo_Adicional"_s, {
            key(u"Ca_Tabla"_s, 60),
            key(u"Ca_Campo"_s, 60),
            text(u"Ca_Titulo"_s, 100),
            column(u"Ca_Orden"_s, K::Integer, u"0"_s),
        }},
        {u"Campo_Adicional_Valor"_s, {
            key(u"Ca_Tabla"_s, 60),
            key(u"Ca_Clave"_s, 60),
            key(u"Ca_Campo"_s, 60),
            text(u"Ca_Valor"_s, 255),
        }},
        {u"Procedimiento"_s, {
            key(u"Pr_Nombre"_s, 60),
            column(u"Pr_Sentencia"_s, K::Memo),
        }},
        {u"Formato_Impresion"_s, {
            key(u"Fi_Cve_Formato"_s, 60),
            text(u"Fi_Titulo"_s, 100),
            column(u"Fi_Plantilla"_s, K::Memo),
            column(u"Fi_Sentencia"_s, K::Memo),
            // The page the format prints on, and its margin on every side.
            text(u"Fi_Pagina"_s, 30, u"'Letter'"_s),
            column(u"Fi_Margen_Mm"_s, K::Double, u"20"_s),
        }},
    };
}

// Every look-up the screen makes stays an index search at a million assets.
// Distribution rows by asset are served by their primary key's first column.
// Serial and economic numbers are unique: two users saving the same number
// at once both pass the screen's look-up, so the database refuses the second.
QVector<IndexDef> declareIndexes()
{
    return {
        {u"UX_Activo_Fijo_Serie_Caso"_s, u"Activo_Fijo"_s, {u"Af_Numero_Serie"_s}, true},
        {u"UX_Activo_Fijo_Economico_Caso"_s, u"Activo_Fijo"_s, {u"Af_Numero_Economico"_s}, true},
        // A book's postings of one asset: what loading a record lists.
        {u"IX_Activo_Fijo_Depreciacion"_s, u"Activo_Fijo_Depreciacion"_s,
         {u"Af_Cve_Activo_Fijo"_s, u"Ad_Tipo"_s}, false},
        {u"IX_Equipo_Activo_Fijo"_s, u"Equipo"_s, {u"Eq_Activo_Fijo"_s}, false},
        {u"IX_Vehiculo_Activo_Fijo"_s, u"Vehiculo"_s, {u"Af_Cve_Activo_Fijo"_s}, false},
        {u"IX_Centro_Costo_Acumula"_s, u"Centro_Costo"_s, {u"Cc_Acumula"_s}, false},
        {u"IX_Cuenta_Contable_Padre"_s, u"Cuenta_Contable"_s, {u"Cc_Cuenta_Padre"_s}, false},
        {u"IX_Bitacora_Clave"_s, u"Bitacora"_s, {u"Bi_Tabla"_s, u"Bi_Clave"_s}, false},
        {u"IX_Movimiento_Clave"_s, u"Movimiento"_s, {u"Mo_Entidad"_s, u"Mo_Clave"_s}, false},
        // A record's history, newest first, read a page at a time.
        {u"IX_Historial_Clave"_s, u"Historial"_s, {u"Hi_Entidad"_s, u"Hi_Clave"_s, u"Hi_Fecha"_s, u"Hi_Numero"_s}, false},
    };
}

// Two users may show one asset and then both write it: its version tells the
// second that the row changed since it was shown.
QVector<VersionDef> declareVersions()
{
    return {{u"Activo_Fijo"_s, u"Af_Version"_s}};
}

// The catalogues that grow with the company and that a search dialog filters
// by key and description, with the description as their searches show it.
QVector<SearchIndexDef> declareSearchIndexes()
{
    return {
        {u"BX_Activo_Fijo"_s, u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s, u"Af_Descripcion"_s},
        {u"BX_Centro_Costo"_s, u"Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s, u"Cc_Descripcion"_s},
        {u"BX_Empleado"_s, u"Empleado"_s, u"Em_Cve_Empleado"_s,
         u"Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno"_s},
        {u"BX_Cliente"_s, u"Cliente"_s, u"Cl_Cve_Cliente"_s, u"Cl_Descripcion"_s},
        {u"BX_Proveedor"_s, u"Proveedor"_s, u"Pv_Cve_Proveedor"_s, u"Pv_Descripcion"_s},
        {u"BX_Proyecto"_s, u"Proyecto"_s, u"Py_Cve_Proyecto"_s, u"Py_Descripcion"_s},
    };
}

} // namespace

const QVector<TableDef> &Schema::tables()
{
    static const QVector<TableDef> tables = declareTables();
    return tables;
}

const QVector<IndexDef> &Schema::indexes()
{
    static const QVector<IndexDef> indexes = declareIndexes();
    return indexes;
}

const QVector<VersionDef> &Schema::versions()
{
    static const QVector<VersionDef> versions = declareVersions();
    return versions;
}

const QVector<SearchIndexDef> &Schema::searchIndexes()
{
    static const QVector<SearchIndexDef> indexes = declareSearchIndexes();
    return indexes;
}

QStringList Schema::writtenColumns(const QString &tableName)
{
    const TableDef *declared = table(tableName);
    if (!declared)
        return {};
    QString version;
    for (const VersionDef &v : versions()) {
        if (v.table.compare(declared->name, Qt::CaseInsensitive) == 0)
            version = v.column;
    }
    QStringList names;
    for (const ColumnDef &c : declared->columns) {
        if (c.kind != ColumnKind::Serial && c.name.compare(version, Qt::CaseInsensitive) != 0)
            names.append(c.name);
    }
    return names;
}

} // namespace suite
