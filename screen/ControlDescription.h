#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <utility>

namespace xb733 {

enum class ControlKind {
    ColorScheme, // colorKIT
    Toolbar,     // Controles
    TabStrip,    // ssTbKit
    Frame,
    Shape,
    Label,       // Etiqueta
    TextBox,     // txtKIT
    DatePicker,  // dpFecha
    OptionButton,
    ListView,
    Grid,        // DataGrid
};

// One kit property as the designer stores it: applied late-bound, in the order
// written, so a numeric style is set before the text it formats.
using DesignProperty = std::pair<QString, QVariant>;

// The label that stands beside a box: same top as the box, left 0 and 2175
// wide unless the layout says otherwise.
struct LabelDescription
{
    QString name;     // empty: the control has no label
    QString caption;
    QString idetiqueta;
    double left = 0;
    double width = 2175;
};

// The lookup a key box carries: search dialog id, description query and the
// box that shows the query's first column.
struct LookupDescription
{
    QString idconsulta;
    QString sql;
    QString resultado;   // sql_control_resultado
    QString transaccion; // the sibling catalogue the lookup can open
};

struct GridColumnDescription
{
    QString name;
    QString caption;
    int dataType = 8; // 8 text, 5 double
    QString numberFormat;
};

// One control of the form as designed. Positions are twips relative to the
// container; a control on the tab strip names the page it belongs to.
struct ControlDescription
{
    QString name;
    ControlKind kind = ControlKind::TextBox;
    QString container; // empty: the form itself
    int page = -1;     // tab page when the container is the tab strip
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    int tabIndex = -1; // -1: no place in the tab order
    bool tabStop = true;
    QString tag;
    LabelDescription label;
    LookupDescription lookup;
    QVector<DesignProperty> properties;
    QStringList tabCaptions;                 // tab strip only
    QVector<GridColumnDescription> columns;  // grid only
};

} // namespace xb733
