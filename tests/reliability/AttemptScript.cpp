#include "tests/reliability/AttemptScript.h"

#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/data/SqlText.h"
#include "tests/support/HostScript.h"

using namespace Qt::StringLiterals;

namespace {

const QString CancelLine = u"toolbar Cancelar"_s;
const QString NothingToCancel = u"La barra no ofrece Cancelar ahora."_s;

} // namespace

QStringList rowsOf(HostDatabase &db, const QString &statement)
{
    QStringList out;
    const suite::RecordsetPtr rows = db.connection().Execute(statement);
    for (const auto &row : rows->rows()) {
        QStringList values;
        for (const QVariant &v : row)
            values << (v.isNull() ? u"NULL"_s : v.toString());
        out << values.join(u'|');
    }
    return out;
}

QStringList distributionOf(HostDatabase &db, const QString &key)
{
    QStringList out;
    for (const QString &row : rowsOf(db, u"SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo "
                                         "WHERE Af_Cve_Activo_Fijo = '"_s + suite::sqlEscape(key) + u"'"_s)) {
        const QStringList v = row.split(u'|');
        out << v.at(0) + u'=' + QString::number(v.at(1).toDouble());
    }
    out.sort();
    return out;
}

QString AttemptScript::word(const QString &text)
{
    QString t;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            t += u'\\' + QString(c);
        else if (c == u'\t')
            t += u"\\t"_s;
        else if (c == u'\n')
            t += u"\\n"_s;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            t += u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            t += c;
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
    static const QList<QList<double>> splits = {{50, 30, 20}, {33.33, 33.33, 33.34}, {10, 45, 45}, {60, 25, 15}};
    auto centre = [n](int r) { return centres.at((n + r) % centres.size()); };
    QStringList out;
    if (rows == 1) {
        out = {centre(0) + u"=100"_s};
    } else if (rows == 2) {
        out = {centre(0) + u"=60"_s, centre(1) + u"=40"_s};
    } else {
        const QList<double> &split = splits.at(n % splits.size());
        for (int r = 0; r < 3; ++r)
            out << centre(r) + u'=' + QString::number(split.at(r));
    }
    out.sort();
    return out;
}

QString AttemptScript::grid(const QStringList &distribution)
{
    QString s = u"tab 1\n"_s;
    for (qsizetype r = 0; r < distribution.size(); ++r) {
        const QStringList parts = distribution.at(r).split(u'=');
        s += u"cell %1 Clave %2\ncell %1 Porcentaje %3\n"_s.arg(r).arg(parts.at(0), parts.at(1));
    }
    return s + u"tab 0\n"_s;
}

QString AttemptScript::newAsset(const QString &key, const QString &description, const QString &serial,
                                const QString &economic, const QString &tag, const QStringList &distribution)
{
    return u"toolbar Nuevo\n"_s + setText(u"txt_Af_Cve_Activo_Fijo"_s, key) + setText(u"txt_Af_Descripcion"_s, description)
           + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s) + setText(u"txtEmpresa"_s, u"0001"_s)
           + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s) + setText(u"txtNSerie"_s, serial)
           + setText(u"txtNEconomico"_s, economic) + setText(u"txtUser1"_s, tag)
           + setText(u"txt_Costo_Original"_s, u"100"_s) + grid(distribution) + u"toolbar Aceptar\n"_s;
}

QString AttemptScript::edit(const QString &key, const QString &description, const QString &tag, const QString &serial,
                            const QStringList &distribution)
{
    QString s = load(key) + u"toolbar Modificar\n"_s + setText(u"txt_Af_Descripcion"_s, description)
                + setText(u"txtUser1"_s, tag);
    if (!serial.isEmpty())
        s += setText(u"txtNSerie"_s, serial);
    return s + grid(distribution) + u"toolbar Aceptar\n"_s;
}

int AttemptScript::add(const QString &lines, bool cancelAfter, const QStringList &dumped)
{
    QStringList own = lines.split(u'\n');
    if (own.constLast().isEmpty())
        own.removeLast();
    const int first = int(m_lines.size()) + 1;
    m_lines += own;
    m_lines << (QStringList{u"dump Controles"_s} + dumped).join(u' ');
    m_attempts.append({first, int(m_lines.size())});
    if (cancelAfter)
        m_lines << CancelLine;
    return int(m_attempts.size()) - 1;
}

QString AttemptScript::textFrom(int first) const
{
    if (first >= m_attempts.size())
        return QString();
    return m_lines.mid(m_attempts.at(first).firstLine - 1).join(u'\n') + u'\n';
}

bool AttemptScript::Outcome::editing() const
{
    return dump.value(u"toolbar"_s).toObject().value(u"editando"_s).toBool();
}

bool AttemptScript::Outcome::idle() const
{
    const QJsonObject toolbar = dump.value(u"toolbar"_s).toObject();
    return !toolbar.value(u"editando"_s).toBool() && toolbar.value(u"estadoinicial"_s).toBool()
           && toolbar.value(u"clave"_s).toString().isEmpty();
}

QList<AttemptScript::Outcome> AttemptScript::outcomes(const HostRun &run, int first) const
{
    QList<Outcome> out(m_attempts.size() - first);
    if (out.isEmpty())
        return out;
    const int offset = m_attempts.at(first).firstLine - 1;
    // The attempt a line of the whole script belongs to.
    auto attemptOf = [&](int line) {
        int a = first;
        while (a + 1 < m_attempts.size() && m_attempts.at(a + 1).firstLine <= line)
            ++a;
        return a;
    };
    int current = first;
    for (const QJsonObject &event : run.events) {
        const QString kind = event.value(u"event"_s).toString();
        if (kind == u"mensaje"_s && current < m_attempts.size()) {
            out[current - first].ids << event.value(u"id"_s).toString();
            out[current - first].prompts << event.value(u"prompt"_s).toString();
        } else if (kind == u"error"_s) {
            const int line = event.value(u"line"_s).toInt() + offset;
            const QString text = event.value(u"text"_s).toString();
            if (m_lines.value(line - 1) == CancelLine && text == NothingToCancel)
                continue;
            out[attemptOf(line) - first].errors << u"line %1: %2"_s.arg(line).arg(text);
        } else if (kind == u"reporte"_s && current < m_attempts.size()) {
            out[current - first].printed << event.value(u"file"_s).toString();
        } else if (kind == u"dump"_s && current < m_attempts.size()) {
            out[current - first].dump = event;
            out[current - first].finished = true;
            ++current;
        }
    }
    return out;
}
