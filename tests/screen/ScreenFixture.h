#pragma once

#include "screen/frmXB733.h"
// TestSession.h needs the complete Connection for its default argument.
#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QTest>
#include <memory>

// A test session (a fresh in-memory database with the schema, user "PRUEBA",
// recording presenters), the real services on it, and the form built on them.
class ScreenFixture
{
public:
    ScreenFixture() : m_entorno(&m_test.session()), m_utilerias(&m_test.session()), m_form(new frmXB733(&m_entorno, &m_utilerias)) {}
    ~ScreenFixture() { m_form.reset(); } // before the session it works on

    void setVariable(const QString &name, const QString &value)
    {
        const QString n = suite::sqlEscape(name), v = suite::sqlEscape(value);
        m_test.connection().Execute(QStringLiteral("DELETE FROM Variable WHERE Va_Cve_Variable = '%1'").arg(n));
        m_test.connection().Execute(QStringLiteral("INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1', '%2')").arg(n, v));
    }
    void setOption(const QString &component, const QString &optionId, const QString &value)
    {
        m_test.connection().Execute(QStringLiteral("INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, "
                                                   "Op_Valor) VALUES ('PRUEBA', '%1', '%2', '%3')")
                                        .arg(suite::sqlEscape(component), suite::sqlEscape(optionId), suite::sqlEscape(value)));
    }

    frmXB733 &form() { return *m_form; }
    suite::Utilerias &utilerias() { return m_utilerias; }
    template<class T> T *get(const QString &name) const { return m_form->controlAs<T>(name); }
    QWidget *get(const QString &name) const { return m_form->control(name); }

    // Shows the form at the design size, makes it the active window and waits
    // until it is; false when the window system did not activate it.
    bool showActive()
    {
        m_form->setClientSizeTwips(frmXB733::DesignClientWidth, frmXB733::DesignClientHeight);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        m_form->activateWindow();
        return QTest::qWaitForWindowActive(m_form.get());
    }

private:
    TestSession m_test;
    suite::Entorno m_entorno;
    suite::Utilerias m_utilerias;
    std::unique_ptr<frmXB733> m_form;
};
