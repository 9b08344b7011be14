#pragma once

#include "suite/services/RecordHistory.h"

#include <QString>
#include <functional>

namespace xb733 {

class AssetScreen;

// An asset's history, as its write commands leave it: the whole asset is
// read when the command has taken its row, before it writes, and again just
// before it commits; every value that differs gets a row of Historial (the
// stamps and the count of writes the command leaves on any write aside).
// The whole asset: every column of its row, its distribution rows (one per
// cost centre), its additional fields, and the equipment and vehicle made
// from it.
class AssetHistory
{
public:
    // The command as the history names it.
    static constexpr auto NewAsset = "Alta";
    static constexpr auto Edit = "Modificación";
    static constexpr auto Deactivation = "Baja";
    static constexpr auto Reactivation = "Reactivación";
    static constexpr auto Generation = "Generación";

    // Reads the asset of key as it is now: its value before the command.
    AssetHistory(const AssetScreen &screen, const QString &key, const char *command);

    // Reads it again and records what differs, by user; the stamp is asked
    // for only when something does.
    void record(const QString &user, const std::function<QString()> &stamp) const;

private:
    suite::RecordHistory::Values read() const;

    const AssetScreen &m_screen;
    QString m_key;
    QString m_command;
    suite::RecordHistory::Values m_before;
};

} // namespace xb733
