#pragma once

#include <QString>

namespace suite {

// A fault armed on a connection by a test: the N-th statement counted from
// arming is struck, once. The connection decides what it counts and what a
// strike does; this keeps the count and says what was struck.
class StatementFault
{
public:
    enum class Kind {
        FailStatement, // the statement fails; the link stays up
        LoseLink,      // the statement fails and the link is closed
    };

    // statement: 1 is the next one counted. An empty text gives the default.
    void arm(Kind kind, int statement, const QString &text);
    void disarm();
    bool armed() const { return m_target > 0; }
    Kind kind() const { return m_kind; }

    // Counts one statement; true when it is the one to strike (the fault is
    // then disarmed and remembers it).
    bool strikes(const QString &statement);

    // The error the struck statement fails with.
    QString text() const;
    // The struck statement's number and text; 0 and empty until it fires.
    int struckNumber() const { return m_struckNumber; }
    QString struckStatement() const { return m_struckStatement; }

private:
    Kind m_kind = Kind::FailStatement;
    int m_target = 0;  // 0: disarmed
    int m_counted = 0; // since arming
    QString m_text;
    int m_struckNumber = 0;
    QString m_struckStatement;
};

} // namespace suite
