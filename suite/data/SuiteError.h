#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace suite {

// The one error type of the suite. Its description is what a screen's handler
// shows to the user (a database's own text, a service's refusal), so it is
// always a complete sentence in the user's language or the server's words.
class SuiteError : public std::exception
{
public:
    explicit SuiteError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8())
    {}

    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

} // namespace suite
