#pragma once

#include <QString>
#include <QVariant>

namespace xb733 {

class AssetScreen;
class ToolbarCommands;
struct AssetColumn;
struct Responsible;

// The second phase of "Controles_Aceptar()": one transaction that writes the
// asset row, replaces its distribution rows and registers the change in the
// audit trail; then the key's registration, the toolbar told and the screen
// back to key entry, as the cancel command leaves it.
//
// A vetoed audit registration, a refusal to store the additional fields and
// an asset another user changed since it was shown roll back and are shown
// here, after the rollback. Any other failure inside the transaction
// is thrown, after the rollback, for the command's failure handler: the
// screen then still holds everything the user typed.
class SavePersistence
{
public:
    SavePersistence(const AssetScreen &screen, ToolbarCommands &commands);

    void run(bool isNew, const Responsible &responsible);

private:
    enum class Outcome { Committed, FieldsRefused, AuditVetoed, ChangedMeanwhile };

    Outcome write(bool isNew, const Responsible &responsible);
    bool storeAdditionalFields(const QString &key);
    QVariant valueOf(const AssetColumn &column, const Responsible &responsible) const;
    void insertDistribution(const QString &keyValor);
    void finishAfterCommit(const QString &key);

    const AssetScreen &m_screen;
    ToolbarCommands &m_commands;
    // Taken once per save, inside its transaction.
    QString m_stamp;
    QString m_operator;
    int m_life = 0;
    QString m_changedMeanwhile; // why the stored asset is not the one shown
};

} // namespace xb733
