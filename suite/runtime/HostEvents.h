#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace suite {

// What suite objects made for one call (the print object, the record
// information object) tell the host they did. When the host runs unattended
// (scripted), they must not open dialogs: they write documents into
// printDirectory() and report them here instead.
class HostEvents : public QObject
{
    Q_OBJECT

public:
    static HostEvents &instance();

    bool unattended() const { return m_unattended; }
    void setUnattended(bool on) { m_unattended = on; }

    // Where unattended documents go; never empty once the host has set it.
    QString printDirectory() const { return m_printDirectory; }
    void setPrintDirectory(const QString &directory) { m_printDirectory = directory; }

    // operation: "Imprime" or "ImprimeTexto"; file: the document written.
    void notifyPrinted(const QString &operation, const QVariantList &arguments, const QString &file);
    // What the record information object would have shown a person.
    struct Information
    {
        QVariantList arguments;
        QStringList fields;          // the record's audit columns as read, none when no row
        QVariantList values;
        QStringList historyFields;   // the record's changes, newest first: what each holds
        QList<QVariantList> history; // as many as a person sees at first
        bool more = false;           // older changes follow
    };
    void notifyInformation(const Information &information);

Q_SIGNALS:
    void printed(const QString &operation, const QVariantList &arguments, const QString &file);
    void informationShown(const suite::HostEvents::Information &information);

private:
    HostEvents() = default;
    bool m_unattended = false;
    QString m_printDirectory;
};

} // namespace suite
