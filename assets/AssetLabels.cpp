#include "assets/AssetLabels.h"

#include "assets/AssetScreen.h"
#include "assets/SqlLiteral.h"
#include "screen/FormVariables.h"
#include "suite/data/Recordset.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/TxtKit.h"
#include "suite/print/DocumentBuilder.h"
#include "suite/print/Reporte.h"
#include "suite/services/Variants.h"

#include <QHash>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"Controles_B2Click()"_s;
const QString Talvexor = u"Talvexor"_s;
const QString NotConfigured = u"Debe configurar correctamente la variabla<CAT_ETIQUETAS_ACTIVO_FIJO> "_s;
const QString NotConfiguredId = u"ERR-ID:7500031"_s;
const QString UnknownLabel = u"La clave de la etiqueta es incorrecta"_s;
const QString UnknownLabelId = u"ERR-ID:7500032"_s;
const QString FailureId = u"ERR-ID:7500033"_s;

// A type "01" definition holds a whole statement with this marker where the key goes.
const QString StatementType = u"01"_s;
const QString KeyMarker = u"{PARAMETROS}"_s;

} // namespace

AssetLabels::AssetLabels(const AssetScreen &screen)
    : m_screen(screen)
{
}

void AssetLabels::B2Click()
{
    if (m_screen.variables().EtiquetasActivoFijo.isEmpty()) {
        m_screen.message(NotConfigured, 48, Talvexor, NotConfiguredId);
        return;
    }
    try {
        print(m_screen.keyBox().text());
    } catch (const suite::SuiteError &e) {
        m_screen.message(e.description(), 16, Routine, FailureId);
    } catch (const std::exception &e) {
        m_screen.message(QString::fromUtf8(e.what()), 16, Routine, FailureId);
    }
}

void AssetLabels::print(const QString &key)
{
    const suite::RecordsetPtr label = m_screen.execute(
        u"SELECT * FROM Etiqueta "_s + u"WHERE Et_Cve_Etiqueta = '"_s
        + SqlLiteral::inner(m_screen.variables().EtiquetasActivoFijo) + u"' "_s);
    if (label->Eof()) {
        label->Close();
        m_screen.message(UnknownLabel, 48, Talvexor, UnknownLabelId);
        return;
    }
    // Only the first definition counts; a NULL in any of the three is a failure.
    const QString labelTemplate = suite::cStr(label->Fields(u"Et_Valor"_s));
    const QString statement = suite::cStr(label->Fields(u"Et_Sentencia"_s));
    const QString type = suite::cStr(label->Fields(u"Et_Tipo"_s));
    label->Close();

    const suite::RecordsetPtr data = m_screen.execute(dataStatement(statement, type, key));
    const QString text = fill(labelTemplate, *data);
    data->Close();

    suite::Reporte report;
    report.ImprimeTexto(text, QString(), 0, 0, -1, -1, 7, -1);
    m_screen.status(report.impreso() ? u"Activo fijo %1: etiqueta impresa"_s.arg(key)
                                     : u"Activo fijo %1: etiqueta no impresa"_s.arg(key));
}

QString AssetLabels::dataStatement(const QString &statement, const QString &type, const QString &key)
{
    // The marker stands inside the statement's own quotes, so the key goes in escaped.
    if (type == StatementType)
        return QString(statement).replace(KeyMarker, SqlLiteral::inner(key), Qt::CaseSensitive);
    return u"EXEC "_s + statement + u" '"_s + SqlLiteral::inner(key) + u"' "_s;
}

QString AssetLabels::fill(const QString &labelTemplate, const suite::Recordset &data)
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
