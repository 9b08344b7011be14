#include "assets/DepreciationHistory.h"

#include "assets/AssetScreen.h"
#include "assets/SqlLiteral.h"
#include "suite/data/DecimalText.h"
#include "suite/kit/AjusteLista.h"
#include "suite/kit/FormControls.h"
#include "suite/kit/ListView.h"
#include "suite/kit/NumberFormat.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Accounting = u"lvActivoFijoContable"_s;
const QString Tax = u"lvActivoFijoFiscal"_s;

// The lists show dates and amounts in the screen's fixed forms, whatever the
// machine's locale.
QString cellText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(u"dd/MM/yyyy"_s);
    case QMetaType::Double:
        return suite::NumberFormat(u"#,##0.00"_s).format(value.toDouble());
    default:
        return value.toString();
    }
}

// An amount with more digits than a double keeps arrives as its exact text
// (PostgreSQL's NUMERIC), and is shown in the same form as any other.
QString amountText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && !value.isNull()) {
        if (const std::optional<QString> exact = suite::DecimalText::canonical(value.toString()))
            return suite::NumberFormat(u"#,##0.00"_s).formatDecimal(*exact);
    }
    return cellText(value);
}

} // namespace

DepreciationHistory::DepreciationHistory(const AssetScreen &screen)
    : m_screen(screen)
{
}

void DepreciationHistory::fill(const QString &key)
{
    const QString asset = SqlLiteral::inner(key);
    // The whole posting, as the database returns them: the lists number the
    // rows in that order.
    fillList(Accounting, u"SELECT * FROM Activo_Fijo_Depreciacion "_s + u"WHERE Ad_Tipo = 'CO' AND "_s
                             + u"Af_Cve_Activo_Fijo = '"_s + asset + u"' AND "_s + u"Es_Cve_Estado <> 'CA'"_s);
    fillList(Tax, u"SELECT * FROM Activo_Fijo_Depreciacion "_s + u"WHERE Ad_Tipo = 'FI' AND "_s
                      + u"Af_Cve_Activo_Fijo='"_s + asset + u"' AND "_s + u"Es_Cve_Estado <> 'CA'"_s);

    suite::AjusteLista adjust;
    adjust.Ajusta(m_screen.controls().require<suite::ListView>(Accounting));
    adjust.Ajusta(m_screen.controls().require<suite::ListView>(Tax));
}

void DepreciationHistory::fillList(const QString &name, const QString &statement)
{
    const suite::RecordsetPtr rows = m_screen.execute(statement);
    auto *list = m_screen.controls().require<suite::ListView>(name);
    list->clearItems();
    int number = 1;
    while (!rows->Eof()) {
        const int item = list->addItem(QString::number(number));
        list->addSubItem(item, cellText(rows->Fields(u"Ad_Fecha"_s)));
        list->addSubItem(item, cellText(rows->Fields(u"Ad_Centro_Costo"_s)));
        list->addSubItem(item, amountText(rows->Fields(u"Ad_Importe"_s)));
        ++number;
        rows->MoveNext();
    }
    rows->Close();
}

void DepreciationHistory::clear()
{
    m_screen.controls().require<suite::ListView>(Accounting)->clearItems();
    m_screen.controls().require<suite::ListView>(Tax)->clearItems();
}

} // namespace xb733
