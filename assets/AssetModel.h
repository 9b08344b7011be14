#pragma once

#include <QString>
#include <QVector>

namespace xb733 {

// How the save writes a column's value into its statement.
enum class ValueForm {
    None,     // the save never writes the column
    Text,     // the field's text, quoted
    Empty,    // '' whatever the screen shows
    Number,   // the field's valor as an SQL number
    Integer,  // a 16-bit integer
    Date,     // a picker's date through Utilerias.FechaSql, quoted
    Stamp,    // the save's server date-time through Utilerias.FechaTexto, quoted
    Operator, // Entorno.Usuario, quoted
    Code      // a fixed code ("EM", "CL", "AC", "BA"), quoted
};

// How loading a record puts the column on the screen.
enum class LoadAs {
    Nothing,  // not loaded into a field
    Text,     // the box's text
    Valor,    // the box's valor
    Date,     // the picker's date
    Special   // worked out by the load itself (factors, last depreciation, responsible)
};

// The load fills the boxes in three phases, around the values it works out
// itself: the record's heading up to the cost (the factors divide by it),
// then the accounts, purchase and identification after the factors and the
// last depreciation, then the rest after the responsible.
enum class LoadPhase {
    UpToCost,       // description, type, company, location, cost centre, project, UEN, cost
    Purchase,       // accounts, supplier, invoice, purchase date, serial, economic number, brand, model
    AfterResponsible // qualification, useful life, the user's own fields
};

// One column of an asset table: where its value comes from on the screen and
// how each operation treats it.
struct AssetColumn
{
    QString name;          // as the schema spells it
    QString control;       // the screen field, empty when none
    int tab = -1;          // the page of ssTabKit that holds the field
    ValueForm insert = ValueForm::None;
    bool onUpdate = false; // written by the update, in the insert's form
    int maxLength = 0;     // what the field lets a user type, 0 when unbounded
    int loadOrder = 0;     // place in the load's sequence, 0 when not loaded
    LoadAs load = LoadAs::Nothing;
};

// The two tables the screen owns, declared once: the load reads by it, the
// save builds its statements from it, and the tests check it against the
// schema and the form.
class AssetModel
{
public:
    static constexpr auto AssetTable = "Activo_Fijo";
    static constexpr auto DistributionTable = "Activo_Fijo_Centro_Costo";

    // Activo_Fijo: the saved columns in the insert's order, then those the
    // save never writes.
    static const QVector<AssetColumn> &assetColumns();
    // Activo_Fijo_Centro_Costo, in the distribution insert's order.
    static const QVector<AssetColumn> &distributionColumns();

    // The column of Activo_Fijo by name (case-insensitive); throws when none.
    static const AssetColumn &column(const QString &name);

    static QVector<const AssetColumn *> insertColumns(); // the 36 the insert names
    static QVector<const AssetColumn *> updateColumns(); // the 31 the update assigns
    // The columns the load sets in the phase, in the load's order.
    static QVector<const AssetColumn *> loadPhase(LoadPhase phase);
};

} // namespace xb733
