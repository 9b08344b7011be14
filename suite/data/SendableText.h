#pragma once

#include <QString>

namespace suite {

// NUL ends a statement early for both drivers, and half a surrogate pair
// makes SQLite read the quote after it as part of the character: either
// would turn a value into something else, so neither reaches the database.
// Throws SuiteError saying which character it found.
void refuseUnsendable(const QString &statement);

} // namespace suite
