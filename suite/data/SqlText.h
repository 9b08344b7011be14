#pragma once

#include <QString>

namespace suite {

// The one quoting helper: every value typed by a user that goes into a
// statement passes through here. It doubles single quotes and adds nothing
// else, so statements keep their own fixed pieces ("... = '" + v + "'").
inline QString sqlEscape(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

} // namespace suite
