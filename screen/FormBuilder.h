#pragma once

#include "screen/ControlDescription.h"

#include <QVector>

class QWidget;

namespace suite {
class FormControls;
}

namespace xb733 {

// Makes the form's widgets from its description: each control of the kit with
// its design name, group tag, twips geometry, label, lookup and properties, then
// the tab order. Throws SuiteError when the description names a container that
// does not exist yet or a property its control does not have.
class FormBuilder
{
public:
    static void build(QWidget *form, const QVector<ControlDescription> &description, suite::FormControls &controls);

    // The form's design back colour, &H00F5F5F5.
    static constexpr int FormBackColour = 0xF5F5F5;
};

} // namespace xb733
