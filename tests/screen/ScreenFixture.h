#pragma once

#include "screen/frmXB733.h"
// TestSession.h needs the complete Connection for its default argument.
#include "suite/data/Connection.h"
#include "tests/support/TestSession.h"

#include <QString>
#include <memory>

namespace suite {
class Entorno;
class Session;
class Utilerias;
} // namespace suite

// A test session (a fresh in-memory database with the schema, user "PRUEBA",
// recording presenters), the real services on it, and the form built on them.
class ScreenFixture
{
public:
    ScreenFixture();
    ~ScreenFixture();

    void setVariable(const QString &name, const QString &value);
    void setOption(const QString &component, const QString &optionId, const QString &value);

    frmXB733 &form() { return *m_form; }
    suite::Session &session() { return m_test.session(); }
    suite::Utilerias &utilerias() { return *m_utilerias; }

    // Shows the form at the design size, makes it the active window and waits
    // until it is; false when the window system did not activate it.
    bool showActive();

    template<class T>
    T *get(const QString &name) const { return m_form->controlAs<T>(name); }
    QWidget *get(const QString &name) const { return m_form->control(name); }

private:
    TestSession m_test;
    std::unique_ptr<suite::Entorno> m_entorno;
    std::unique_ptr<suite::Utilerias> m_utilerias;
    std::unique_ptr<frmXB733> m_form;
};
