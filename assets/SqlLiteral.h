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
// An SQL number (period, no grouping, shortest exact form); throws
// suite::SuiteError when the value is not a finite number.
QString number(const QVariant &value);
// A 16-bit integer; throws suite::SuiteError (an overflow) outside -32768..32767.
QString integer16(const QVariant &value);

} // namespace SqlLiteral

} // namespace xb733
