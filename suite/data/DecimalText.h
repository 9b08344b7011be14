#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

namespace suite {

// Exact decimal numbers kept as text, so that a number travels from the
// database to the screen and back without passing through a binary
// fraction that would change its last digits.
//
// The canonical form: an optional '-', the whole digits without leading
// zeros ("0" when there are none), then, only when there are decimals, a
// period and the decimals without trailing zeros. Zero is "0", never "-0".
class DecimalText
{
public:
    // A plain decimal ("-12.50", "0.5", ".5", "7.") in canonical form; none
    // for anything else (grouping, exponents, blanks, a second point...).
    static std::optional<QString> canonical(QStringView plain);
    // The shortest decimal that reads back as this double, without an
    // exponent; none for infinities and NaN.
    static std::optional<QString> fromDouble(double value);
    // A number of any type (integers, doubles, a plain decimal text).
    static std::optional<QString> fromVariant(const QVariant &value);

    // Whether the double nearest to the decimal reads back as the decimal,
    // so that a double can stand for it without loss.
    static bool fitsDouble(const QString &canonical);
    // A double when it stands for the decimal exactly, the text otherwise.
    static QVariant toVariant(const QString &canonical);

    static bool isNegative(const QString &canonical) { return canonical.startsWith(u'-'); }
    static int wholeDigits(const QString &canonical);       // "0.5" has none, "-12.3" two
    static int decimals(const QString &canonical);
    static int significantDigits(const QString &canonical); // "0.0012" two, "1200" four
    // Rounded to that many decimals, halves away from zero.
    static QString rounded(const QString &canonical, int decimals);
    // Multiplied by a power of ten (negative places divide).
    static QString shifted(const QString &canonical, int places);
};

} // namespace suite
