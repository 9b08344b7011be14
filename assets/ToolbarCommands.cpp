#include "assets/ToolbarCommands.h"

#include "assets/AssetScreen.h"
#include "assets/DepreciationHistory.h"
#include "assets/FormVariables.h"
#include "assets/ScreenCodes.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/InformacionRegistro.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/AdditionalFields.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/services/Variants.h"

#include <QMetaObject>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

} // namespace

ToolbarCommands::ToolbarCommands(const AssetScreen &screen, DepreciationHistory &history)
    : m_screen(screen)
    , m_history(history)
{
}

void ToolbarCommands::disableRecordCommands()
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setModificarenabled(false);
    toolbar.setEliminarenabled(false);
    toolbar.setInformacionenabled(false);
    toolbar.setReactivarenabled(false);
}

void ToolbarCommands::clearCaptions()
{
    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setB1caption(QString());
    toolbar.setB2caption(QString());
    toolbar.setB3caption(QString());
}

void ToolbarCommands::Nuevo()
{
    QWidget *form = &m_screen.form();
    suite::Utilerias &utilerias = m_screen.utilerias();
    m_screen.selectTab(General);
    utilerias.LimpiaControles(form, FieldsGroup);
    utilerias.HabilitaControles(form, FieldsGroup);
    utilerias.LimpiaControles(form, GridGroup);
    utilerias.HabilitaControles(form, GridGroup);

    suite::txtKIT &key = m_screen.keyBox();
    key.setNuevo(true);
    key.setFocus(Qt::OtherFocusReason);
    disableRecordCommands();
    utilerias.LimpiaControles(form, UnusedGroup);
    utilerias.HabilitaControles(form, UnusedGroup);

    const QVariant automatic = m_screen.entorno().LeeVariable(u"CAT_AUTOCLAVE"_s, 0, QString(), QString());
    if (!automatic.isNull() && suite::cBool(automatic)) {
        int next = 0;
        utilerias.SiguienteClave(u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s, QString(), QString(), QString(),
                                 QString(), QString(), QString(), QString(), next);
        key.setText(QString::number(next));
        // Shown as the key pattern fills it, as the box does when a key is confirmed.
        key.rellenaClave();
        key.setEnabled(m_screen.variables().ClaveEditable);
        m_screen.setText(u"txtNSerie"_s, key.text());
    } else {
        key.setText(QString());
        key.setFocus(Qt::OtherFocusReason);
    }

    m_history.clear();
    m_screen.setOption(u"opEmpleado"_s, true);
    m_screen.setEnabled(u"frmEmpleado"_s, true);
    clearCaptions();

    // The new record's additional fields: what may be filled, nothing filled yet.
    suite::Controles &toolbar = m_screen.toolbar();
    if (!toolbar.opcTable().isEmpty())
        toolbar.setAdditionalFields(suite::AdditionalFields(m_screen.connection()).definitions(toolbar.opcTable()), {});
}

void ToolbarCommands::Modificar()
{
    QWidget *form = &m_screen.form();
    m_screen.selectTab(General);
    m_screen.utilerias().HabilitaControles(form, FieldsGroup);
    if (m_screen.text(u"txtCentroCosto"_s).isEmpty())
        m_screen.utilerias().HabilitaControles(form, GridGroup);
    m_screen.keyBox().setEnabled(false);
    m_screen.focus(u"txt_Ta_Cve_Tipo_ActivoFijo"_s);
    disableRecordCommands();
    if (!m_screen.text(u"txtClaveCliente"_s).isEmpty()) {
        m_screen.setEnabled(u"frmEmpleado"_s, false);
        m_screen.control(u"frmEmpleado"_s).setVisible(false);
    }
    clearCaptions();
}

void ToolbarCommands::Cancelar()
{
    QWidget *form = &m_screen.form();
    suite::Utilerias &utilerias = m_screen.utilerias();
    m_screen.selectTab(General);
    utilerias.LimpiaControles(form, FieldsGroup);
    utilerias.LimpiaControles(form, UnusedGroup);
    utilerias.LimpiaControles(form, GridGroup);

    suite::txtKIT &key = m_screen.keyBox();
    key.setText(QString());
    key.setNuevo(false);
    key.setEnabled(true);
    key.setFocus(Qt::OtherFocusReason);

    suite::Controles &toolbar = m_screen.toolbar();
    toolbar.setEliminarenabled(false);
    toolbar.setModificarenabled(false);
    toolbar.setInformacionenabled(false);
    toolbar.setEstadoinicial(true);
    toolbar.setReactivarenabled(false);
    toolbar.clearAdditionalFields();
    m_history.clear();
}

void ToolbarCommands::Informacion()
{
    suite::InformacionRegistro information(m_screen.connection());
    information.Muestra(u"ACTIVO_FIJO"_s, u"Af_cve_Activo_Fijo"_s, m_screen.keyBox().text(), QString(), QString(),
                        QString(), QString());
}

void ToolbarCommands::Salir()
{
    QObject *padre = m_screen.form().property("Padre").value<QObject *>();
    if (!padre)
        throw suite::SuiteError(u"Variable de objeto o bloque With no establecido"_s);
    if (auto *window = qobject_cast<QWidget *>(padre)) {
        window->close();
        return;
    }
    if (!QMetaObject::invokeMethod(padre, "Unload"))
        throw suite::SuiteError(u"El objeto no acepta esta propiedad o método"_s);
}

} // namespace xb733
