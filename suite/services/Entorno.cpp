#include "suite/services/Entorno.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/MessageBoxPresenter.h"
#include "suite/services/Variants.h"
#include "suite/session/MessagePresenter.h"
#include "suite/session/Session.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The button set is the low nibble of the style: 0 OK only, 4 Yes/No.
constexpr int buttonMask = 0x0F;
constexpr int okOnly = 0;
constexpr int yesNo = 4;
constexpr int answerOk = 1;
constexpr int answerYes = 6;
constexpr int answerNo = 7;

// The window a message belongs to: the top-level widget with that handle, or
// the active window. internalWinId() never creates a native window as a side effect.
QWidget *ownerOf(WId hwnd)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    if (hwnd != 0) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->internalWinId() == hwnd)
                return window;
        }
    }
    return QApplication::activeWindow();
}

} // namespace

Entorno::Entorno(Session *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

Session &Entorno::session() const
{
    return m_session ? *m_session : Session::current();
}

Connection *Entorno::Conexion()
{
    return session().connection();
}

QString Entorno::Usuario()
{
    return session().user();
}

QVariant Entorno::LeeVariable(const QString &name, int zero, const QString &typeCode,
                              const QString &defaultValue)
{
    Q_UNUSED(zero)
    const QString code = typeCode.trimmed().toUpper();
    if (!code.isEmpty() && code != u"T"_s && code != u"N"_s && code != u"B"_s)
        throw SuiteError(u"Tipo de variable no válido: \"%1\"."_s.arg(typeCode));

    auto row = Conexion()->Execute(u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '"_s
                                   + sqlEscape(name) + u"'"_s);
    if (row->Eof())
        return defaultValue.isEmpty() ? QVariant() : QVariant(defaultValue);

    const QVariant value = row->fieldValue(0);
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>()); // Null, whatever the driver's type
    if (code == u"T"_s)
        return QVariant(cStr(value));
    if (code == u"B"_s)
        return QVariant(cBool(value));
    if (code == u"N"_s) {
        bool ok = false;
        const double number = cStr(value).trimmed().toDouble(&ok);
        if (!ok)
            throw SuiteError(u"La variable %1 no tiene un valor numérico: \"%2\"."_s.arg(name, cStr(value)));
        return QVariant(number);
    }
    return value;
}

bool Entorno::LeeOpcion(const QString &component, const QString &optionId, const QString &optionText)
{
    Q_UNUSED(optionText) // the option's caption, shown by the options screen, not stored here
    auto row = Conexion()->Execute(
        u"SELECT Op_Valor FROM Opcion_Usuario WHERE Us_Cve_Usuario = '"_s + sqlEscape(Usuario())
        + u"' AND Op_Componente = '"_s + sqlEscape(component) + u"' AND Op_Cve_Opcion = '"_s
        + sqlEscape(optionId) + u"'"_s);
    if (row->Eof() || row->fieldValue(0).isNull())
        return false;
    return cBool(row->fieldValue(0));
}

void Entorno::ForzarMayusculas(bool on)
{
    session().setForceUpperCase(on);
}

int Entorno::Mensaje(const QString &prompt, int style, const QString &title, WId hwnd,
                     const QString &component, const QString &id)
{
    MessageRequest request;
    request.prompt = prompt;
    request.style = style;
    request.title = title;
    request.component = component;
    request.id = id;
    request.owner = ownerOf(hwnd);

    int answer = 0;
    if (MessagePresenter *presenter = session().messages()) {
        answer = presenter->show(request);
    } else {
        MessageBoxPresenter box;
        answer = box.show(request);
    }

    switch (style & buttonMask) {
    case okOnly:
        return answerOk;
    case yesNo:
        return answer == answerYes ? answerYes : answerNo;
    default:
        return answer;
    }
}

void Entorno::MuestraEstado(const QString &text)
{
    session().showStatus(text);
}

void Entorno::RegistraClave(const QString &key)
{
    m_lastKey = key;
}

void Entorno::OfreceEnBusqueda(const QString &queryId, const QString &caption,
                               const std::function<void(const QStringList &keys)> &action)
{
    session().addSearchAction({queryId, caption, action});
}

void Entorno::RetiraDeBusqueda(const QString &queryId, const QString &caption)
{
    session().removeSearchAction(queryId, caption);
}

} // namespace suite
