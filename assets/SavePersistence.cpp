#include "assets/SavePersistence.h"

#include "assets/AssetHistory.h"
#include "assets/AssetModel.h"
#include "assets/AssetScreen.h"
#include "assets/AssetStatements.h"
#include "assets/SaveValidation.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "assets/ToolbarCommands.h"
#include "suite/kit/FormControls.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/AdditionalFields.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"Controles_Aceptar()"_s;
const QString AuditTable = u"Activo_Fijo"_s;

// A NULL that a text box shows untouched is written back as NULL.
QVariant textIn(const suite::txtKIT &box)
{
    return box.holdsNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(box.text());
}

} // namespace

SavePersistence::SavePersistence(const AssetScreen &screen, ToolbarCommands &commands)
    : m_screen(screen)
    , m_commands(commands)
{
}

void SavePersistence::run(bool isNew, const Responsible &responsible)
{
    // The guard inside write() has rolled back by the time a refusal is shown.
    switch (write(isNew, responsible)) {
    case Outcome::FieldsRefused:
        m_screen.message(u"Imposible actualizar campos adicionales"_s, Critical, Routine, u"ERR-ID:7500026"_s);
        m_screen.toolbar().cancelaaceptar();
        return;
    case Outcome::ChangedMeanwhile:
        // Still editing, with everything typed, so it can be copied before reloading.
        m_screen.message(m_changedMeanwhile, Exclamation, Routine, u"ERR-ID:7500060"_s);
        m_screen.toolbar().cancelaaceptar();
        return;
    case Outcome::AuditVetoed:
        m_screen.message(m_screen.utilerias().RegistraError(), Exclamation, u"Talvexor"_s, u"ERR-ID:7500027"_s);
        m_screen.toolbar().cancelaaceptar();
        return;
    case Outcome::Committed:
        finishAfterCommit(m_screen.keyBox().text());
        return;
    }
}

SavePersistence::Outcome SavePersistence::write(bool isNew, const Responsible &responsible)
{
    suite::txtKIT &keyBox = m_screen.keyBox();
    const QString key = keyBox.text();
    suite::TransactionGuard transaction(m_screen.connection());
    // Two users saving one asset: the second waits here for the first to
    // commit and is then refused, as is an edit of an asset deactivated
    // since it was shown; what follows (the additional fields included)
    // writes only over the row the user was shown.
    if (!isNew) {
        m_changedMeanwhile = m_screen.shown().lockAndCompare(m_screen.connection(), key, u"AC"_s, ShownAsset::Save);
        if (!m_changedMeanwhile.isEmpty())
            return Outcome::ChangedMeanwhile;
    }

    // The asset as stored before this save writes, to record what it changes.
    const AssetHistory history(m_screen, key, isNew ? AssetHistory::NewAsset : AssetHistory::Edit);

    suite::Utilerias &utilerias = m_screen.utilerias();
    m_stamp = utilerias.FechaTexto(utilerias.FechaServidor());
    m_operator = m_screen.entorno().Usuario();

    if (!storeAdditionalFields(key)) {
        m_screen.selectTab(General);
        return Outcome::FieldsRefused;
    }

    // Converted before any statement runs: a life beyond 16 bits stops the save here.
    const suite::txtKIT &life = m_screen.box(u"txtVidaUtil"_s);
    m_life = life.text().isEmpty() ? 0 : SqlLiteral::integer16(life.valor()).toInt();

    m_screen.execute(AssetStatements::deleteDistribution(key));
    const auto valueOf = [&](const AssetColumn &column) { return this->valueOf(column, responsible); };
    const QString keyValor = keyBox.valor().toString();
    m_screen.execute(isNew ? AssetStatements::insert(valueOf) : AssetStatements::update(valueOf, keyValor));
    insertDistribution(keyValor);

    bool registered = false;
    utilerias.RegistraBitacora(AuditTable, key, QString(), registered);
    if (!registered)
        return Outcome::AuditVetoed;
    history.record(m_operator, [this] { return m_stamp; });
    transaction.commit();
    return Outcome::Committed;
}

// The values held for the record, written back whole; never when they
// could not be read, which would lose what is stored.
bool SavePersistence::storeAdditionalFields(const QString &key)
{
    suite::Controles &toolbar = m_screen.toolbar();
    if (toolbar.opcTable().isEmpty())
        return true;
    if (!toolbar.additionalFieldsRead())
        return false;
    try {
        suite::AdditionalFields(m_screen.connection()).store(toolbar.opcTable(), key, toolbar.additionalFieldValues());
    } catch (const suite::SuiteError &) {
        return false;
    }
    return true;
}

QVariant SavePersistence::valueOf(const AssetColumn &column, const Responsible &responsible) const
{
    switch (column.insert) {
    case ValueForm::Text:
        // The responsible key comes from the box of the kind the checks chose.
        if (column.name == u"Af_Responsable"_s)
            return responsible.key;
        return textIn(m_screen.box(column.control));
    case ValueForm::Number:
        // Exact, as typed or read; an empty box stores NULL.
        return m_screen.box(column.control).valor();
    case ValueForm::Integer:
        return m_life;
    case ValueForm::Date: {
        const QDate date = m_screen.controls().require<suite::dpFecha>(column.control)->kitDate();
        return date.isValid() ? QVariant(m_screen.utilerias().FechaSql(date)) : QVariant(QMetaType::fromType<QString>());
    }
    case ValueForm::Stamp:
        return m_stamp;
    case ValueForm::Operator:
        return m_operator;
    case ValueForm::Code:
        return responsible.type;
    case ValueForm::Empty:
    case ValueForm::None:
        break;
    }
    return {};
}

void SavePersistence::insertDistribution(const QString &keyValor)
{
    suite::DataGrid &grid = m_screen.grid();
    grid.MoveFirst();
    const int rows = grid.Rows();
    for (int i = 0; i < rows; ++i) {
        m_screen.execute(AssetStatements::insertDistribution(keyValor, grid.cellValue(u"Clave"_s).toString(),
                                                             grid.cellValue(u"Porcentaje"_s)));
        grid.MoveNext();
    }
}

// The record is stored: what follows must not undo it. Each step runs even
// when an earlier one failed, so the screen still gets back to key entry,
// and one message says the record was kept and what went wrong after.
void SavePersistence::finishAfterCommit(const QString &key)
{
    QStringList failures;
    auto attempt = [&failures](const auto &step) {
        try {
            step();
        } catch (const std::exception &e) {
            failures << AssetScreen::describe(e);
        }
    };
    attempt([&] { m_screen.entorno().RegistraClave(key); });
    attempt([&] { m_screen.toolbar().confirmaaceptar(); });
    attempt([&] { m_commands.Cancelar(); });
    if (failures.isEmpty()) {
        // Back at key entry: the status line says which key the asset got.
        m_screen.status(u"Activo fijo %1 guardado"_s.arg(key));
        return;
    }
    m_screen.message(u"El activo fijo %1 quedó guardado, pero después falló: %2"_s.arg(key, failures.join(u"; "_s)),
                     Critical, Routine, u"ERR-ID:7500028"_s);
}

} // namespace xb733
