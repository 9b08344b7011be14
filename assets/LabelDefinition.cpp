#include "assets/LabelDefinition.h"

#include "assets/AssetScreen.h"
#include "assets/SqlLiteral.h"
#include "suite/data/Recordset.h"
#include "suite/print/DocumentBuilder.h"
#include "suite/services/Variants.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// A type "01" definition holds a whole statement with this marker where the key goes.
const QString StatementType = u"01"_s;
const QString KeyMarker = u"{PARAMETROS}"_s;

} // namespace

std::optional<LabelDefinition> LabelDefinition::read(const AssetScreen &screen, const QString &key)
{
    const suite::RecordsetPtr label = screen.execute(u"SELECT * FROM Etiqueta "_s + u"WHERE Et_Cve_Etiqueta = '"_s
                                                     + SqlLiteral::inner(key) + u"' "_s);
    if (label->Eof()) {
        label->Close();
        return std::nullopt;
    }
    // Only the first definition counts; a NULL in any of the three is a failure.
    LabelDefinition definition;
    definition.m_template = suite::cStr(label->Fields(u"Et_Valor"_s));
    definition.m_statement = suite::cStr(label->Fields(u"Et_Sentencia"_s));
    definition.m_type = suite::cStr(label->Fields(u"Et_Tipo"_s));
    if (label->hasField(u"Et_Hoja"_s)) {
        suite::LabelSheet &sheet = definition.m_sheet;
        sheet.page = label->Fields(u"Et_Hoja"_s).toString().trimmed();
        sheet.rows = label->Fields(u"Et_Filas"_s).toInt();
        sheet.columns = label->Fields(u"Et_Columnas"_s).toInt();
        sheet.topMm = label->Fields(u"Et_Margen_Superior_Mm"_s).toDouble();
        sheet.bottomMm = label->Fields(u"Et_Margen_Inferior_Mm"_s).toDouble();
        sheet.leftMm = label->Fields(u"Et_Margen_Izquierdo_Mm"_s).toDouble();
        sheet.rightMm = label->Fields(u"Et_Margen_Derecho_Mm"_s).toDouble();
        sheet.columnGapMm = label->Fields(u"Et_Separacion_Columnas_Mm"_s).toDouble();
        sheet.rowGapMm = label->Fields(u"Et_Separacion_Filas_Mm"_s).toDouble();
        sheet.start = label->Fields(u"Et_Posicion_Inicial"_s).toInt();
    }
    label->Close();
    return definition;
}

QString LabelDefinition::filledFor(const AssetScreen &screen, const QString &assetKey) const
{
    const suite::RecordsetPtr data = screen.execute(dataStatement(assetKey));
    const QString text = fill(m_template, *data);
    data->Close();
    return text;
}

QString LabelDefinition::dataStatement(const QString &assetKey) const
{
    // The marker stands inside the statement's own quotes, so the key goes in escaped.
    if (m_type == StatementType)
        return QString(m_statement).replace(KeyMarker, SqlLiteral::inner(assetKey), Qt::CaseSensitive);
    return u"EXEC "_s + m_statement + u" '"_s + SqlLiteral::inner(assetKey) + u"' "_s;
}

QString LabelDefinition::fill(const QString &labelTemplate, const suite::Recordset &data)
{
    // The field's name is put in capitals and then looked for exactly, so the
    // same name typed in mixed case stays in the label. Reading a field of a
    // statement that found nothing fails, as the first row is all there is.
    // The values print as the text they are: the print layer fills them in.
    QHash<QString, QString> values;
    for (int i = 0; i < data.fieldCount(); ++i) {
        const QString name = data.fieldName(i).toUpper();
        const QString value = suite::cStr(data.fieldValue(i));
        if (!values.contains(name))
            values.insert(name, value);
    }
    return suite::DocumentBuilder::fillFields(labelTemplate, values);
}

} // namespace xb733
