#pragma once

namespace suite {
class FormControls;
class Entorno;
}

namespace xb733 {

struct FormVariables;

// Form_Load: the colour scheme, the toolbar's initial state, the configuration
// variables into the form variables and the key patterns, the automatic-key
// option, upper-casing, the employee as responsible, the depreciation lists'
// columns and the first tab, in that order. Traps nothing: the first failing
// service call or conversion throws SuiteError and what was set stays set.
// Selecting the employee raises its Click, so the form's option handling
// must already be connected.
class FormStartup
{
public:
    FormStartup(suite::Entorno &entorno, const suite::FormControls &controls, FormVariables &variables);

    void run();

private:
    void readSettings();
    void readKeyPatterns();
    void addListColumns();

    suite::Entorno &m_entorno;
    const suite::FormControls &m_controls;
    FormVariables &m_variables;
};

} // namespace xb733
