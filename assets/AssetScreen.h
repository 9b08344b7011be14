#pragma once

#include "assets/ShownAsset.h"
#include "suite/data/Recordset.h"

#include <QString>
#include <exception>

class QWidget;

namespace suite {
class FormControls;
class Connection;
class Controles;
class DataGrid;
class Entorno;
class txtKIT;
class Utilerias;
} // namespace suite

namespace xb733 {

struct FormVariables;

// What every record operation works on: the form and its controls by design
// name, the variables start-up read, and the two service objects. Handed to
// each operation's constructor; the operation keeps no other way to the screen.
class AssetScreen
{
public:
    static constexpr auto Component = "XB733";

    AssetScreen(QWidget &form, const suite::FormControls &controls, const FormVariables &variables,
                suite::Entorno &entorno, suite::Utilerias &utilerias);

    QWidget &form() const { return m_form; }
    const suite::FormControls &controls() const { return m_controls; }
    const FormVariables &variables() const { return m_variables; }
    suite::Entorno &entorno() const { return m_entorno; }
    suite::Utilerias &utilerias() const { return m_utilerias; }

    QWidget &control(const QString &name) const;   // throws SuiteError when the form has none
    suite::txtKIT &box(const QString &name) const; // a text box of the form
    suite::txtKIT &keyBox() const;                 // txt_Af_Cve_Activo_Fijo
    suite::Controles &toolbar() const;
    suite::DataGrid &grid() const;                 // ssDetalle

    QString text(const QString &box) const;        // the box's text
    void setText(const QString &box, const QString &text) const;
    bool option(const QString &button) const;      // an option button's value
    void setOption(const QString &button, bool on) const;
    void setEnabled(const QString &name, bool on) const;
    void focus(const QString &name) const;         // when the control can take it
    void selectTab(int tab) const;

    // Entorno.Mensaje with the form's window handle and the component code;
    // the answer (6 Yes) for questions.
    int message(const QString &prompt, int style, const QString &title, const QString &id) const;
    // The one report of a command's failure: the error's text in a stop box
    // titled with the command's routine, under its id. Every command that
    // traps its failures reports them here, so what the user reads does not
    // depend on which layer raised them.
    void fail(const std::exception &error, const QString &routine, const QString &id) const;
    // The error's text as the user reads it: a SuiteError's description (the
    // database's or the service's words), any other exception's what().
    static QString describe(const std::exception &error);
    // The host's status line: what a command did, with no box to close.
    void status(const QString &text) const;

    // The connection Entorno.Conexion gives, asked for anew on every use.
    suite::Connection &connection() const;
    suite::RecordsetPtr execute(const QString &statement) const;
    // The asset the load showed, which every write command compares with the
    // stored one, under its row lock, before it writes.
    ShownAsset &shown() const { return m_shown; }

private:
    QWidget &m_form;
    const suite::FormControls &m_controls;
    const FormVariables &m_variables;
    suite::Entorno &m_entorno;
    suite::Utilerias &m_utilerias;
    mutable ShownAsset m_shown;
};

} // namespace xb733
