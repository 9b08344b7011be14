#include "ScreenFixture.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

ScreenFixture::ScreenFixture()
    : m_entorno(std::make_unique<suite::Entorno>(&m_test.session()))
    , m_utilerias(std::make_unique<suite::Utilerias>(&m_test.session()))
    , m_form(std::make_unique<frmXB733>(m_entorno.get(), m_utilerias.get()))
{
}

ScreenFixture::~ScreenFixture()
{
    m_form.reset(); // before the session it works on
}

void ScreenFixture::setVariable(const QString &name, const QString &value)
{
    m_test.connection().Execute(u"DELETE FROM Variable WHERE Va_Cve_Variable = '"_s + suite::sqlEscape(name) + u"'"_s);
    m_test.connection().Execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('"_s + suite::sqlEscape(name)
                         + u"', '"_s + suite::sqlEscape(value) + u"')"_s);
}

void ScreenFixture::setOption(const QString &component, const QString &optionId, const QString &value)
{
    m_test.connection().Execute(u"INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, Op_Valor) "
                         u"VALUES ('PRUEBA', '"_s
                         + suite::sqlEscape(component) + u"', '"_s + suite::sqlEscape(optionId) + u"', '"_s
                         + suite::sqlEscape(value) + u"')"_s);
}

bool ScreenFixture::showActive()
{
    m_form->setClientSizeTwips(frmXB733::DesignClientWidth, frmXB733::DesignClientHeight);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form.get());
}
