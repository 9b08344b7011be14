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
class NumberFormat
{
public:
    NumberFormat() = default;
    explicit NumberFormat(const QString &pattern);

    QString format(double value) const;
    // Reads a shown or typed text back: prefix, grouping and a '%' are
    // allowed; an empty text is 0; anything else that is not a number gives
    // nothing.
    std::optional<double> parse(const QString &text) const;

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
