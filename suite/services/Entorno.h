#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>

namespace suite {

class Connection;
class Session;

// Environment services: the connection, the operator, configuration
// variables, per-user options and messages. Every failure throws SuiteError.
class Entorno : public QObject
{
    Q_OBJECT

public:
    explicit Entorno(Session *session = nullptr, QObject *parent = nullptr); // null: Session::current()

    Connection *Conexion();
    QString Usuario();

    // Reads table Variable. A missing variable gives the default when one is
    // passed (non-empty), otherwise Empty. typeCode "T" returns text.
    QVariant LeeVariable(const QString &name, int zero, const QString &typeCode, const QString &defaultValue);

    // Reads Opcion_Usuario for the current operator; missing means false.
    bool LeeOpcion(const QString &component, const QString &optionId, const QString &optionText);

    void ForzarMayusculas(bool on);

    // Shows the message through the session's presenter; returns 6/7 for
    // questions (style 36), 1 otherwise.
    int Mensaje(const QString &prompt, int style, const QString &title, WId hwnd,
                const QString &component, const QString &id);

    // Says in the host's status line what the last command did, without a
    // box to close ("Activo fijo 0000000051 guardado").
    void MuestraEstado(const QString &text);

    // Offers, in the search dialogs of queryId, a button with the caption
    // that runs action on the keys of the rows marked there (and lets the
    // host run it on a list of keys); Retira takes it back.
    void OfreceEnBusqueda(const QString &queryId, const QString &caption,
                          const std::function<void(const QStringList &keys)> &action);
    void RetiraDeBusqueda(const QString &queryId, const QString &caption);

    // Told the key of a record just saved (remembered as the last key).
    void RegistraClave(const QString &key);
    QString ultimaClave() const { return m_lastKey; }

private:
    Session &session() const;
    Session *m_session;
    QString m_lastKey;
};

} // namespace suite
