#include "tests/support/HostScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

using namespace Qt::StringLiterals;

std::unique_ptr<HostDatabase> HostDatabase::create(const QString &backend, bool withDemo, QString *reason)
{
    std::unique_ptr<HostDatabase> db(new HostDatabase);
    if (backend == u"postgresql"_s) {
        db->m_connection = TestDatabase::postgres(withDemo, reason);
        if (!db->m_connection)
            return nullptr;
        db->m_url = db->m_connection->url();
        return db;
    }
    db->m_dir = std::make_unique<QTemporaryDir>();
    const QString path = db->m_dir->filePath(u"xb733.db"_s);
    db->m_connection = TestDatabase::sqliteFile(path, withDemo);
    db->m_url = u"sqlite:"_s + path;
    return db;
}

QList<QJsonObject> HostRun::of(const QString &event) const
{
    QList<QJsonObject> out;
    for (const QJsonObject &e : events) {
        if (e.value(u"event"_s).toString() == event)
            out.append(e);
    }
    return out;
}

QJsonObject HostRun::dump(int index) const
{
    return of(u"dump"_s).value(index);
}

QStringList HostRun::messageIds() const
{
    QStringList ids;
    for (const QJsonObject &m : of(u"mensaje"_s))
        ids.append(m.value(u"id"_s).toString());
    return ids;
}

QStringList HostRun::messages() const
{
    QStringList out;
    for (const QJsonObject &m : of(u"mensaje"_s))
        out << u"%1|%2|%3|%4"_s.arg(m.value(u"id"_s).toString()).arg(m.value(u"style"_s).toInt())
                   .arg(m.value(u"title"_s).toString(), m.value(u"prompt"_s).toString());
    return out;
}

QStringList HostRun::errors() const
{
    QStringList texts;
    for (const QJsonObject &e : of(u"error"_s))
        texts.append(u"line %1: %2"_s.arg(e.value(u"line"_s).toInt()).arg(e.value(u"text"_s).toString()));
    return texts;
}

HostRun runTalvexor(const QStringList &arguments, const QByteArray &input, const QProcessEnvironment &environment)
{
    HostRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("TALVEXOR_BIN_DIR") + u"/talvexor"_s, arguments);
    if (!process.waitForStarted()) {
        run.errorOutput = process.errorString();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    // A generous bound so a hang fails the test instead of stalling the suite.
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errorOutput = QString::fromUtf8(process.readAllStandardError());
    run.output = process.readAllStandardOutput();
    for (const QByteArray &line : run.output.split('\n')) {
        if (!line.trimmed().isEmpty())
            run.events.append(QJsonDocument::fromJson(line).object());
    }
    return run;
}

HostRun runHost(const QString &url, const QString &script, const QStringList &arguments)
{
    return runTalvexor(QStringList{u"--db"_s, url, u"--usuario"_s, u"PRUEBA"_s, u"--script"_s, u"-"_s} + arguments,
                       script.toUtf8());
}

QJsonObject dumpedControl(const QJsonObject &dump, const QString &name)
{
    return dump.value(u"controls"_s).toObject().value(name).toObject();
}

QJsonObject dumpedValues(const QJsonObject &dump, bool items)
{
    QJsonObject out;
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        for (const QString &member : {u"text"_s, u"valor"_s, u"date"_s, u"value"_s, u"rows"_s, u"items"_s}) {
            if (items || member != u"items"_s)
                out.insert(it.key() + u'.' + member, it.value().toObject().value(member)); // absent: not inserted
        }
    }
    return out;
}

QString word(const QString &text)
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

QString setText(const QString &control, const QString &text)
{
    return u"set %1 text %2\n"_s.arg(control, word(text));
}

QString loadLines(const QString &key)
{
    return setText(u"txt_Af_Cve_Activo_Fijo"_s, key) + u"key txt_Af_Cve_Activo_Fijo Return\n"_s;
}

void typeAsTyped(HostDatabase &db)
{
    db.execute(u"UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable IN ('CAT_AUTOCLAVE', 'CAT_FORZAR_MAYUSCULAS')"_s);
}
