#include "screen/UnsavedWork.h"

#include "suite/kit/FormControls.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/TxtKit.h"

#include <QMetaProperty>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// The record's inputs: the key box, the fields (group 1) and the grid (group 5).
bool isInput(const QString &name, const QWidget *w)
{
    const QString tag = w->property("tag").toString();
    return name == u"txt_Af_Cve_Activo_Fijo"_s || tag == u"1"_s || tag == u"5"_s;
}

QStringList gridValues(const suite::DataGrid &grid)
{
    QStringList out;
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column) {
            const QString name = grid.columnName(column);
            // The row being typed reads its open editor.
            out << (row == grid.Row() ? grid.cellText(name) : grid.text(row, name));
        }
    }
    return out;
}

} // namespace

UnsavedWork::UnsavedWork(const suite::FormControls &controls)
    : m_controls(controls)
{
}

void UnsavedWork::remember()
{
    m_remembered = values();
}

bool UnsavedWork::pending() const
{
    const auto *toolbar = m_controls.as<suite::Controles>(u"Controles"_s);
    return toolbar && toolbar->editando() && values() != m_remembered;
}

QStringList UnsavedWork::values() const
{
    QStringList out;
    for (const QString &name : m_controls.names()) {
        const QWidget *w = m_controls.widget(name);
        if (!w || !isInput(name, w))
            continue;
        if (const auto *grid = qobject_cast<const suite::DataGrid *>(w)) {
            out << name << gridValues(*grid);
            continue;
        }
        // A numeric box by the number it holds: shown whole while edited, in
        // its format once left, it holds the same value.
        if (const auto *box = qobject_cast<const suite::txtKIT *>(w);
            box && box->numericKind() != suite::txtKIT::NotNumeric && box->holdsNumber()) {
            out << name + u'=' + box->decimal();
            continue;
        }
        // Each kit input declares the member that holds what the user entered.
        const QMetaProperty user = w->metaObject()->userProperty();
        if (user.isValid())
            out << name + u'=' + user.read(w).toString();
    }
    return out;
}

} // namespace xb733
