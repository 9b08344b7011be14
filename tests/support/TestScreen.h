#pragma once

// Header only: just the tests that link the screen include it.
#include "screen/frmXB733.h"
#include "suite/data/SqlText.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>

// The form in process: a test session on the given connection (a fresh
// in-memory database with the schema by default), the real services on it,
// and the form built on them.
class TestScreen
{
public:
    explicit TestScreen(std::unique_ptr<suite::Connection> connection = TestDatabase::sqlite())
        : m_test(std::move(connection)), m_entorno(&m_test.session()), m_utilerias(&m_test.session()),
          m_form(std::make_unique<frmXB733>(&m_entorno, &m_utilerias))
    {
    }

    TestSession &test() { return m_test; }
    frmXB733 &form() { return *m_form; }
    suite::Utilerias &utilerias() { return m_utilerias; }
    QWidget *get(const QString &name) const { return m_form->control(name); }
    template<class T> T *get(const QString &name) const { return m_form->controlAs<T>(name); }
    suite::Controles &toolbar() const { return *get<suite::Controles>(QStringLiteral("Controles")); }
    suite::txtKIT &key() const { return *get<suite::txtKIT>(QStringLiteral("txt_Af_Cve_Activo_Fijo")); }
    void set(const QString &box, const QString &text) const { get<suite::txtKIT>(box)->setText(text); }

    void setVariable(const QString &name, const QString &value)
    {
        const QString n = suite::sqlEscape(name), v = suite::sqlEscape(value);
        m_test.connection().Execute(QStringLiteral("DELETE FROM Variable WHERE Va_Cve_Variable = '%1'").arg(n));
        m_test.connection().Execute(QStringLiteral("INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1', '%2')").arg(n, v));
    }
    // An option of the session's user.
    void setOption(const QString &component, const QString &optionId, const QString &value)
    {
        m_test.connection().Execute(QStringLiteral("INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, "
                                                   "Op_Valor) VALUES ('PRUEBA', '%1', '%2', '%3')")
                                        .arg(suite::sqlEscape(component), suite::sqlEscape(optionId), suite::sqlEscape(value)));
    }

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

    // Keys an asset and confirms it with Enter, as a user does; true when it is the one shown.
    bool load(const QString &wanted)
    {
        key().setText(wanted);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(&key(), &enter);
        return toolbar().clave() == wanted;
    }

private:
    TestSession m_test;
    suite::Entorno m_entorno;
    suite::Utilerias m_utilerias;
    std::unique_ptr<frmXB733> m_form; // last, so gone before the session it works on
};
