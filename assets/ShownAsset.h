#pragma once

#include <QString>
#include <QVariant>

namespace suite {
class Connection;
class Recordset;
} // namespace suite

namespace xb733 {

// The asset as the load showed it: its key, its state and the version the
// database gave its row. A write command takes the row first (until its
// transaction ends) and compares: when another user changed, deactivated or
// reactivated the asset since it was shown, the command is refused before it
// writes anything, in words that say who did it and when. So no command
// silently undoes or repeats another user's.
class ShownAsset
{
public:
    // What the refusal tells the user became of their work.
    enum Command { Save, StateChange };

    // By the load, from the asset's row as it read it.
    void remember(const suite::Recordset &asset);
    // The asset shown is the one a user saw earlier at this version (a
    // file exported then): compared as if the load had read it so.
    void assumeVersion(qlonglong version);

    // First in the command's transaction, for the asset of key, by a command
    // that starts from state ("AC" active, "BA" deactivated). Empty when the
    // stored row is the one shown; otherwise why the command does nothing.
    QString lockAndCompare(suite::Connection &connection, const QString &key, const QString &state,
                           Command command) const;

private:
    QString m_key;
    QString m_state;
    QVariant m_version; // null until an asset is shown
};

} // namespace xb733
