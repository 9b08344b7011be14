#pragma once

#include <QString>
#include <optional>

namespace suite {

// Number display patterns of the kit ("#,##0.00", "#,##0.00#######",
// "$#,##0.0000", "0.00%"): an optional prefix, grouping when the pattern has a
// comma, at least as many decimals as zeros after the point and at most as
// many as zeros and hashes, and a trailing '%' that shows a ratio as percent.
// Texts use the C conventions (period, comma grouping) whatever the machine's
// locale, since the screens fix their own formats.
//
// A pattern only shows a value: formatting rounds what is shown, never the
// value, which the caller keeps as an exact decimal (DecimalText).
class NumberFormat
{
public:
    NumberFormat() = default;
    explicit NumberFormat(const QString &pattern);

    QString format(double value) const;
    // The exact decimal (canonical, see DecimalText) as the pattern shows it.
    QString formatDecimal(const QString &canonical) const;
    // The value to edit: every digit, no prefix and no grouping ("1234.5678",
    // "12.5%" for a ratio of 0.125).
    QString plain(const QString &canonical) const;

    // Reads a text written the way the screens write numbers: an optional
    // minus, the pattern's prefix, digits with commas only between groups of
    // three, a period before the decimals, and a '%' only for a percent
    // pattern (whose ratio is returned). The exact value in canonical form,
    // "" for an empty text, none for anything written otherwise ("1,5",
    // "1.234,56", "1..2", "12abc").
    std::optional<QString> read(const QString &text) const;

    const QString &pattern() const { return m_pattern; }
    bool isEmpty() const { return m_pattern.isEmpty(); }

private:
    QString m_pattern;
    QString m_prefix;
    bool m_grouping = false;
    bool m_percent = false;
    int m_minDecimals = 0;
    int m_maxDecimals = 0;
};

} // namespace suite
