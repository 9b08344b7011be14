#include "assets/ResponsibilityLetter.h"

#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/print/Reporte.h"
#include "suite/services/Entorno.h"
#include "suite/services/Variants.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString FormatVariable = u"FTO_IMP_RESPONSIVA_ACTIVO_FIJO"_s;
const QString NoFormat = u"Debe especificar un formato de impresión para la responsiva del activo fijo"_s;
const QString NoFormatId = u"ERR-ID:7500029"_s;
const QString FailureId = u"ERR-ID:7500030"_s;

} // namespace

ResponsibilityLetter::ResponsibilityLetter(const AssetScreen &screen)
    : m_screen(screen)
{
}

void ResponsibilityLetter::B1Click()
{
    // The caption is read when the message is shown: it is the button the user pressed.
    try {
        print();
    } catch (const std::exception &e) {
        m_screen.fail(e, m_screen.toolbar().b1caption(), FailureId);
    }
}

void ResponsibilityLetter::print()
{
    // Read on every press, so a format configured meanwhile is used at once.
    const QString format = suite::cStr(m_screen.entorno().LeeVariable(FormatVariable, 0, QString(), QString()));
    if (format.isEmpty()) {
        m_screen.message(NoFormat, Exclamation, m_screen.toolbar().b1caption(), NoFormatId);
        return;
    }
    const QString key = m_screen.keyBox().text();
    suite::Reporte report;
    report.Imprime(format, key, QString(), 0, 0, QString());
    m_screen.status(report.impreso() ? u"Activo fijo %1: carta responsiva impresa"_s.arg(key)
                                     : u"Activo fijo %1: carta responsiva no impresa"_s.arg(key));
}

} // namespace xb733
