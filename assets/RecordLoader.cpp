#include "assets/RecordLoader.h"

#include "assets/AssetModel.h"
#include "assets/AssetScreen.h"
#include "assets/DepreciationHistory.h"
#include "assets/DistributionGrid.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "suite/kit/FormControls.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/AdditionalFields.h"
#include "suite/services/Utilerias.h"

#include <QDate>
#include <QWidget>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"txtClave_Enter()"_s;
const QString FailureId = u"ERR-ID:7500049"_s;
// "Dado de baja", beside the key.
const QString StateMark = u"lbEstado"_s;

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

RecordLoader::RecordLoader(const AssetScreen &screen, DepreciationHistory &history, DistributionGrid &grid)
    : m_screen(screen)
    , m_history(history)
    , m_grid(grid)
{
}

void RecordLoader::keyChanged()
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setClave(QString());
    // The deactivation mark belongs to the key it was shown for.
    m_screen.control(StateMark).setVisible(false);
    if (toolbar.editando())
        return;
    m_screen.utilerias().LimpiaControles(&m_screen.form(), FieldsGroup);
    m_screen.utilerias().LimpiaControles(&m_screen.form(), GridGroup);
    toolbar.setModificarenabled(false);
    toolbar.setEliminarenabled(false);
    toolbar.setInformacionenabled(false);
    toolbar.setReactivarenabled(false);
    m_history.clear();
    m_screen.box(u"txt_Af_Descripcion"_s).setValor(QString());
    toolbar.setB1caption(QString());
    toolbar.setB2caption(QString());
    toolbar.setB3caption(QString());
    toolbar.clearAdditionalFields();
}

void RecordLoader::keyEntered()
{
    try {
        load();
    } catch (const std::exception &e) {
        // What could not be read must not be written back: the record's
        // writing commands wait for a load that reads it whole.
        withdrawWriting();
        m_screen.fail(e, Routine, FailureId);
    }
}

void RecordLoader::withdrawWriting()
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setModificarenabled(false);
    toolbar.setEliminarenabled(false);
    toolbar.setReactivarenabled(false);
    toolbar.setB1caption(QString());
    toolbar.setB2caption(QString());
    toolbar.setB3caption(QString());
}

void RecordLoader::loadAdditionalFields(const QString &key)
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.clearAdditionalFields();
    const QString table = toolbar.opcTable();
    if (table.isEmpty()) {
        toolbar.setAdditionalFields({}, {});
        return;
    }
    const suite::AdditionalFields fields(m_screen.connection());
    const suite::AdditionalFields::Definitions definitions = fields.definitions(table);
    toolbar.setAdditionalFields(definitions, fields.values(table, key));
}

void RecordLoader::load()
{
    suite::txtKIT &key = m_screen.keyBox();
    const suite::RecordsetPtr asset = m_screen.execute(u"SELECT * FROM Activo_Fijo "_s
                                                       + u"WHERE Af_Cve_Activo_Fijo = '"_s
                                                       + SqlLiteral::inner(key.valor().toString()) + u"'"_s);
    if (asset->Eof()) {
        asset->Close();
        return;
    }
    m_screen.shown().remember(*asset);

    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setB1caption(QString());
    toolbar.setB2caption(QString());
    toolbar.setB3caption(QString());
    loadAdditionalFields(key.text());

    lookups(true);
    fill(*asset, LoadPhase::UpToCost);
    const QString type = m_screen.text(u"txt_Ta_Cve_Tipo_ActivoFijo"_s);
    suite::Utilerias &utilerias = m_screen.utilerias();
    const QString equipment = utilerias.BuscaValor(u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s, type,
                                                   u"Ta_Equipo"_s, 0, QString(), QString(), QString());
    const QString vehicleType = utilerias.BuscaValor(u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s, type,
                                                     u"Ta_Tipo_Vehiculo"_s, 0, QString(), QString(), QString());
    showFactors(*asset);
    showLastDepreciation(*asset);
    fill(*asset, LoadPhase::Purchase);
    showResponsible(*asset);
    fill(*asset, LoadPhase::AfterResponsible);
    lookups(false);
    offerCommands(*asset, equipment, vehicleType);
    toolbar.setClave(key.text());
    asset->Close();

    m_history.fill(key.text());
    m_grid.fill(key.valor().toString());
}

// A description that could not be read is a failed load like any other.
// Before the fields are filled, one that failed earlier is asked again (its
// key may not change, so nothing else would ask); after, none may have failed.
void RecordLoader::lookups(bool askFailedAgain) const
{
    const QStringList names = m_screen.controls().names();
    for (const QString &name : names) {
        auto *box = m_screen.controls().as<suite::txtKIT>(name);
        if (!box || box->lookupError().isEmpty())
            continue;
        if (askFailedAgain)
            box->buscaDescripcion();
        else
            throw suite::SuiteError(box->lookupError());
    }
}

void RecordLoader::fill(const suite::Recordset &asset, LoadPhase phase)
{
    const auto columns = AssetModel::loadPhase(phase);
    for (const AssetColumn *column : columns) {
        const QVariant value = asset.Fields(column->name);
        switch (column->load) {
        case LoadAs::Text:
            // Through valor, so that a NULL left alone is written back as NULL.
            m_screen.box(column->control).setValor(value);
            break;
        case LoadAs::Valor:
            m_screen.box(column->control).setValor(value);
            break;
        case LoadAs::Date:
            m_screen.controls().require<suite::dpFecha>(column->control)->setKitDate(value.toDate());
            break;
        case LoadAs::Special:
        case LoadAs::Nothing:
            break;
        }
    }
}

void RecordLoader::showFactors(const suite::Recordset &asset)
{
    suite::txtKIT &accounting = m_screen.box(u"txtDepreciacionContableFactor"_s);
    suite::txtKIT &tax = m_screen.box(u"txtDepreciacionFiscalFactor"_s);
    const double cost = m_screen.box(u"txt_Costo_Original"_s).valor().toDouble();
    if (cost == 0) {
        accounting.setValor(0);
        tax.setValor(0);
        return;
    }
    // A missing accumulation has no ratio: the box stays empty.
    auto ratio = [cost](const QVariant &accumulated) {
        return accumulated.isNull() ? QVariant() : QVariant(accumulated.toDouble() / cost);
    };
    accounting.setValor(ratio(asset.Fields(u"Af_Depreciacion_Acumulada_Contable"_s)));
    tax.setValor(ratio(asset.Fields(u"Af_Depreciacion_Acumulada_Fiscal"_s)));
}

void RecordLoader::showLastDepreciation(const suite::Recordset &asset)
{
    const QVariant last = asset.Fields(u"Af_Ultima_Depreciacion"_s);
    m_screen.setText(u"txtFechaUltimaDepreciacion"_s,
                     last.isNull() ? QString() : last.toDate().toString(u"dd/MM/yyyy"_s));
}

void RecordLoader::showResponsible(const suite::Recordset &asset)
{
    const QVariant kind = asset.Fields(u"Af_Tipo_Responsable"_s);
    const QVariant responsible = asset.Fields(u"Af_Responsable"_s);
    // Switching an option on runs its click: the other kind's boxes are emptied
    // and only the chosen kind's frame is shown.
    if (textOf(kind) == u"EM"_s) {
        m_screen.setOption(u"opEmpleado"_s, true);
        m_screen.box(u"txtClaveEmpleado"_s).setValor(responsible);
    } else {
        m_screen.setOption(u"opCliente"_s, true);
        m_screen.box(u"txtClaveCliente"_s).setValor(responsible);
    }
    if (!kind.isNull() && kind.toString().isEmpty()) {
        m_screen.setOption(u"opCliente"_s, false);
        m_screen.setOption(u"opEmpleado"_s, true);
    }
}

void RecordLoader::offerCommands(const suite::Recordset &asset, const QString &equipment,
                                 const QString &vehicleType)
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setInformacionenabled(true);
    if (textOf(asset.Fields(u"Es_Cve_Estado"_s)) != u"BA"_s) {
        toolbar.setEliminarenabled(true);
        toolbar.setModificarenabled(true);
        toolbar.setB1caption(u"Carta responsiva"_s);
        toolbar.setB2caption(u"Imprimir etiquetas"_s);
        toolbar.setB3caption(QString());
        // Generation writes: a database taken for looking up only does not offer it.
        if ((equipment == u"SI"_s || !vehicleType.isEmpty()) && !toolbar.sololectura())
            toolbar.setB3caption(u"Generar equipo"_s);
    } else {
        toolbar.setReactivarenabled(true);
        m_screen.control(StateMark).setVisible(true);
    }
}

} // namespace xb733
