#include "tests/reliability/AttemptScript.h"

#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/data/SqlText.h"
#include "tests/support/HostScript.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString CancelLine = u"toolbar Cancelar"_s;
const QString NothingToCancel = u"La barra no ofrece Cancelar ahora."_s;

} // namespace

void typeAsTyped(HostDatabase &db)
{
    db.execute(u"UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable IN ('CAT_AUTOCLAVE', 'CAT_FORZAR_MAYUSCULAS')"_s);
}

QStringList rowsOf(HostDatabase &db, const QString &statement)
{
    QStringList out;
    const suite::RecordsetPtr rows = db.connection().Execute(statement); // held while its rows are read
    for (const auto &row : rows->rows()) {
        QStringList values;
        for (const QVariant &v : row)
            values << (v.isNull() ? u"NULL"_s : v.toString());
        out << values.join(u'|');
    }
    return out;
}

QMap<QString, int> countsOf(HostDatabase &db, const QString &statement)
{
    QMap<QString, int> out;
    for (const QString &row : rowsOf(db, statement))
        out.insert(row.section(u'|', 0, -2), row.section(u'|', -1).toInt());
    return out;
}

QStringList distributionOf(HostDatabase &db, const QString &key)
{
    QStringList out;
    for (const QString &row : rowsOf(db, u"SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo "
                                         "WHERE Af_Cve_Activo_Fijo = '"_s + suite::sqlEscape(key) + u"'"_s))
        out << row.section(u'|', 0, 0) + u'=' + QString::number(row.section(u'|', 1).toDouble());
    out.sort();
    return out;
}

QString hostTrouble(const HostRun &run)
{
    // Built with TALVEXOR_SANITIZE, a host reports what the sanitizers found
    // on its standard error (UBSan's reports go nowhere else).
    for (const QString &mark : {u"runtime error:"_s, u"ERROR: AddressSanitizer"_s, u"ERROR: LeakSanitizer"_s}) {
        if (const qsizetype at = run.errorOutput.indexOf(mark); at >= 0)
            return run.errorOutput.mid(qMax<qsizetype>(0, at - 200), 3000);
    }
    return run.exitCode == 0 || run.exitCode == 1 ? QString() : u"exit %1: %2"_s.arg(run.exitCode).arg(run.errorOutput.right(2000));
}

QString AttemptScript::word(const QString &text)
{
    QString t;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            t += u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            t += c == u'\\' || c == u'"' ? u'\\' + QString(c) : QString(c);
    }
    return u'"' + t + u'"';
}

QString AttemptScript::setText(const QString &control, const QString &text)
{
    return u"set %1 text %2\n"_s.arg(control, word(text));
}

QString AttemptScript::load(const QString &key)
{
    return setText(u"txt_Af_Cve_Activo_Fijo"_s, key) + u"key txt_Af_Cve_Activo_Fijo Return\n"_s;
}

QStringList AttemptScript::spread(int n, int rows)
{
    static const QStringList centres = {u"000120"_s, u"000130"_s, u"000140"_s, u"000150"_s, u"000160"_s, u"000170"_s};
    static const QList<QList<double>> splits = {{100}, {60, 40}, {50, 30, 20}, {33.33, 33.33, 33.34}, {10, 45, 45}, {60, 25, 15}};
    const QList<double> &split = splits.at(rows < 3 ? rows - 1 : 2 + n % 4);
    QStringList out;
    for (int r = 0; r < rows; ++r)
        out << centres.at((n + r) % centres.size()) + u'=' + QString::number(split.at(r));
    out.sort();
    return out;
}

QString AttemptScript::grid(const QStringList &distribution)
{
    QString s = u"tab 1\n"_s;
    for (qsizetype r = 0; r < distribution.size(); ++r)
        s += u"cell %1 Clave %2\ncell %1 Porcentaje %3\n"_s.arg(r).arg(distribution[r].section(u'=', 0, 0), distribution[r].section(u'=', 1));
    return s + u"tab 0\n"_s;
}

QString AttemptScript::required(const QString &key, const QString &description)
{
    return u"toolbar Nuevo\n"_s + setText(u"txt_Af_Cve_Activo_Fijo"_s, key) + setText(u"txt_Af_Descripcion"_s, description)
           + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s) + setText(u"txtEmpresa"_s, u"0001"_s)
           + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s) + setText(u"txt_Costo_Original"_s, u"100"_s);
}

QString AttemptScript::newAsset(const QString &key, const QString &description, const QString &serial,
                                const QString &economic, const QString &tag, const QStringList &distribution)
{
    return required(key, description) + setText(u"txtNSerie"_s, serial) + setText(u"txtNEconomico"_s, economic)
           + setText(u"txtUser1"_s, tag) + grid(distribution) + u"toolbar Aceptar\n"_s;
}

QString AttemptScript::edit(const QString &key, const QString &description, const QString &tag, const QString &serial,
                            const QStringList &distribution)
{
    return load(key) + u"toolbar Modificar\n"_s + setText(u"txt_Af_Descripcion"_s, description) + setText(u"txtUser1"_s, tag)
           + (serial.isEmpty() ? QString() : setText(u"txtNSerie"_s, serial)) + grid(distribution) + u"toolbar Aceptar\n"_s;
}

int AttemptScript::add(const QString &lines, bool cancelAfter, const QStringList &dumped)
{
    m_firstLines << int(m_lines.size()) + 1;
    m_lines += lines.split(u'\n', Qt::SkipEmptyParts);
    m_lines << (QStringList{u"dump Controles"_s} + dumped).join(u' ');
    if (cancelAfter)
        m_lines << CancelLine;
    return int(m_firstLines.size()) - 1;
}

QString AttemptScript::textFrom(int first) const
{
    return first >= m_firstLines.size() ? QString() : m_lines.mid(m_firstLines.at(first) - 1).join(u'\n') + u'\n';
}

QList<AttemptScript::Outcome> AttemptScript::outcomes(const HostRun &run, int first) const
{
    QList<Outcome> out(qMax(0, int(m_firstLines.size()) - first));
    const int offset = first < m_firstLines.size() ? m_firstLines.at(first) - 1 : 0;
    int current = 0; // the attempt whose dump comes next
    for (const QJsonObject &event : run.events) {
        const QString kind = event.value(u"event"_s).toString(), text = event.value(u"text"_s).toString();
        const int line = event.value(u"line"_s).toInt() + offset;
        if (kind == u"error"_s && !(m_lines.value(line - 1) == CancelLine && text == NothingToCancel)) {
            // The attempt the line belongs to.
            const auto a = std::upper_bound(m_firstLines.begin(), m_firstLines.end(), line) - m_firstLines.begin() - 1;
            out[qMax(qsizetype(first), a) - first].errors << u"line %1: %2"_s.arg(line).arg(text);
        } else if (current < out.size() && kind == u"mensaje"_s) {
            out[current].ids << event.value(u"id"_s).toString();
            out[current].prompts << event.value(u"prompt"_s).toString();
        } else if (current < out.size() && kind == u"reporte"_s) {
            out[current].printed << event.value(u"file"_s).toString();
        } else if (current < out.size() && kind == u"dump"_s) {
            out[current].dump = event;
            out[current++].finished = true;
        }
    }
    return out;
}
