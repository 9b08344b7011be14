#include "suite/host/StateDump.h"

#include "suite/data/SuiteError.h"
#include "suite/host/JsonText.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/KitEnabled.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QJsonArray>
#include <QLabel>
#include <QMetaProperty>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// A control's own enabled flag as its `enabled` member reads it: the kit
// redeclares the member to give the own flag; for plain widgets (whose
// member gives the inherited state) the own flag is read directly.
bool ownEnabledMember(const QWidget *control)
{
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfProperty("enabled");
    if (index >= QWidget::staticMetaObject.propertyCount())
        return meta->property(index).read(control).toBool();
    return ownEnabled(control);
}

QString strings(const QStringList &texts)
{
    QStringList items;
    items.reserve(texts.size());
    for (const QString &text : texts)
        items.append(JsonText::value(text));
    return JsonText::array(items);
}

QJsonValue gridValue(const DataGrid *grid, int row, int column)
{
    const QString name = grid->columnName(column);
    if (grid->columnDataType(column) == 8)
        return grid->text(row, name);
    const QVariant value = grid->value(row, name);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || value.isNull() || !ok)
        return QJsonValue(QJsonValue::Null);
    return number;
}

void addKindState(JsonText &state, QWidget *control)
{
    if (auto *box = qobject_cast<txtKIT *>(control)) {
        state.add(u"text"_s, box->text());
        // A number as the exact decimal the box holds, not a double near it.
        if (box->numericKind() != txtKIT::NotNumeric && !box->decimal().isEmpty())
            state.addRaw(u"valor"_s, box->decimal());
        else
            state.add(u"valor"_s, box->numericKind() != txtKIT::NotNumeric ? QJsonValue(QJsonValue::Null)
                                                                           : JsonText::fromVariant(box->valor()));
        if (box->esclave()) {
            state.add(u"nuevo"_s, box->nuevo());
            state.add(u"formatoclave"_s, box->formatoclave());
        }
    } else if (auto *label = qobject_cast<Etiqueta *>(control)) {
        state.add(u"caption"_s, label->caption());
    } else if (auto *plainLabel = qobject_cast<QLabel *>(control)) {
        state.add(u"caption"_s, plainLabel->text());
    } else if (auto *option = qobject_cast<OptionButton *>(control)) {
        state.add(u"value"_s, option->value());
    } else if (auto *button = qobject_cast<QAbstractButton *>(control); button && button->isCheckable()) {
        state.add(u"value"_s, button->isChecked());
    } else if (auto *picker = qobject_cast<dpFecha *>(control)) {
        state.add(u"date"_s, picker->kitDate().toString(Qt::ISODate)); // "" when it holds no date
    } else if (auto *list = qobject_cast<ListView *>(control)) {
        QStringList columns;
        for (int c = 0; c < list->columnHeaderCount(); ++c)
            columns.append(list->columnHeaderText(c));
        QStringList items;
        for (int i = 0; i < list->itemCount(); ++i)
            items.append(strings(list->itemTexts(i)));
        state.addRaw(u"columns"_s, strings(columns));
        state.addRaw(u"items"_s, JsonText::array(items));
    } else if (auto *grid = qobject_cast<DataGrid *>(control)) {
        QStringList rows;
        for (int r = 0; r < grid->Rows(); ++r) {
            JsonText row;
            for (int c = 0; c < grid->columnCount(); ++c)
                row.add(grid->columnName(c), gridValue(grid, r, c));
            rows.append(row.toString());
        }
        state.addRaw(u"rows"_s, JsonText::array(rows));
        JsonText current;
        current.add(u"row"_s, grid->Row());
        current.add(u"column"_s, grid->Col() >= 0 ? QJsonValue(grid->columnName(grid->Col()))
                                                  : QJsonValue(QJsonValue::Null));
        state.add(u"current"_s, current);
    } else if (auto *strip = qobject_cast<ssTbKit *>(control)) {
        state.add(u"tab"_s, strip->tab());
    }
}

} // namespace

StateDump::StateDump(QWidget *form)
    : m_form(form)
{}

QList<QWidget *> StateDump::controls() const
{
    QList<QWidget *> found;
    const auto widgets = m_form->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->objectName().isEmpty() && widget->property("tag").isValid())
            found.append(widget);
    }
    return found;
}

QWidget *StateDump::control(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    if (m_form->objectName() == name)
        return m_form;
    const auto candidates = m_form->findChildren<QWidget *>(name);
    for (QWidget *candidate : candidates) {
        if (candidate->property("tag").isValid())
            return candidate;
    }
    return candidates.isEmpty() ? nullptr : candidates.constFirst();
}

JsonText StateDump::controlState(QWidget *control) const
{
    JsonText state;
    state.add(u"enabled"_s, ownEnabledMember(control));
    state.add(u"effective"_s, effectiveEnabled(control));
    state.add(u"visible"_s, control->isVisibleTo(m_form));
    state.add(u"tag"_s, control->property("tag").toString());
    const QRectF twips = twipsGeometry(control);
    state.add(u"left"_s, twips.left());
    state.add(u"top"_s, twips.top());
    state.add(u"width"_s, twips.width());
    state.add(u"height"_s, twips.height());
    addKindState(state, control);
    return state;
}

JsonText StateDump::toolbarState() const
{
    JsonText state;
    const auto *toolbar = m_form->findChild<Controles *>();
    if (!toolbar)
        return state;
    state.add(u"editando"_s, toolbar->editando());
    state.add(u"estadoinicial"_s, toolbar->estadoinicial());
    state.add(u"modificarenabled"_s, toolbar->modificarenabled());
    state.add(u"eliminarenabled"_s, toolbar->eliminarenabled());
    state.add(u"reactivarenabled"_s, toolbar->reactivarenabled());
    state.add(u"informacionenabled"_s, toolbar->informacionenabled());
    state.add(u"b1caption"_s, toolbar->b1caption());
    state.add(u"b2caption"_s, toolbar->b2caption());
    state.add(u"b3caption"_s, toolbar->b3caption());
    state.add(u"clave"_s, toolbar->clave());
    state.addRaw(u"offered"_s, strings(toolbar->offered()));
    return state;
}

JsonText StateDump::dump(const QStringList &names) const
{
    QList<QWidget *> chosen;
    if (names.isEmpty()) {
        chosen = controls();
    } else {
        for (const QString &name : names) {
            QWidget *widget = control(name);
            if (!widget)
                throw SuiteError(u"No existe el control %1."_s.arg(name));
            chosen.append(widget);
        }
    }

    const QList<QWidget *> all = controls();
    QJsonValue focus(QJsonValue::Null);
    for (QWidget *w = QApplication::focusWidget(); w && w != m_form->parentWidget(); w = w->parentWidget()) {
        if (all.contains(w)) {
            focus = w->objectName();
            break;
        }
    }
    const auto *strip = m_form->findChild<ssTbKit *>();

    JsonText form;
    form.add(u"width"_s, qRound(pixelsToTwipsX(m_form, m_form->width())));
    form.add(u"height"_s, qRound(pixelsToTwipsY(m_form, m_form->height())));

    JsonText states;
    for (QWidget *widget : std::as_const(chosen))
        states.add(widget->objectName(), controlState(widget));

    JsonText event;
    event.add(u"event"_s, u"dump"_s);
    event.add(u"form"_s, form);
    event.add(u"tab"_s, strip ? QJsonValue(strip->tab()) : QJsonValue(QJsonValue::Null));
    event.add(u"focus"_s, focus);
    const JsonText toolbar = toolbarState();
    if (toolbar.isEmpty())
        event.addRaw(u"toolbar"_s, u"null"_s);
    else
        event.add(u"toolbar"_s, toolbar);
    event.add(u"controls"_s, states);
    return event;
}

} // namespace suite
