#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace suite {
struct ColumnDef;
}

namespace xb733 {

class AssetScreen;

// The numbers a user types into the record: the numeric boxes (useful life,
// cost, Dato 3 and Dato 4) and the shares of the distribution grid. A number
// is read only as the screen writes numbers, and stored only when its column
// keeps it exactly as typed; otherwise it is refused in words that name the
// field and show the form expected, and nothing is stored.
class NumberChecks
{
public:
    explicit NumberChecks(const AssetScreen &screen);

    // A numeric box left with a text that is no number: said at once, unless
    // the focus went to the toolbar (the accept checks again; cancel drops it).
    void boxLeft(const QString &control) const;
    // A share cell about to be left (its grid value): true when it can be
    // stored; otherwise the refusal is shown (unless the focus went to the
    // toolbar) and false.
    bool shareLeft(const QVariant &share) const;

    struct Problem
    {
        QString control;
        int tab = 0;
        QString prompt;
        QString id;
    };
    // For the accept: the first numeric box that is no number or that its
    // column cannot keep.
    std::optional<Problem> firstFieldProblem() const;
    // For the accept: why a share (a grid value) cannot be stored; empty
    // when it can, or when it is empty (the zero check says so).
    QString shareProblem(const QVariant &share) const;

    // What a column cannot keep of a number (canonical decimal): its scale,
    // its whole digits, and, where the number is kept as a double (DOUBLE
    // PRECISION, and every NUMERIC of a backend that stores numbers as
    // doubles), whatever a double would not read back as written. Empty when
    // it keeps it.
    static QString columnRefusal(const suite::ColumnDef &column, const QString &decimal, bool numericAsDouble);

private:
    QString caption(const QString &control) const;
    QString unreadable(const QString &control) const;
    QString shareRefusal(const std::optional<QString> &value, const QString &shown) const;
    bool focusWentToToolbar() const;
    bool numericAsDouble() const;

    const AssetScreen &m_screen;
};

} // namespace xb733
