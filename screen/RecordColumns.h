#pragma once

#include <QVariantList>

namespace xb733 {

// What a host needs to bring records in and out through the screen, as
// plain data it can read late-bound (frmXB733's recordColumns): the asset's
// columns that a user enters, one map each, in the table's order, then the
// distribution. Each map holds
//   column   the database name ("Af_Descripcion", "Activo_Fijo_Centro_Costo")
//   caption  the field's label on the screen, without its colon
//   kind     "key", "text" (a text or numeric box: its widget says which),
//            "date", "responsibleType", "responsible", "state", "version",
//            "distribution"
//   control  the field's design name (none for responsible, state, version)
//   controls by code ("EM", "CL"): the option button (responsibleType) or the
//            key box (responsible) of each kind of responsible party
//   required the accept refuses the record without it
class RecordColumns
{
public:
    static QVariantList describe();
};

} // namespace xb733
