#include "assets/AssetScreen.h"

#include "assets/ScreenCodes.h"
#include "suite/kit/FormControls.h"
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

AssetScreen::AssetScreen(QWidget &form, const suite::FormControls &controls, const FormVariables &variables,
                         suite::Entorno &entorno, suite::Utilerias &utilerias)
    : m_form(form)
    , m_controls(controls)
    , m_variables(variables)
    , m_entorno(entorno)
    , m_utilerias(utilerias)
{
}

QWidget &AssetScreen::control(const QString &name) const
{
    return *m_controls.require(name);
}

suite::txtKIT &AssetScreen::box(const QString &name) const
{
    return *m_controls.require<suite::txtKIT>(name);
}

suite::txtKIT &AssetScreen::keyBox() const
{
    return box(u"txt_Af_Cve_Activo_Fijo"_s);
}

suite::Controles &AssetScreen::toolbar() const
{
    return *m_controls.require<suite::Controles>(u"Controles"_s);
}

suite::DataGrid &AssetScreen::grid() const
{
    return *m_controls.require<suite::DataGrid>(u"ssDetalle"_s);
}

QString AssetScreen::text(const QString &name) const
{
    return box(name).text();
}

void AssetScreen::setText(const QString &name, const QString &text) const
{
    box(name).setText(text);
}

bool AssetScreen::option(const QString &button) const
{
    return m_controls.require<suite::OptionButton>(button)->value();
}

void AssetScreen::setOption(const QString &button, bool on) const
{
    m_controls.require<suite::OptionButton>(button)->setValue(on);
}

void AssetScreen::setEnabled(const QString &name, bool on) const
{
    // Through the member, as the kit controls define it (their own flag).
    control(name).setProperty("enabled", on);
}

void AssetScreen::focus(const QString &name) const
{
    QWidget &w = control(name);
    if (w.property("enabled").toBool())
        w.setFocus(Qt::OtherFocusReason);
}

void AssetScreen::selectTab(int tab) const
{
    m_controls.require<suite::ssTbKit>(u"ssTabKit"_s)->setTab(tab);
}

int AssetScreen::message(const QString &prompt, int style, const QString &title, const QString &id) const
{
    // The window's own handle: asking a child widget for one would make it native.
    return m_entorno.Mensaje(prompt, style, title, m_form.effectiveWinId(), QString::fromLatin1(Component), id);
}

void AssetScreen::fail(const std::exception &error, const QString &routine, const QString &id) const
{
    message(describe(error), Critical, routine, id);
}

QString AssetScreen::describe(const std::exception &error)
{
    if (const auto *suiteError = dynamic_cast<const suite::SuiteError *>(&error))
        return suiteError->description();
    return QString::fromUtf8(error.what());
}

void AssetScreen::status(const QString &text) const
{
    m_entorno.MuestraEstado(text);
}

suite::Connection &AssetScreen::connection() const
{
    suite::Connection *connection = m_entorno.Conexion();
    if (!connection)
        throw suite::SuiteError(u"No hay conexión con la base de datos"_s);
    return *connection;
}

suite::RecordsetPtr AssetScreen::execute(const QString &statement) const
{
    return connection().Execute(statement);
}

} // namespace xb733
