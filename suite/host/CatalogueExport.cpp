#include "suite/host/CatalogueExport.h"

#include "suite/data/Connection.h"
#include "suite/data/DecimalText.h"
#include "suite/data/Recordset.h"
#include "suite/data/RowStream.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/host/CsvText.h"
#include "suite/host/ProgressLine.h"
#include "suite/host/RecordLayout.h"
#include "suite/host/ScreenHost.h"
#include "suite/kit/Controles.h"
#include "suite/kit/KeyFormat.h"
#include "suite/kit/TxtKit.h"
#include "suite/session/Session.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const QChar Separator = u',';
constexpr qsizetype FlushBytes = 1 << 16;

void say(const QString &text)
{
    std::fprintf(stderr, "talvexor: %s\n", text.toUtf8().constData());
}

enum class Form { Text, Number, Date, Whole };

QString written(const QVariant &value, Form form)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (form) {
    case Form::Number:
        return DecimalText::fromVariant(value).value_or(value.toString());
    case Form::Date:
        return (value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate()).toString(Qt::ISODate);
    case Form::Whole:
        return QString::number(value.toLongLong());
    case Form::Text:
        break;
    }
    return CsvText::guarded(value.toString());
}

} // namespace

CatalogueExport::CatalogueExport(ScreenHost &host, const TransferOptions &options)
    : m_host(host)
    , m_options(options)
{
}

// The filter's keys as their boxes fill them, so --ubicacion 1 finds 0001.
QString CatalogueExport::where(const RecordLayout &layout) const
{
    auto keyed = [&](const QString &column, const QString &key) {
        for (const TransferColumn &c : layout.columns()) {
            if (c.column == column) {
                if (const auto *box = m_host.form()->findChild<txtKIT *>(c.control))
                    return formatKey(key, box->formatoclave());
            }
        }
        return key;
    };
    const ExportFilter &f = m_options.filter;
    QStringList conditions;
    if (f.state == u"BA"_s)
        conditions << u"a.Es_Cve_Estado = 'BA'"_s;
    else if (f.state == u"AC"_s)
        conditions << u"COALESCE(a.Es_Cve_Estado, '') <> 'BA'"_s;
    if (!f.location.isEmpty())
        conditions << u"a.Au_Cve_Ubicacion = '%1'"_s.arg(sqlEscape(keyed(u"Au_Cve_Ubicacion"_s, f.location)));
    if (!f.type.isEmpty())
        conditions << u"a.Ta_Cve_Tipo_Activo_Fijo = '%1'"_s.arg(sqlEscape(keyed(u"Ta_Cve_Tipo_Activo_Fijo"_s, f.type)));
    if (!f.costCentre.isEmpty()) {
        const QString centre = sqlEscape(keyed(u"Af_Centro_Costo"_s, f.costCentre));
        conditions << u"(a.Af_Centro_Costo = '%1' OR EXISTS (SELECT 1 FROM Activo_Fijo_Centro_Costo f "
                      "WHERE f.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo AND f.Cc_Cve_Centro_Costo = '%1'))"_s.arg(centre);
    }
    return conditions.isEmpty() ? u"1 = 1"_s : conditions.join(u" AND "_s);
}

int CatalogueExport::run()
{
    const bool toStandardOutput = m_options.exportFile == u"-"_s;
    QFile standardOutput;
    QSaveFile file(m_options.exportFile);
    QIODevice &output = toStandardOutput ? static_cast<QIODevice &>(standardOutput) : file;
    const bool opened = toStandardOutput ? standardOutput.open(stdout, QIODevice::WriteOnly)
                                         : file.open(QIODevice::WriteOnly);
    if (!opened) {
        say(u"no se pudo escribir %1: %2"_s.arg(m_options.exportFile, output.errorString()));
        return 2;
    }
    Connection &connection = *m_host.session().connection();
    qint64 assets = 0;
    try {
        const RecordLayout layout(m_host.form(), connection);
        // A spreadsheet takes the file for UTF-8 only with its mark.
        if (!toStandardOutput)
            output.write("\xEF\xBB\xBF");
        connection.BeginUnit(true);
        assets = write(connection, layout, output);
        connection.RollbackUnit();
    } catch (const SuiteError &e) {
        if (connection.unitDepth() > 0)
            connection.RollbackUnit();
        say(u"no se exportó %1: %2"_s.arg(m_options.exportFile, e.description()));
        return 2;
    }
    if (!toStandardOutput && !file.commit()) {
        say(u"no se pudo escribir %1: %2"_s.arg(m_options.exportFile, file.errorString()));
        return 2;
    }
    say(u"%1 activos fijos exportados a %2."_s.arg(assets).arg(toStandardOutput ? u"la salida estándar"_s
                                                                                   : m_options.exportFile));
    return 0;
}

qint64 CatalogueExport::write(Connection &connection, const RecordLayout &layout, QIODevice &output)
{
    // The asset's own columns, as the import reads each.
    QStringList selected;
    QVector<Form> forms;
    QStringList header;
    for (const TransferColumn &c : layout.columns()) {
        header << c.column;
        if (c.kind == u"distribution"_s || c.kind == u"additional"_s)
            continue;
        const auto *box = m_host.form()->findChild<txtKIT *>(c.control);
        selected << u"a."_s + c.column;
        forms << (c.kind == u"date"_s                                       ? Form::Date
                  : c.kind == u"version"_s                                  ? Form::Whole
                  : box && box->numericKind() != txtKIT::NotNumeric ? Form::Number
                                                                            : Form::Text);
    }
    const QString filter = where(layout);
    const auto *toolbar = m_host.form()->findChild<Controles *>();
    const QString table = toolbar ? toolbar->opcTable() : QString();
    const qint64 total =
        connection.Execute(u"SELECT COUNT(*) FROM Activo_Fijo a WHERE "_s + filter)->fieldValue(0).toLongLong();

    // Three reads in the same key order, merged as they go.
    const auto rows = connection.stream(u"SELECT "_s + selected.join(u", "_s) + u" FROM Activo_Fijo a WHERE "_s
                                        + filter + u" ORDER BY a.Af_Cve_Activo_Fijo"_s);
    const auto shares = connection.stream(
        u"SELECT d.Af_Cve_Activo_Fijo, d.Cc_Cve_Centro_Costo, d.Acc_Porcentaje FROM Activo_Fijo_Centro_Costo d "
        "INNER JOIN Activo_Fijo a ON a.Af_Cve_Activo_Fijo = d.Af_Cve_Activo_Fijo WHERE "_s
        + filter + u" ORDER BY a.Af_Cve_Activo_Fijo, d.Cc_Cve_Centro_Costo"_s);
    const auto extras = connection.stream(
        u"SELECT v.Ca_Clave, v.Ca_Campo, v.Ca_Valor FROM Campo_Adicional_Valor v "
        "INNER JOIN Activo_Fijo a ON a.Af_Cve_Activo_Fijo = v.Ca_Clave WHERE v.Ca_Tabla = '"_s
        + sqlEscape(table) + u"' AND "_s + filter + u" ORDER BY a.Af_Cve_Activo_Fijo"_s);
    bool moreShares = shares->next();
    bool moreExtras = extras->next();

    const int distribution = layout.indexOf(u"distribution"_s);
    QByteArray buffer = (CsvText::line(header, Separator) + u"\r\n"_s).toUtf8();
    ProgressLine progress(u"Exportando"_s);
    qint64 count = 0;
    QStringList line;
    while (rows->next()) {
        line.clear();
        for (int i = 0; i < forms.size(); ++i)
            line << written(rows->value(i), forms.at(i));
        const QString key = rows->value(0).toString();

        QStringList spread;
        for (; moreShares && shares->value(0).toString() == key; moreShares = shares->next())
            spread << shares->value(1).toString() + u':' + written(shares->value(2), Form::Number);
        line.insert(distribution, CsvText::guarded(spread.join(u';')));

        QHash<QString, QString> fields;
        for (; moreExtras && extras->value(0).toString() == key; moreExtras = extras->next())
            fields.insert(extras->value(1).toString(), written(extras->value(2), Form::Text));
        for (qsizetype c = distribution + 1; c < layout.columns().size(); ++c)
            line << fields.value(layout.columns().at(c).column);

        buffer += (CsvText::line(line, Separator) + u"\r\n"_s).toUtf8();
        if (buffer.size() >= FlushBytes) {
            if (output.write(buffer) != buffer.size())
                throw SuiteError(output.errorString());
            buffer.clear();
        }
        progress.show(++count, total);
    }
    if (output.write(buffer) != buffer.size())
        throw SuiteError(output.errorString());
    rows->close();
    shares->close();
    extras->close();
    progress.finish();
    return count;
}

} // namespace suite
