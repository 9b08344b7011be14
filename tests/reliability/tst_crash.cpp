// A host killed (SIGKILL) at random statements while it saves assets, again and again, on both backends, another host
// each time taking over the saves left. Afterwards the database passes its own checks, and every asset is whole (its
// row, its distribution, its audit rows) or not there at all.
#include "tests/reliability/AttemptScript.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

class tst_Crash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWhileSaving_data() { TestDatabase::addBackendRows(); }
    void killedWhileSaving();
};

namespace {

constexpr int Saves = 100;
constexpr int Kills = 20;

// Three saves in four make a new asset (K000, K001, K002, K004...) in its version v0, with distribution spread(i, 3);
// the fourth edits the one made three saves before it into v1, spread(i + 1, 3).
bool isEdit(int i) { return i % 4 == 3; }
int madeBy(int i) { return isEdit(i) ? i - 3 : i; }
QString keyOf(int i) { return u"K%1"_s.arg(madeBy(i), 3, 10, QLatin1Char('0')); }

struct Killed
{
    HostRun run;
    bool killed = false;
    bool inTransaction = false; // the last statement seen was inside an open transaction
};

// Runs the script with every statement traced, and kills the host once it has sent `killAfter` statements (never when
// it is 0), or, `inside` a transaction, that many statements of the saves' transactions.
Killed runAndKill(const QString &url, const QString &script, int killAfter, bool inside)
{
    Killed out;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TALVEXOR_SQL_TRACE"_s, u"1"_s);
    process.setProcessEnvironment(environment);
    process.setReadChannel(QProcess::StandardError);
    process.start(qEnvironmentVariable("TALVEXOR_BIN_DIR") + u"/talvexor"_s,
                  {u"--db"_s, url, u"--usuario"_s, u"PRUEBA"_s, u"--script"_s, u"-"_s});
    process.write(script.toUtf8());
    process.closeWriteChannel();
    int statements = 0;
    const QDeadlineTimer deadline(120000);
    while (process.state() != QProcess::NotRunning && !out.killed) {
        process.waitForReadyRead(200);
        while (process.canReadLine() && !out.killed) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed(), sql = line.mid(line.indexOf(u']') + 2);
            if (!line.startsWith(u"[sql"_s)) {
                out.run.errorOutput += line + u'\n';
                continue;
            }
            out.inTransaction |= sql.startsWith(u"BEGIN"_s);
            statements += !inside || out.inTransaction;
            out.inTransaction &= sql != u"COMMIT"_s && sql != u"ROLLBACK"_s;
            out.killed = killAfter > 0 && statements >= killAfter;
        }
        out.killed |= deadline.hasExpired();
    }
    process.kill(); // SIGKILL: no handler, no cleanup, no rollback by the host
    process.waitForFinished();
    out.run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (!line.trimmed().isEmpty())
            out.run.events.append(QJsonDocument::fromJson(line).object());
    }
    return out;
}

} // namespace

void tst_Crash::killedWhileSaving()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    const quint32 seed = qEnvironmentVariableIsSet("TALVEXOR_CRASH_SEED") ? quint32(qEnvironmentVariableIntValue("TALVEXOR_CRASH_SEED"))
                                                                          : QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    qInfo("kill points from seed %u (TALVEXOR_CRASH_SEED repeats them)", seed);
    AttemptScript script;
    for (int i = 0; i < Saves; ++i) {
        const QString key = keyOf(i);
        script.add(isEdit(i) ? AttemptScript::edit(key, u"v1 "_s + key, u"v1"_s, QString(), AttemptScript::spread(madeBy(i) + 1, 3))
                             : AttemptScript::newAsset(key, u"v0 "_s + key, u"S-"_s + key, u"E-"_s + key, u"v0"_s, AttemptScript::spread(i, 3)));
    }

    // Each save ends stored, refused or unknown (the host died in it, that many times).
    QList<int> saved(Saves, 0), unknown(Saves, 0);
    int next = 0, runs = 0, kills = 0, inside = 0, refused = 0;
    while (next < Saves) {
        QVERIFY2(runs++ < 40, "the saves never got done");
        // Two kills in three aim at a statement of a save's transaction, the rest anywhere (a look-up as a field is
        // filled, start-up).
        const bool aimInside = random.bounded(3) != 0;
        const int after = kills >= Kills ? 0 : aimInside ? random.bounded(1, 60) : random.bounded(1, 200);
        const Killed host = runAndKill(db->url(), script.textFrom(next), after, aimInside);
        kills += host.killed;
        inside += host.killed && host.inTransaction;
        if (!host.killed)
            QCOMPARE(hostTrouble(host.run), QString());
        int done = 0;
        for (const AttemptScript::Outcome &o : script.outcomes(host.run, next)) {
            if (!o.finished)
                break;
            const int i = next + done++;
            saved[i] = o.stored();
            // Not stored: an edit of an asset never stored, or a save the host died in, run again, that finds its key
            // taken (it had committed).
            if (!o.stored() && !(isEdit(i) && o.errors.size() == 1 && o.errors[0].contains(u"Modificar"_s))) {
                QVERIFY2(!isEdit(i) && unknown[i] && o.ids == QStringList{u"ERR-ID:7500002"_s},
                         qPrintable(u"save %1 (%2): "_s.arg(i).arg(keyOf(i)) + (o.ids + o.prompts + o.errors).join(u' ')));
                ++refused;
            }
        }
        next += done;
        if (host.killed && next < Saves)
            unknown[next] += 1; // run again by the next host
        else
            QVERIFY2(next == Saves, qPrintable(u"the host stopped at save %1"_s.arg(next)));
    }

    // The database opens as new, its own checks pass, and no session of a dead host holds anything.
    auto fresh = suite::Connection::open(db->url());
    const QString check = backend == u"sqlite"_s ? u"PRAGMA integrity_check"_s
                                                 : u"SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                                   "AND pid <> pg_backend_pid()"_s;
    const QString clean = backend == u"sqlite"_s ? u"ok"_s : u"1"_s; // 1: the test's own connection
    for (int tries = 0; tries < 50 && fresh->Execute(check)->fieldValue(0).toString() != clean; ++tries)
        QThread::msleep(100);
    QCOMPARE(fresh->Execute(check)->fieldValue(0).toString(), clean);

    // Every asset of one version or absent; every save the screen said was stored, there.
    const QMap<QString, int> audits =
        countsOf(*db, u"SELECT Bi_Clave, COUNT(*) FROM Bitacora WHERE Bi_Tabla = 'Activo_Fijo' GROUP BY Bi_Clave"_s);
    int whole = 0;
    for (int i = 0; i < Saves; ++i) {
        if (isEdit(i))
            continue;
        const QString key = keyOf(i);
        const QString row = rowsOf(*db, u"SELECT Af_UserDef_1, Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key)).value(0);
        const int edit = i % 4 == 0 && i + 3 < Saves ? i + 3 : i; // the save that edits it (itself when none does)
        const int reported = saved[i] + (edit != i) * saved[edit], couldCommit = reported + unknown[i] + (edit != i) * unknown[edit];
        const QString v = row.section(u'|', 0, 0);
        if (row.isEmpty()) {
            QVERIFY2(!saved[i] && distributionOf(*db, key).isEmpty() && !audits.value(key),
                     qPrintable(key + u" is gone though stored, or half there"_s));
            continue;
        }
        QVERIFY2((v == u"v0"_s && !(edit != i && saved[edit])) || v == u"v1"_s, qPrintable(key + u' ' + row));
        QCOMPARE(row, v + u'|' + v + u' ' + key);
        QCOMPARE(distributionOf(*db, key), AttemptScript::spread(i + (v == u"v1"_s), 3));
        // One audit row per save that committed: at least the ones reported, at most those that could have.
        QVERIFY2(audits.value(key) >= qMax(reported, v == u"v1"_s ? 2 : 1) && audits.value(key) <= couldCommit,
                 qPrintable(u"%1: %2 audit rows, %3 saves reported"_s.arg(key).arg(audits.value(key)).arg(reported)));
        ++whole;
    }
    // No additional field belongs to an asset that is not there (their distribution and audit rows: above).
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Campo_Adicional_Valor v WHERE NOT EXISTS (SELECT 1 FROM Activo_Fijo a "
                       "WHERE a.Af_Cve_Activo_Fijo = v.Ca_Clave)"_s), u"0"_s);
    qInfo("%s: %d saves over %d hosts, %d killed (%d inside a transaction), %d saves reported stored, %d refused on rerun "
          "(already committed when killed), %d assets whole, rows lost or half-written: 0",
          qPrintable(backend), Saves, runs, kills, inside, int(saved.count(1)), refused, whole);
}

QTEST_MAIN(tst_Crash)
#include "tst_crash.moc"
