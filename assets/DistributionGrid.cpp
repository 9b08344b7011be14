#include "assets/DistributionGrid.h"

#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "assets/FormVariables.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/KeyFormat.h"
#include "suite/services/Utilerias.h"

#include <QScopeGuard>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Clave = u"Clave"_s;
const QString Descripcion = u"Descripción"_s;
const QString Porcentaje = u"Porcentaje"_s;

// Data type codes of the numeric columns: integers, single, double, currency.
bool isNumericType(int dataType)
{
    return QStringLiteral("23456").contains(QString::number(dataType));
}

} // namespace

DistributionGrid::DistributionGrid(const AssetScreen &screen)
    : m_screen(screen)
    , m_numbers(screen)
{
}

QString DistributionGrid::currentColumn() const
{
    const suite::DataGrid &grid = m_screen.grid();
    return grid.columnName(grid.Col());
}

void DistributionGrid::fill(const QString &key)
{
    suite::DataGrid &grid = m_screen.grid();
    const suite::RecordsetPtr rows = m_screen.execute(u"SELECT Cc_Cve_Centro_Costo, "_s + u"   Acc_Porcentaje "_s
                                                      + u"FROM Activo_Fijo_Centro_Costo "_s
                                                      + u"WHERE Af_Cve_Activo_Fijo = '"_s + SqlLiteral::inner(key)
                                                      + u"'"_s);
    grid.setRedraw(false);
    // A failed look-up must not leave the grid frozen.
    const auto redraw = qScopeGuard([&grid] { grid.setRedraw(true); });
    grid.RemoveAll();
    while (!rows->Eof()) {
        grid.AddNew();
        const QVariant centre = rows->Fields(u"Cc_Cve_Centro_Costo"_s);
        const suite::RecordsetPtr described = m_screen.execute(
            u"SELECT Cc_Descripcion "_s + u"FROM Centro_Costo "_s + u"WHERE Cc_Cve_Centro_Costo = '"_s
            + SqlLiteral::inner(centre.toString()) + u"'"_s + u"   AND Es_Cve_Estado <> 'BA'"_s);
        grid.setCellText(Clave, centre.toString());
        grid.setCellText(Descripcion, described->Eof() ? QString() : described->Fields(u"Cc_Descripcion"_s).toString());
        grid.setCellValue(Porcentaje, rows->Fields(u"Acc_Porcentaje"_s));
        described->Close();
        rows->MoveNext();
        grid.Update();
    }
    rows->Close();
    grid.setRedraw(true);
    grid.MoveFirst();
}

void DistributionGrid::KeyPress(short &keyAscii)
{
    try {
        filterKey(keyAscii);
    } catch (const std::exception &e) {
        m_screen.fail(e, u"ssDetalle_KeyPress()"_s, u"ERR-ID:7500047"_s);
    }
}

void DistributionGrid::filterKey(short &keyAscii)
{
    if (keyAscii == KeyEnter)
        keyAscii = 0;
    if (!m_screen.toolbar().editando()) {
        // Nothing is typed into a distribution that is not being edited.
        keyAscii = 0;
        m_screen.utilerias().EnviaTecla(u"\t"_s, 0, QVariant());
        return;
    }
    const suite::DataGrid &grid = m_screen.grid();
    if (grid.Col() < 0)
        return;
    if (isNumericType(grid.columnDataType(grid.Col()))) {
        const bool allowed = keyAscii == KeyBackspace
            || (keyAscii > 0 && QStringLiteral(".0123456789-").contains(QChar(ushort(keyAscii))));
        if (!allowed)
            keyAscii = 0;
    }
}

void DistributionGrid::KeyDown(short &keyCode, short)
{
    // Enter moves on as TAB does; it is never typed.
    if (keyCode == KeyEnter)
        m_screen.utilerias().EnviaTecla(u"\t"_s, 0, QVariant());
}

void DistributionGrid::KeyUp(short &keyCode, short)
{
    if (m_screen.grid().Col() < 0)
        return;
    try {
        if (keyCode == KeyF2 && currentColumn() == Clave) {
            const QString chosen = m_screen.utilerias().Consulta(u"CENTRO_COSTO"_s, 100, QString(), nullptr);
            if (!chosen.isEmpty())
                m_screen.grid().setCellText(Clave, chosen);
        }
    } catch (const std::exception &e) {
        m_screen.fail(e, u"ssDetalle_KeyUp()"_s, u"ERR-ID:7500048"_s);
    }
}

void DistributionGrid::Change()
{
    // While a key is typed no stale description stays beside it.
    if (currentColumn() == Clave)
        m_screen.grid().setCellText(Descripcion, QString());
}

void DistributionGrid::BeforeRowColChange(short &cancel)
{
    const suite::DataGrid &grid = m_screen.grid();
    if (grid.Col() < 0 || grid.cellText(grid.columnName(grid.Col())).isEmpty())
        return;
    if (currentColumn() == Clave && !describeKey())
        cancel = 1;
    // The key-press filter lets through "1..2" and "5-5", one character at a time.
    if (currentColumn() == Porcentaje && !m_numbers.shareLeft(grid.cellValue(Porcentaje)))
        cancel = 1;
}

bool DistributionGrid::describeKey()
{
    if (currentColumn() != Clave)
        return true;
    suite::DataGrid &grid = m_screen.grid();
    const QString key = suite::formatKey(grid.cellText(Clave), m_screen.variables().FormatoCentroCosto);
    grid.setCellText(Clave, key);

    const suite::RecordsetPtr row = m_screen.execute(u"SELECT Cc_Descripcion "_s + u"FROM Centro_Costo "_s
                                                     + u"WHERE Cc_Cve_Centro_Costo = '"_s + SqlLiteral::inner(key)
                                                     + u"'"_s + u"   AND Es_Cve_Estado <> 'BA'"_s);
    const QString description = row->Eof() ? QString() : row->Fields(u"Cc_Descripcion"_s).toString();
    row->Close();
    if (description.isEmpty()) {
        // Unknown or deactivated: the key goes and the user stays on the cell.
        grid.setCellText(Clave, QString());
        return false;
    }
    if (description != grid.cellText(Descripcion)) {
        grid.setCellText(Descripcion, description);
        grid.setCellValue(Porcentaje, 0);
    }
    return true;
}

void DistributionGrid::BeforeDelete(short &, short &dispPromptMsg)
{
    dispPromptMsg = 0;
}

void DistributionGrid::centreChanged()
{
    if (!m_screen.text(u"txtCentroCosto"_s).isEmpty())
        m_screen.utilerias().LimpiaControles(&m_screen.form(), GridGroup);
    else
        m_screen.setEnabled(u"ssDetalle"_s, true);
}

} // namespace xb733
