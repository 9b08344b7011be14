#pragma once

#include <QString>

namespace suite {

// Fills a numeric key to a pattern of zeros: "12" with "000000" gives
// "000012". A text that is not a whole number, an empty pattern or a key
// already as long as the pattern comes back unchanged (blanks trimmed).
QString formatKey(const QString &key, const QString &pattern);

} // namespace suite
