#pragma once

// What the reliability tests share: a script of user actions for the real host and what came of each, and the reads
// of what the database kept.
#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/data/SqlText.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <algorithm>

// Every row of the statement as "value|value|..." (NULL for a null).
inline QStringList rowsOf(HostDatabase &db, const QString &statement)
{
    QStringList out;
    const suite::RecordsetPtr rows = db.connection().Execute(statement); // held while its rows are read
    for (const auto &row : rows->rows()) {
        QStringList values;
        for (const QVariant &v : row)
            values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        out << values.join(u'|');
    }
    return out;
}

// The rows of a statement ending in a count: "value|value" of the other columns -> the count.
inline QMap<QString, int> countsOf(HostDatabase &db, const QString &statement)
{
    QMap<QString, int> out;
    for (const QString &row : rowsOf(db, statement))
        out.insert(row.section(u'|', 0, -2), row.section(u'|', -1).toInt());
    return out;
}

// The asset's distribution as "centre=share" rows, sorted.
inline QStringList distributionOf(HostDatabase &db, const QString &key)
{
    QStringList out;
    for (const QString &row : rowsOf(db, QStringLiteral("SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo "
                                                        "WHERE Af_Cve_Activo_Fijo = '%1'").arg(suite::sqlEscape(key))))
        out << row.section(u'|', 0, 0) + u'=' + QString::number(row.section(u'|', 1).toDouble());
    out.sort();
    return out;
}

// Empty when the host ended as a script does (0, or 1 when a line failed) with no sanitizer report on its standard
// error (built with TALVEXOR_SANITIZE, UBSan reports nowhere else); else what went wrong.
inline QString hostTrouble(const HostRun &run)
{
    for (const char *mark : {"runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer"}) {
        if (const qsizetype at = run.errorOutput.indexOf(QLatin1String(mark)); at >= 0)
            return run.errorOutput.mid(qMax<qsizetype>(0, at - 200), 3000);
    }
    return run.exitCode == 0 || run.exitCode == 1 ? QString()
                                                  : QStringLiteral("exit %1: %2").arg(run.exitCode).arg(run.errorOutput.right(2000));
}

// A host script made of attempts, each one user action, and what came of each. Every attempt ends with `dump
// Controles`; a save is then cancelled, so a refused one does not hold up the next (after one that went through,
// nothing is left to cancel, and the line's failure is ignored).
class AttemptScript
{
public:
    // A valid distribution of its own for n over 1 to 3 centres, "centre=share" sorted.
    static QStringList spread(int n, int rows)
    {
        static const QStringList centres = {QStringLiteral("000120"), QStringLiteral("000130"), QStringLiteral("000140"),
                                            QStringLiteral("000150"), QStringLiteral("000160"), QStringLiteral("000170")};
        static const QList<QList<double>> splits = {{100}, {60, 40}, {50, 30, 20}, {33.33, 33.33, 33.34}, {10, 45, 45}, {60, 25, 15}};
        QStringList out;
        for (int r = 0; r < rows; ++r)
            out << centres.at((n + r) % centres.size()) + u'=' + QString::number(splits.at(rows < 3 ? rows - 1 : 2 + n % 4).at(r));
        out.sort();
        return out;
    }
    // A new asset begun with what a save requires: type 003 at company and location 0001, costing 100.
    static QString required(const QString &key, const QString &description)
    {
        return QStringLiteral("toolbar Nuevo\n") + setText(KeyBox, key) + setText(QStringLiteral("txt_Af_Descripcion"), description)
               + QStringLiteral("set txt_Ta_Cve_Tipo_ActivoFijo text 003\nset txtEmpresa text 0001\nset txt_Au_Cve_Ubicacion text 0001\n"
                                "set txt_Costo_Original text 100\n");
    }
    // A new asset with what tells it apart, accepted.
    static QString newAsset(const QString &key, const QString &description, const QString &serial, const QString &economic,
                            const QString &tag, const QStringList &distribution)
    {
        return required(key, description) + setText(QStringLiteral("txtNSerie"), serial) + setText(QStringLiteral("txtNEconomico"), economic)
               + setText(QStringLiteral("txtUser1"), tag) + grid(distribution) + QStringLiteral("toolbar Aceptar\n");
    }
    // A stored asset shown, changed and accepted; an empty serial is left as loaded. seeLoaded: the tag it was
    // shown with is dumped before the change (Outcome::seen).
    static QString edit(const QString &key, const QString &description, const QString &tag, const QString &serial,
                        const QStringList &distribution, bool seeLoaded = false)
    {
        return loadLines(key) + (seeLoaded ? QStringLiteral("dump txtUser1\n") : QString()) + QStringLiteral("toolbar Modificar\n") + setText(QStringLiteral("txt_Af_Descripcion"), description)
               + setText(QStringLiteral("txtUser1"), tag) + (serial.isEmpty() ? QString() : setText(QStringLiteral("txtNSerie"), serial))
               + grid(distribution) + QStringLiteral("toolbar Aceptar\n");
    }

    // The lines of one attempt; its index. Its dump shows the toolbar and the controls named.
    int add(const QString &lines, bool cancelAfter = true, const QStringList &dumped = {})
    {
        m_firstLines << int(m_lines.size()) + 1;
        const QStringList own = lines.split(u'\n', Qt::SkipEmptyParts);
        m_dumpsInside << int(std::count_if(own.begin(), own.end(), [](const QString &l) { return l.startsWith(u"dump "); }));
        m_lines += own;
        m_lines << (QStringList{QStringLiteral("dump Controles")} + dumped).join(u' ');
        if (cancelAfter)
            m_lines << CancelLine;
        return int(m_firstLines.size()) - 1;
    }
    // The script from attempt `first` on, for a host that takes over.
    QString textFrom(int first) const
    {
        return first >= m_firstLines.size() ? QString() : m_lines.mid(m_firstLines.at(first) - 1).join(u'\n') + u'\n';
    }
    QString text() const { return textFrom(0); }

    struct Outcome
    {
        bool finished = false;                     // its dump was written
        QStringList ids, prompts, errors, printed; // messages shown, lines failed ("line N: text"), files printed
        QJsonObject dump;                          // the toolbar and the controls named, after it
        QList<QJsonObject> seen;                   // the dumps of its own lines, before that one
        bool editing() const { return toolbar(u"editando").toBool(); } // a save that did not go through
        bool stored() const { return !editing() && ids.isEmpty(); }    // a save that did
        // Back in key entry: a command that committed.
        bool idle() const { return !editing() && toolbar(u"estadoinicial").toBool() && toolbar(u"clave").toString().isEmpty(); }
        QJsonValue toolbar(QStringView name) const { return dump.value(QLatin1String("toolbar")).toObject().value(name); }
    };
    // What came of each attempt from `first` on, for a run of textFrom(first).
    QList<Outcome> outcomes(const HostRun &run, int first = 0) const
    {
        QList<Outcome> out(qMax(0, int(m_firstLines.size()) - first));
        const int offset = first < m_firstLines.size() ? m_firstLines.at(first) - 1 : 0;
        int current = 0; // the attempt whose dump comes next
        for (const QJsonObject &event : run.events) {
            const QString kind = event.value(u"event").toString(), text = event.value(u"text").toString();
            const int line = event.value(u"line").toInt() + offset;
            if (kind == u"error" && !(m_lines.value(line - 1) == CancelLine && text == u"La barra no ofrece Cancelar ahora.")) {
                // The attempt the line belongs to.
                const auto a = std::upper_bound(m_firstLines.begin(), m_firstLines.end(), line) - m_firstLines.begin() - 1;
                out[qMax(qsizetype(first), a) - first].errors << QStringLiteral("line %1: %2").arg(line).arg(text);
            } else if (current < out.size() && kind == u"mensaje") {
                out[current].ids << event.value(u"id").toString();
                out[current].prompts << event.value(u"prompt").toString();
            } else if (current < out.size() && kind == u"reporte") {
                out[current].printed << event.value(u"file").toString();
            } else if (current < out.size() && kind == u"dump" && out[current].seen.size() < m_dumpsInside.at(first + current)) {
                out[current].seen << event;
            } else if (current < out.size() && kind == u"dump") {
                out[current].dump = event;
                out[current++].finished = true;
            }
        }
        return out;
    }

private:
    // Rows "centre=share" typed into the distribution grid, on its tab.
    static QString grid(const QStringList &distribution)
    {
        QString s = QStringLiteral("tab 1\n");
        for (qsizetype r = 0; r < distribution.size(); ++r)
            s += QStringLiteral("cell %1 Clave %2\ncell %1 Porcentaje %3\n").arg(r).arg(distribution[r].section(u'=', 0, 0), distribution[r].section(u'=', 1));
        return s + QStringLiteral("tab 0\n");
    }
    static inline const QString KeyBox = QStringLiteral("txt_Af_Cve_Activo_Fijo");
    static inline const QString CancelLine = QStringLiteral("toolbar Cancelar");
    QStringList m_lines;
    QList<int> m_firstLines;  // of each attempt, 1-based as the host counts
    QList<int> m_dumpsInside; // of each attempt, before its closing one
};

// A host driven step by step, as a user at one window: a step's lines go to its standard input with a closing
// `dump Controles`, and what came of them is read once that dump is out.
class LiveHost
{
public:
    LiveHost(const QString &url, const QString &user)
    {
        m_process.start(qEnvironmentVariable("TALVEXOR_BIN_DIR") + QStringLiteral("/talvexor"),
                        {QStringLiteral("--db"), url, QStringLiteral("--usuario"), user, QStringLiteral("--script"), QStringLiteral("-")});
        m_process.waitForStarted();
    }
    ~LiveHost()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
        m_process.waitForFinished();
    }
    // The lines sent, without waiting for them.
    void send(const QString &lines, const QStringList &dumped = {})
    {
        m_process.write((lines + (QStringList{QStringLiteral("dump Controles")} + dumped).join(u' ') + u'\n').toUtf8());
    }
    // What the lines of the last send did: their messages and failed lines, and the closing dump (unfinished when
    // the host stopped or hung).
    AttemptScript::Outcome receive()
    {
        AttemptScript::Outcome o;
        for (QDeadlineTimer deadline(120000); !o.finished && !deadline.hasExpired();) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(1000) && m_process.state() != QProcess::Running)
                break;
            while (!o.finished && m_process.canReadLine()) {
                const QJsonObject event = QJsonDocument::fromJson(m_process.readLine()).object();
                const QString kind = event.value(u"event").toString();
                if (kind == u"mensaje") {
                    o.ids << event.value(u"id").toString();
                    o.prompts << event.value(u"prompt").toString();
                } else if (kind == u"error") {
                    o.errors << event.value(u"text").toString();
                } else if (kind == u"dump") {
                    o.dump = event;
                    o.finished = true;
                }
            }
        }
        return o;
    }
    AttemptScript::Outcome step(const QString &lines, const QStringList &dumped = {})
    {
        send(lines, dumped);
        return receive();
    }

private:
    QProcess m_process;
};
