#include "assets/AssetModel.h"
#include "assets/ScreenCodes.h"

#include "suite/data/SuiteError.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

using F = ValueForm;
using L = LoadAs;

// One row per column:        name, field, tab, insert form, on update, max length, load step, load as.
QVector<AssetColumn> declareAssetColumns()
{
    return {
        {u"Af_Cve_Activo_Fijo"_s, u"txt_Af_Cve_Activo_Fijo"_s, General, F::Text, false, 0, 0, L::Nothing},
        {u"Af_Descripcion"_s, u"txt_Af_Descripcion"_s, General, F::Text, true, 50, 1, L::Text},
        {u"Ta_Cve_Tipo_Activo_Fijo"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s, General, F::Text, true, 0, 2, L::Text},
        {u"Em_Cve_Empresa"_s, u"txtEmpresa"_s, General, F::Text, true, 4, 3, L::Text},
        {u"Au_Cve_Ubicacion"_s, u"txt_Au_Cve_Ubicacion"_s, General, F::Text, true, 0, 4, L::Valor},
        {u"Af_Tabla"_s, {}, -1, F::Empty, false, 0, 0, L::Nothing},
        {u"Af_Documento"_s, {}, -1, F::Empty, false, 0, 0, L::Nothing},
        {u"Af_Centro_Costo"_s, u"txtCentroCosto"_s, Contables, F::Text, true, 6, 5, L::Valor},
        {u"Af_Proyecto"_s, u"txtProyecto"_s, Contables, F::Text, true, 15, 6, L::Valor},
        {u"Af_UEN"_s, u"txtUen"_s, Contables, F::Text, true, 6, 7, L::Valor},
        {u"Af_Cuenta_Contable"_s, u"txtCuentaContable"_s, Contables, F::Text, true, 30, 12, L::Valor},
        {u"Af_Cuenta_Contable_1"_s, u"txtCuentaContable1"_s, Contables, F::Text, true, 30, 13, L::Valor},
        {u"Af_Cuenta_Contable_2"_s, u"txtCuentaContable2"_s, Contables, F::Text, true, 30, 14, L::Valor},
        {u"Af_Cuenta_Contable_3"_s, u"txtCuentaContable3"_s, Contables, F::Text, true, 30, 15, L::Valor},
        {u"Af_Costo_Original"_s, u"txt_Costo_Original"_s, Depreciacion, F::Number, true, 0, 8, L::Valor},
        {u"Af_Proveedor"_s, u"txt_Pv_Cve_Proveedor"_s, Depreciacion, F::Text, true, 10, 16, L::Valor},
        {u"Af_Factura"_s, u"txt_Referencia"_s, Depreciacion, F::Text, true, 10, 17, L::Valor},
        {u"Af_Fecha_Compra"_s, u"dpFechaCompra"_s, Depreciacion, F::Date, true, 0, 18, L::Date},
        {u"Af_Numero_Serie"_s, u"txtNSerie"_s, General, F::Text, true, 30, 19, L::Valor},
        {u"Af_Numero_Economico"_s, u"txtNEconomico"_s, General, F::Text, true, 30, 20, L::Valor},
        {u"Af_Marca"_s, u"txtMarca"_s, General, F::Text, true, 30, 21, L::Text},
        {u"Af_Modelo"_s, u"txtModelo"_s, General, F::Text, true, 30, 22, L::Text},
        // The option buttons decide the code; the key comes from the box of the chosen kind.
        {u"Af_Tipo_Responsable"_s, u"opEmpleado"_s, General, F::Code, true, 0, 23, L::Special},
        {u"Af_Responsable"_s, {}, General, F::Text, true, 0, 23, L::Special},
        {u"Af_Calificacion"_s, u"txtCalificacion"_s, General, F::Text, true, 30, 24, L::Text},
        {u"Af_UserDef_1"_s, u"txtUser1"_s, DatosUsuario, F::Text, true, 50, 26, L::Valor},
        {u"Af_UserDef_2"_s, u"txtUser2"_s, DatosUsuario, F::Text, true, 50, 27, L::Valor},
        {u"Af_UserDef_3"_s, u"txtUser3"_s, DatosUsuario, F::Number, true, 0, 28, L::Valor},
        {u"Af_UserDef_4"_s, u"txtUser4"_s, DatosUsuario, F::Number, true, 0, 29, L::Valor},
        {u"Af_UserDef_5"_s, u"dpUser5"_s, DatosUsuario, F::Date, true, 0, 30, L::Date},
        {u"Af_UserDef_6"_s, u"dpUser6"_s, DatosUsuario, F::Date, true, 0, 31, L::Date},
        {u"Oper_Alta"_s, {}, -1, F::Operator, false, 0, 0, L::Nothing},
        {u"Fecha_Alta"_s, {}, -1, F::Stamp, false, 0, 0, L::Nothing},
        {u"Oper_Ult_Modif"_s, {}, -1, F::Operator, true, 0, 0, L::Nothing},
        {u"Fecha_Ult_Modif"_s, {}, -1, F::Stamp, true, 0, 0, L::Nothing},
        {u"Af_Vida_Util"_s, u"txtVidaUtil"_s, General, F::Integer, true, 6, 25, L::Valor},

        // Never written by the save.
        {u"Es_Cve_Estado"_s, {}, -1, F::None, false, 0, 32, L::Special},
        {u"Oper_Baja"_s, {}, -1, F::None, false, 0, 0, L::Nothing},
        {u"Fecha_Baja"_s, {}, -1, F::None, false, 0, 0, L::Nothing},
        {u"Af_Depreciacion_Acumulada_Contable"_s, u"txtDepreciacionContableFactor"_s, Depreciacion, F::None, false,
         0, 9, L::Special},
        {u"Af_Depreciacion_Acumulada_Fiscal"_s, u"txtDepreciacionFiscalFactor"_s, Depreciacion, F::None, false, 0,
         10, L::Special},
        {u"Af_Ultima_Depreciacion"_s, u"txtFechaUltimaDepreciacion"_s, Depreciacion, F::None, false, 0, 11,
         L::Special},
        // Counted by the database on every write of the row (ShownAsset).
        {u"Af_Version"_s, {}, -1, F::None, false, 0, 0, L::Nothing},
    };
}

QVector<AssetColumn> declareDistributionColumns()
{
    return {
        {u"Af_Cve_Activo_Fijo"_s, u"txt_Af_Cve_Activo_Fijo"_s, General, F::Text, false, 0, 0, L::Nothing},
        {u"Cc_Cve_Centro_Costo"_s, u"ssDetalle"_s, Contables, F::Text, false, 6, 0, L::Nothing},
        {u"Acc_Porcentaje"_s, u"ssDetalle"_s, Contables, F::Number, false, 0, 0, L::Nothing},
    };
}

} // namespace

const QVector<AssetColumn> &AssetModel::assetColumns()
{
    static const QVector<AssetColumn> columns = declareAssetColumns();
    return columns;
}

const QVector<AssetColumn> &AssetModel::distributionColumns()
{
    static const QVector<AssetColumn> columns = declareDistributionColumns();
    return columns;
}

const AssetColumn &AssetModel::column(const QString &name)
{
    for (const AssetColumn &c : assetColumns()) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    throw suite::SuiteError(u"El modelo del activo fijo no tiene la columna %1"_s.arg(name));
}

QVector<const AssetColumn *> AssetModel::insertColumns()
{
    QVector<const AssetColumn *> out;
    for (const AssetColumn &c : assetColumns()) {
        if (c.insert != ValueForm::None)
            out.append(&c);
    }
    return out;
}

QVector<const AssetColumn *> AssetModel::updateColumns()
{
    QVector<const AssetColumn *> out;
    for (const AssetColumn &c : assetColumns()) {
        if (c.onUpdate)
            out.append(&c);
    }
    return out;
}

QVector<const AssetColumn *> AssetModel::loadPhase(LoadPhase phase)
{
    // Each phase's places in the load's sequence (AssetColumn::loadOrder).
    int first = 24;
    int last = 31;
    if (phase == LoadPhase::UpToCost) {
        first = 1;
        last = 8;
    } else if (phase == LoadPhase::Purchase) {
        first = 12;
        last = 22;
    }
    QVector<const AssetColumn *> out;
    for (const AssetColumn &c : assetColumns()) {
        if (c.loadOrder >= first && c.loadOrder <= last)
            out.append(&c);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const AssetColumn *a, const AssetColumn *b) { return a->loadOrder < b->loadOrder; });
    return out;
}

} // namespace xb733
