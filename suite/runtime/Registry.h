#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace suite {

// The per-user registry of components: ProgID -> CLSID -> library file. One
// INI file in the user's configuration folder, so registering needs no
// privileges and tests get their own through a private HOME.
class Registry
{
public:
    struct Entry
    {
        QString progId;
        QString clsid;
        QString library;
        bool isValid() const { return !clsid.isEmpty() && !library.isEmpty(); }
    };

    explicit Registry(const QString &fileName = defaultFileName());
    ~Registry();

    static QString defaultFileName();
    QString fileName() const;

    void registerClass(const QString &progId, const QString &clsid, const QString &library,
                       const QString &description = {});
    void unregisterClass(const QString &progId, const QString &clsid);

    // An invalid entry when progId is not registered.
    Entry find(const QString &progId) const;

    // Writes pending changes; throws SuiteError when the file cannot be written.
    void sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace suite
