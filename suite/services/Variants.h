#pragma once

#include <QVariant>

namespace suite {

// Conversions with the platform's rules, used where a screen converts a value
// it was handed. Empty is an invalid QVariant; Null is a valid QVariant whose
// isNull() is true (what the database gives for NULL).
//
// cStr: Empty gives "", Null throws SuiteError ("Uso no válido de Null").
// cBool: 1, -1, 0, any other number (non-zero true), true/false, SI/NO in any
//   case; Empty and "" give false; Null throws; any other text throws
//   SuiteError ("No coinciden los tipos: ...").
QString cStr(const QVariant &value);
bool cBool(const QVariant &value);

} // namespace suite
