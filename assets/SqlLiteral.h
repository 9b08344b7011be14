#pragma once

#include <QString>
#include <QVariant>

namespace xb733 {

// The literal forms the record operations embed values in. Every value that
// comes from the screen or the operator reaches a statement through these,
// and they quote through suite::sqlEscape, so no input changes a statement.
namespace SqlLiteral {

// 'value' with its quotes doubled: texts, dates, stamps, operators, codes.
QString text(const QString &value);
// The value between the quotes of a piece that writes them itself ("... = '" + v + "'").
QString inner(const QString &value);
// An SQL number: the value's exact decimal (period, no grouping, no
// exponent; a double as the shortest decimal that stands for it); throws
// suite::SuiteError when the value is not a number.
QString number(const QVariant &value);
// NULL for a null value (an empty box, a picker without a date), the
// literal of `literal` otherwise.
QString orNull(const QVariant &value, QString (*literal)(const QVariant &));
// A 16-bit integer; throws suite::SuiteError (an overflow) outside -32768..32767.
QString integer16(const QVariant &value);

} // namespace SqlLiteral

} // namespace xb733
