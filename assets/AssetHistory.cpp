#include "assets/AssetHistory.h"

#include "assets/AssetScreen.h"
#include "assets/SqlLiteral.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/services/AdditionalFields.h"

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// The entity code the record information of the screen shows the history of.
const QString Entity = u"ACTIVO_FIJO"_s;
const QString Table = u"Activo_Fijo"_s;
// What any write stamps on the row by itself, and the row's own key.
const QStringList Unrecorded = {u"Af_Cve_Activo_Fijo"_s, u"Oper_Alta"_s,       u"Fecha_Alta"_s,
                                u"Oper_Ult_Modif"_s,     u"Fecha_Ult_Modif"_s, u"Af_Version"_s};

} // namespace

AssetHistory::AssetHistory(const AssetScreen &screen, const QString &key, const char *command)
    : m_screen(screen)
    , m_key(key)
    , m_command(QString::fromUtf8(command))
    , m_before(read())
{
}

suite::RecordHistory::Values AssetHistory::read() const
{
    suite::RecordHistory::Values values;
    const QString key = u"'"_s + SqlLiteral::inner(m_key) + u"'"_s;
    const suite::RecordsetPtr row = m_screen.execute(u"SELECT * FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = "_s + key);
    const QVariant none(QMetaType::fromType<QString>());
    // Named as the schema spells them, whatever case the backend reports.
    for (const suite::ColumnDef &column : suite::Schema::table(Table)->columns) {
        if (!Unrecorded.contains(column.name))
            values.append({column.name, row->Eof() || !row->hasField(column.name) ? none : row->Fields(column.name)});
    }
    const suite::RecordsetPtr shares = m_screen.execute(
        u"SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo WHERE Af_Cve_Activo_Fijo = "_s
        + key + u" ORDER BY Cc_Cve_Centro_Costo"_s);
    for (; !shares->Eof(); shares->MoveNext())
        values.append({u"distribución "_s + shares->fieldValue(0).toString(), shares->fieldValue(1)});
    const QString fieldsTable = m_screen.toolbar().opcTable();
    if (!fieldsTable.isEmpty()) {
        const suite::AdditionalFields::Values fields =
            suite::AdditionalFields(m_screen.connection()).values(fieldsTable, m_key);
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            values.append({u"campo adicional "_s + it.key(), it.value()});
    }
    const suite::RecordsetPtr made = m_screen.execute(
        u"SELECT 'equipo' AS Registro, Eq_Cve_Equipo AS Clave FROM Equipo WHERE Eq_Activo_Fijo = "_s + key
        + u" UNION ALL SELECT 'vehículo', Vh_Cve_Vehiculo FROM Vehiculo WHERE Af_Cve_Activo_Fijo = "_s + key);
    for (; !made->Eof(); made->MoveNext())
        values.append({made->fieldValue(0).toString(), made->fieldValue(1)});
    return values;
}

void AssetHistory::record(const QString &user, const std::function<QString()> &stamp) const
{
    suite::RecordHistory(m_screen.connection(), Entity, m_key).record(m_before, read(), m_command, user, stamp);
}

} // namespace xb733
