#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

namespace suite {

class Session;

// Utility services: search dialogs, look-ups, key generation, dates, control
// groups, audit registration. Every failure throws SuiteError, except
// RegistraBitacora, which answers false and keeps the text for RegistraError.
class Utilerias : public QObject
{
    Q_OBJECT

public:
    explicit Utilerias(Session *session = nullptr, QObject *parent = nullptr); // null: Session::current()

    // Opens the search dialog of queryId (table Consulta); the chosen key or "".
    QString Consulta(const QString &queryId, int maxRows, const QString &unused, QObject *owner);

    // The resultColumn of the row whose searchColumn equals value, "" when no
    // row; without regard to case for the schema's case-blind columns. Table
    // and column names match the schema regardless of case and accents.
    QString BuscaValor(const QString &table, const QString &searchColumn, const QString &value,
                       const QString &resultColumn, int zero = 0, const QString &e1 = {},
                       const QString &e2 = {}, const QString &e3 = {});

    // Sets next to the next free numeric key of table.keyColumn, without
    // scanning the table and skipping keys typed by hand; inside the caller's
    // transaction when one is open.
    void SiguienteClave(const QString &table, const QString &keyColumn, const QString &e1,
                        const QString &e2, const QString &e3, const QString &e4, const QString &e5,
                        const QString &e6, const QString &e7, int &next);

    QDateTime FechaServidor();
    QString FechaTexto(const QDateTime &value); // "yyyy-MM-dd HH:mm:ss"
    QString FechaSql(const QDateTime &value);   // "yyyy-MM-dd"
    QString FechaSql(const QDate &value);

    // Controls of form whose "tag" property equals group: emptied and disabled /
    // enabled with their values kept.
    void LimpiaControles(QWidget *form, int group);
    void HabilitaControles(QWidget *form, int group);

    void RegistraBitacora(const QString &table, const QString &key, const QString &text, bool &ok);
    void RegistraMovimiento(const QString &entity, const QString &key, const QString &action);
    QString RegistraError() const;

    QString LeeConfiguracion(const QString &text, const QString &suiteName);

    // keys "\t": the focus moves to the next control in tab order.
    void EnviaTecla(const QString &keys, int zero, const QVariant &unused);

private:
    Session &session() const;
    Session *m_session;
    QString m_lastError;
};

} // namespace suite
