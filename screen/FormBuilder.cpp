#include "screen/FormBuilder.h"

#include "suite/kit/FormControls.h"
#include "screen/FormDescription.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/ColorKit.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/Frame.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/Shape.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/Twips.h"
#include "suite/kit/TxtKit.h"

#include <QHash>
#include <QMetaProperty>
#include <QPalette>
#include <QWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

QWidget *create(ControlKind kind, QWidget *parent)
{
    switch (kind) {
    case ControlKind::ColorScheme: return new suite::colorKIT(parent);
    case ControlKind::Toolbar: return new suite::Controles(parent);
    case ControlKind::TabStrip: return new suite::ssTbKit(parent);
    case ControlKind::Frame: return new suite::Frame(parent);
    case ControlKind::Shape: return new suite::Shape(parent);
    case ControlKind::Label: return new suite::Etiqueta(parent);
    case ControlKind::TextBox: return new suite::txtKIT(parent);
    case ControlKind::DatePicker: return new suite::dpFecha(parent);
    case ControlKind::OptionButton: return new suite::OptionButton(parent);
    case ControlKind::ListView: return new suite::ListView(parent);
    case ControlKind::Grid: return new suite::DataGrid(parent);
    }
    return nullptr;
}

// Design properties are the control's own: a misspelt name would otherwise
// become a dynamic property and silently configure nothing.
void setDesignProperty(QWidget *widget, const QString &name, const QVariant &value)
{
    const QByteArray key = name.toLatin1();
    if (widget->metaObject()->indexOfProperty(key.constData()) < 0)
        throw suite::SuiteError(u"El control %1 no tiene la propiedad %2"_s.arg(widget->objectName(), name));
    widget->setProperty(key.constData(), value);
}

void setIdentity(QWidget *widget, const QString &name, const QString &tag, int tabIndex)
{
    widget->setObjectName(name);
    widget->setProperty("tag", tag);
    widget->setProperty("tabindex", tabIndex);
}

suite::Etiqueta *addLabel(QWidget *container, const ControlDescription &d, suite::FormControls &controls)
{
    auto *label = new suite::Etiqueta(container);
    setIdentity(label, d.label.name, QString(), -1);
    label->setCaption(d.label.caption);
    label->setIdetiqueta(d.label.idetiqueta);
    label->setKitAlignment(1);
    suite::setTwipsGeometry(label, d.label.left, d.top, d.label.width, FormDescription::LabelHeight);
    controls.add(d.label.name, label);
    return label;
}

// "Clave activo fijo:" is read out as "Clave activo fijo".
QString spoken(const QString &caption)
{
    QString text = caption.trimmed();
    while (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

QString designCaption(const ControlDescription &d)
{
    for (const DesignProperty &p : d.properties) {
        if (p.first == u"caption"_s)
            return p.second.toString();
    }
    return {};
}

// What a screen reader calls each control, from the table itself: the label
// beside it (a control with a caption of its own, an option button, keeps it
// and the label describes it), else its own caption (lists, the grid), else,
// for a description box, the label of the box whose lookup fills it.
void nameForAssistiveTechnology(QWidget *widget, const ControlDescription &d, suite::Etiqueta *label,
                                const QHash<QString, QString> &describedBy)
{
    const QString own = designCaption(d);
    if (label) {
        label->setBuddy(widget);
        if (own.isEmpty())
            widget->setAccessibleName(spoken(d.label.caption));
        else
            widget->setAccessibleDescription(spoken(d.label.caption));
        return;
    }
    if (!own.isEmpty() && d.kind != ControlKind::Toolbar) {
        widget->setAccessibleName(own);
        return;
    }
    const QString owner = describedBy.value(d.name);
    if (!owner.isEmpty())
        widget->setAccessibleName(u"%1 (descripción)"_s.arg(spoken(owner)));
}

// The box each lookup fills, with the caption of the label beside the lookup's box.
QHash<QString, QString> lookupResults(const QVector<ControlDescription> &description)
{
    QHash<QString, QString> owners;
    for (const ControlDescription &d : description) {
        if (!d.lookup.resultado.isEmpty())
            owners.insert(d.lookup.resultado, d.label.caption);
    }
    return owners;
}

void applyLookup(QWidget *widget, const LookupDescription &lookup)
{
    if (lookup.idconsulta.isEmpty())
        return;
    setDesignProperty(widget, u"idconsulta"_s, lookup.idconsulta);
    setDesignProperty(widget, u"sql"_s, lookup.sql);
    setDesignProperty(widget, u"sql_control_resultado"_s, lookup.resultado);
    setDesignProperty(widget, u"transaccion"_s, lookup.transaccion);
}

void applyTabOrder(const QVector<ControlDescription> &description, const suite::FormControls &controls)
{
    QVector<const ControlDescription *> stops;
    for (const ControlDescription &d : description) {
        if (d.tabIndex >= 0 && d.tabStop)
            stops.append(&d);
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const ControlDescription *a, const ControlDescription *b) { return a->tabIndex < b->tabIndex; });
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(controls.widget(stops[i - 1]->name), controls.widget(stops[i]->name));
}

} // namespace

void FormBuilder::build(QWidget *form, const QVector<ControlDescription> &description, suite::FormControls &controls)
{
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(FormBackColour));
    form->setPalette(palette);
    form->setAutoFillBackground(true);

    const QHash<QString, QString> describedBy = lookupResults(description);
    for (const ControlDescription &d : description) {
        QWidget *container = form;
        if (!d.container.isEmpty()) {
            container = controls.widget(d.container);
            if (!container)
                throw suite::SuiteError(u"El contenedor %1 de %2 no existe"_s.arg(d.container, d.name));
        }

        suite::Etiqueta *label = d.label.name.isEmpty() ? nullptr : addLabel(container, d, controls);

        QWidget *widget = create(d.kind, container);
        setIdentity(widget, d.name, d.tag, d.tabIndex);
        if (!d.tabStop)
            widget->setFocusPolicy(Qt::NoFocus);

        if (auto *strip = qobject_cast<suite::ssTbKit *>(container); strip && d.page >= 0)
            strip->addTabControl(d.page, widget);

        if (d.kind == ControlKind::ColorScheme)
            widget->hide();
        else
            suite::setTwipsGeometry(widget, d.left, d.top, d.width, d.height);

        applyLookup(widget, d.lookup);
        for (const DesignProperty &p : d.properties)
            setDesignProperty(widget, p.first, p.second);

        // After the properties: the strip's captions need its tab count.
        if (auto *strip = qobject_cast<suite::ssTbKit *>(widget)) {
            for (int i = 0; i < d.tabCaptions.size(); ++i)
                strip->setTabCaption(i, d.tabCaptions.at(i));
        }
        if (auto *grid = qobject_cast<suite::DataGrid *>(widget)) {
            for (const GridColumnDescription &c : d.columns)
                grid->addColumn(c.name, c.caption, c.dataType, c.numberFormat);
        }

        nameForAssistiveTechnology(widget, d, label, describedBy);
        controls.add(d.name, widget);
    }

    applyTabOrder(description, controls);
}

} // namespace xb733
