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
