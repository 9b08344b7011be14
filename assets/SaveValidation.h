#pragma once

#include "assets/NumberChecks.h"

#include <QString>
#include <QVariant>

namespace xb733 {

class AssetScreen;

// Who answers for the asset, as the checks decided it: "EM" with the
// employee's key or "CL" with the client's.
struct Responsible
{
    QString type;
    QVariant key; // the box's valor: a NULL it shows untouched stays NULL
};

// The first phase of "Controles_Aceptar()": the checks and field defaults
// that run before anything is written, in their fixed order. The first
// check that fails selects its tab, shows its message, moves the focus to
// its field and tells the toolbar that the accept did not complete; no
// later check runs. Nothing is written and no transaction is opened here.
//
// A failing service call or query is not a check's answer: it is thrown,
// for the command's failure handler.
class SaveValidation
{
public:
    explicit SaveValidation(const AssetScreen &screen);

    // true when every check passed; `responsible` then holds what to store.
    bool run(short nuevo, Responsible &responsible);

private:
    struct Refusal;

    bool keyIsFree(short nuevo);
    bool requiredFieldsFilled();
    void fillNumberDefaults();
    bool numbersAreUnique();
    bool referencesResolved();
    Responsible responsible() const;
    bool projectAndCentreResolved();
    void fillDefaultCentre();
    bool unitAndSupplierResolved();
    bool numbersStorable();
    bool costIsPositive();
    bool distributionIsValid();

    bool refuse(const Refusal &refusal);
    QString key() const;

    const AssetScreen &m_screen;
    NumberChecks m_numbers;
};

} // namespace xb733
