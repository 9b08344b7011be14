// Many clerks at once on one PostgreSQL database: real hosts, each saving
// hundreds of assets through the screen while the others do the same, some
// of them fighting for the same keys, serial and economic numbers, editing
// the same few assets, and deactivating, reactivating and generating
// equipment for the same assets. Afterwards nothing is duplicated, half
// written or lost: every save is stored whole or was refused with a message
// and left nothing behind.
#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "tests/reliability/AttemptScript.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QThread>
#include <QMap>
#include <QSet>
#include <QTest>
#include <future>

using namespace Qt::StringLiterals;

class tst_Concurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostsSaveAtOnce();
    void firstKeysOfATableAtOnce();
};

namespace {

// Assets every host edits; they hold three distribution rows throughout.
const QStringList Edited = {u"0000000004"_s, u"0000000008"_s, u"0000000012"_s, u"0000000020"_s};
// Assets every host generates equipment for, deactivates and reactivates.
const QStringList Cycled = {u"0000000002"_s, u"0000000003"_s, u"0000000005"_s,
                            u"0000000015"_s, u"0000000017"_s, u"0000000022"_s};

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

enum class Kind { New, Edit, Generate, Deactivate, Reactivate };

// What one attempt set out to do.
struct Plan
{
    Kind kind;
    QString key;
    QString tag; // Af_UserDef_1: tells which attempt a stored row came from
    QString description;
    QString serial;   // empty: left as loaded
    QString economic;
    QStringList distribution; // "centre=share", sorted
    QString foughtKey;        // set when every host tries this key
};

// The script of host h (from 0) and what each attempt means.
std::pair<AttemptScript, QList<Plan>> hostScript(int h, int saves)
{
    AttemptScript script;
    QList<Plan> plans;
    const QString who = u"H%1"_s.arg(h + 1);
    for (int i = 0; i < saves; ++i) {
        Plan p;
        p.tag = u"%1#%2"_s.arg(who).arg(i);
        const int slot = i / 10;
        switch (i % 10) {
        case 7: case 8: case 9: { // an edit of a shared asset
            p.kind = Kind::Edit;
            p.key = Edited.at((i + h) % Edited.size());
            p.description = u"Cambio "_s + p.tag;
            p.distribution = AttemptScript::spread(i + h, 3);
            if (i % 30 == 7) // taking a serial number new assets fight for
                p.serial = u"SF%1"_s.arg(slot);
            script.add(AttemptScript::edit(p.key, p.description, p.tag, p.serial, p.distribution));
            break;
        }
        default: { // a new asset
            p.kind = Kind::New;
            p.key = u"%1N%2"_s.arg(who).arg(i, 3, 10, QLatin1Char('0'));
            p.serial = u"S-%1-%2"_s.arg(who).arg(i);
            p.economic = u"E-%1-%2"_s.arg(who).arg(i);
            if (i % 10 == 0) { // every host, at about the same moment
                p.key = p.foughtKey = u"F%1"_s.arg(slot, 3, 10, QLatin1Char('0'));
            } else if (i % 10 == 1) {
                p.serial = u"SF%1"_s.arg(slot);
            } else if (i % 10 == 2) {
                p.economic = u"EF%1"_s.arg(slot);
            }
            p.description = u"Alta "_s + p.tag;
            p.distribution = AttemptScript::spread(i + h, 1 + (i + h) % 3);
            script.add(AttemptScript::newAsset(p.key, p.description, p.serial, p.economic, p.tag, p.distribution));
            break;
        }
        }
        plans << p;
        if (i % 10 != 9)
            continue;
        // Then one command on an asset the others are at too: a third of the
        // hosts generate its equipment, a third deactivate it, the rest reactivate it.
        Plan c;
        c.key = Cycled.at(slot % Cycled.size());
        c.tag = p.tag;
        static const Kind kinds[] = {Kind::Generate, Kind::Deactivate, Kind::Reactivate};
        static const QString commands[] = {u"B3"_s, u"Eliminar"_s, u"Reactivar"_s};
        const int k = (h + slot) % 3;
        c.kind = kinds[k];
        script.add(AttemptScript::load(c.key) + u"toolbar "_s + commands[k] + u'\n', false);
        plans << c;
    }
    return {script, plans};
}

} // namespace

void tst_Concurrency::hostsSaveAtOnce()
{
    const int hosts = setting("TALVEXOR_CONCURRENT_HOSTS", 8);
    const int saves = setting("TALVEXOR_CONCURRENT_SAVES", 500);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    db->execute(u"UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable IN ('CAT_AUTOCLAVE', 'CAT_FORZAR_MAYUSCULAS')"_s);
    // The edited assets start with three rows and no single centre, so
    // every edit overwrites the same three cells; the cycled ones start bare.
    for (const QString &key : Edited) {
        db->execute(u"DELETE FROM Activo_Fijo_Centro_Costo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
        for (const QString &row : AttemptScript::spread(0, 3)) {
            const QStringList parts = row.split(u'=');
            db->execute(u"INSERT INTO Activo_Fijo_Centro_Costo VALUES ('%1', '%2', %3)"_s.arg(key, parts[0], parts[1]));
        }
        db->execute(u"UPDATE Activo_Fijo SET Af_Centro_Costo = '', Af_UserDef_1 = 'inicial' WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
    }
    for (const QString &key : Cycled) {
        db->execute(u"DELETE FROM Equipo WHERE Eq_Activo_Fijo = '%1'"_s.arg(key));
        db->execute(u"DELETE FROM Vehiculo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
    }
    const int assetsBefore = db->value(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt();

    QList<AttemptScript> scripts;
    QList<QList<Plan>> plans;
    for (int h = 0; h < hosts; ++h) {
        auto [script, plan] = hostScript(h, saves);
        scripts << script;
        plans << plan;
    }
    QElapsedTimer clock;
    clock.start();
    std::vector<std::future<HostRun>> running;
    const QString url = db->url();
    for (int h = 0; h < hosts; ++h) {
        const QString script = scripts[h].text();
        const QStringList who = {u"--usuario"_s, u"H%1"_s.arg(h + 1)};
        running.push_back(std::async(std::launch::async, [url, script, who] { return runHost(url, script, who); }));
    }
    QList<HostRun> runs;
    for (auto &r : running)
        runs << r.get();
    const qint64 elapsed = clock.elapsed();

    // Everything wrong is collected, so one run shows every kind of fault.
    QStringList wrong;
    auto fail = [&wrong](const QString &what) {
        if (wrong.size() < 40)
            wrong << what;
    };
    const QSet<QString> saveRefusals = {u"ERR-ID:7500002"_s, u"ERR-ID:7500008"_s, u"ERR-ID:7500009"_s, u"ERR-ID:7500028"_s};
    const QSet<QString> generationReports = {u"ERR-ID:7500036"_s, u"ERR-ID:7500037"_s, u"ERR-ID:7500038"_s,
                                             u"ERR-ID:7500039"_s, u"ERR-ID:7500040"_s, u"ERR-ID:7500041"_s};
    const QSet<QString> generationFailures = {u"ERR-ID:7500034"_s, u"ERR-ID:7500035"_s, u"ERR-ID:7500042"_s};

    // Stored rows by the attempt that wrote them.
    QMap<QString, QStringList> rowOfTag; // tag -> key|description|serial|economic
    for (const QString &row : rowsOf(*db, u"SELECT Af_UserDef_1, Af_Cve_Activo_Fijo, Af_Descripcion, Af_Numero_Serie, "
                                           "Af_Numero_Economico FROM Activo_Fijo"_s)) {
        const QStringList v = row.split(u'|');
        rowOfTag.insert(v.at(0), v.mid(1));
    }
    QMap<QString, QStringList> distribution;
    for (const QString &row : rowsOf(*db, u"SELECT Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje "
                                           "FROM Activo_Fijo_Centro_Costo ORDER BY 1, 2"_s)) {
        const QStringList v = row.split(u'|');
        distribution[v.at(0)] << v.at(1) + u'=' + QString::number(v.at(2).toDouble());
    }
    QMap<QString, int> audited; // key|operator -> registrations
    for (const QString &row : rowsOf(*db, u"SELECT Bi_Clave, Bi_Operador, COUNT(*) FROM Bitacora WHERE Bi_Tabla = "
                                           "'Activo_Fijo' GROUP BY Bi_Clave, Bi_Operador"_s)) {
        const QStringList v = row.split(u'|');
        audited.insert(v.at(0) + u'|' + v.at(1), v.at(2).toInt());
    }
    QMap<QString, int> moved; // key|operator|action -> movements
    for (const QString &row : rowsOf(*db, u"SELECT Mo_Clave, Mo_Operador, Mo_Accion, COUNT(*) FROM Movimiento "
                                           "GROUP BY Mo_Clave, Mo_Operador, Mo_Accion"_s)) {
        const QStringList v = row.split(u'|');
        moved.insert(v.mid(0, 3).join(u'|'), v.at(3).toInt());
    }

    int attempted = 0, stored = 0, refused = 0, commands = 0, committed = 0;
    QMap<QString, int> refusals;        // of saves, by message id
    QMap<QString, int> commandRefusals; // of the other commands, by message id
    QMap<QString, int> wins;            // fought key -> saves that went through
    QMap<QString, int> expectedAudit;   // key|operator -> registrations the outcomes account for
    QMap<QString, int> expectedMoves;   // key|operator|action
    QMap<QString, QSet<QString>> editedTo; // key -> tags of the edits that went through
    QMap<QString, QMap<QString, int>> generated; // key -> table -> records reported made
    for (int h = 0; h < hosts; ++h) {
        const HostRun &run = runs[h];
        const QString who = u"H%1"_s.arg(h + 1);
        if (run.exitCode != 0 && run.exitCode != 1)
            fail(u"%1 ended with %2: %3"_s.arg(who).arg(run.exitCode).arg(run.errorOutput.left(500)));
        const QList<AttemptScript::Outcome> outcomes = scripts[h].outcomes(run);
        for (qsizetype a = 0; a < outcomes.size(); ++a) {
            const AttemptScript::Outcome &o = outcomes.at(a);
            const Plan &p = plans[h].at(a);
            const QString at = u"%1 attempt %2 (%3): "_s.arg(who).arg(a).arg(p.tag);
            if (!o.finished) {
                fail(at + u"never finished"_s);
                continue;
            }
            if (p.kind == Kind::New || p.kind == Kind::Edit) {
                ++attempted;
                if (!o.errors.isEmpty())
                    fail(at + o.errors.join(u"; "_s));
                const bool saved = !o.editing() && o.ids.isEmpty();
                if (saved) {
                    ++stored;
                    expectedAudit[p.key + u'|' + who] += 1;
                } else {
                    ++refused;
                    if (!o.editing() || o.ids.size() != 1 || !saveRefusals.contains(o.ids.value(0))
                        || o.prompts.value(0).isEmpty())
                        fail(at + u"neither stored nor refused with a message: "_s + o.ids.join(u',') + u' '
                             + o.prompts.join(u" / "_s).left(300));
                    refusals[o.ids.value(0)] += 1;
                }
                if (p.kind == Kind::Edit) {
                    if (saved)
                        editedTo[p.key].insert(p.tag);
                    continue;
                }
                if (!p.foughtKey.isEmpty() && saved)
                    wins[p.foughtKey] += 1;
                // Whole, as typed, or not there at all.
                const auto found = rowOfTag.constFind(p.tag);
                if (saved && found == rowOfTag.constEnd())
                    fail(at + u"saved, but its row is missing"_s);
                if (!saved && found != rowOfTag.constEnd())
                    fail(at + u"refused, but its row is there: "_s + found->join(u'|'));
                if (saved && found != rowOfTag.constEnd()) {
                    const QStringList expected = {p.key, p.description, p.serial, p.economic};
                    if (*found != expected)
                        fail(at + u"stored "_s + found->join(u'|') + u" instead of "_s + expected.join(u'|'));
                    if (distribution.value(p.key) != p.distribution)
                        fail(at + u"distribution "_s + distribution.value(p.key).join(u',') + u" instead of "_s
                             + p.distribution.join(u','));
                }
                continue;
            }

            // The commands: a deactivated asset offers no generation nor a
            // second deactivation, an active one no reactivation.
            ++commands;
            const bool offered = o.errors.isEmpty();
            if (!offered) {
                if (o.errors.size() != 1 || !o.errors.constFirst().contains(u"La barra no ofrece"_s))
                    fail(at + o.errors.join(u"; "_s));
                continue;
            }
            if (p.kind == Kind::Generate) {
                bool failed = false;
                for (qsizetype m = 0; m < o.ids.size(); ++m) {
                    const QString &id = o.ids.at(m);
                    if (generationFailures.contains(id)) {
                        commandRefusals[id] += 1;
                        failed = true;
                        continue;
                    }
                    if (!generationReports.contains(id))
                        fail(at + u"generation said "_s + id + u' ' + o.prompts.at(m));
                    if (o.prompts.at(m).contains(u"Se creó el equipo"_s))
                        generated[p.key][u"Equipo"_s] += 1;
                    if (o.prompts.at(m).contains(u"vehículo con clave"_s))
                        generated[p.key][u"Vehiculo"_s] += 1;
                }
                committed += failed ? 0 : 1;
                continue;
            }
            const bool done = o.ids.isEmpty() && o.idle();
            const QString failure = p.kind == Kind::Deactivate ? u"ERR-ID:7500044"_s : u"ERR-ID:7500046"_s;
            if (done) {
                ++committed;
                expectedAudit[p.key + u'|' + who] += 1;
                expectedMoves[p.key + u'|' + who + u'|' + (p.kind == Kind::Deactivate ? u"Baja"_s : u"Reactivación"_s)] += 1;
            } else if (o.ids == QStringList{failure}) {
                commandRefusals[failure] += 1;
            } else {
                fail(at + u"the command neither committed nor failed with its message: "_s + o.ids.join(u','));
            }
        }
    }

    // Every key, serial and economic number once.
    for (const QString &c : {u"Af_Cve_Activo_Fijo"_s, u"Af_Numero_Serie"_s, u"Af_Numero_Economico"_s}) {
        for (const QString &dup : rowsOf(*db, u"SELECT %1, COUNT(*) FROM Activo_Fijo GROUP BY %1 HAVING COUNT(*) > 1"_s.arg(c)))
            fail(c + u" repeated: "_s + dup);
    }
    for (auto it = wins.constBegin(); it != wins.constEnd(); ++it) {
        if (it.value() != 1)
            fail(u"key %1 stored by %2 saves"_s.arg(it.key()).arg(it.value()));
    }
    for (int slot = 0; slot * 10 < saves; ++slot) {
        const QString key = u"F%1"_s.arg(slot, 3, 10, QLatin1Char('0'));
        if (!wins.contains(key))
            fail(u"no save of the fought key %1 went through"_s.arg(key));
    }
    const int assetsAfter = db->value(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt();
    int storedNew = 0;
    for (int h = 0; h < hosts; ++h) {
        const QList<AttemptScript::Outcome> outcomes = scripts[h].outcomes(runs[h]);
        for (qsizetype a = 0; a < outcomes.size(); ++a)
            storedNew += plans[h].at(a).kind == Kind::New && !outcomes[a].editing() && outcomes[a].ids.isEmpty();
    }
    if (assetsAfter != assetsBefore + storedNew)
        fail(u"%1 assets after %2 new ones stored on %3"_s.arg(assetsAfter).arg(storedNew).arg(assetsBefore));
    // Every distribution adds up.
    for (const QString &off : rowsOf(*db, u"SELECT Af_Cve_Activo_Fijo, SUM(Acc_Porcentaje) FROM Activo_Fijo_Centro_Costo "
                                           "GROUP BY Af_Cve_Activo_Fijo HAVING SUM(Acc_Porcentaje) <> 100"_s))
        fail(u"distribution does not add up to 100: "_s + off);
    // An edited asset is wholly one edit: its row and its three rows.
    for (const QString &key : Edited) {
        const QString tag = db->value(u"SELECT Af_UserDef_1 FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
        if (tag == u"inicial"_s && editedTo.value(key).isEmpty())
            continue;
        if (!editedTo.value(key).contains(tag)) {
            fail(u"%1 holds %2, no edit that went through"_s.arg(key, tag));
            continue;
        }
        const int h = tag.mid(1, tag.indexOf(u'#') - 1).toInt() - 1;
        const int i = tag.mid(tag.indexOf(u'#') + 1).toInt();
        const Plan &p = plans[h].at(i + i / 10); // a command follows every tenth save
        if (p.tag != tag || distribution.value(key) != p.distribution
            || db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key)) != p.description)
            fail(u"%1 is not wholly the edit %2: %3"_s.arg(key, tag, distribution.value(key).join(u',')));
    }
    // Every registration and movement stands for a command that said it went through.
    for (auto it = audited.constBegin(); it != audited.constEnd(); ++it) {
        if (!it.key().contains(u"|H"_s))
            continue;
        if (expectedAudit.value(it.key()) != it.value())
            fail(u"audit rows %1: %2 for %3 commands that went through"_s.arg(it.key()).arg(it.value()).arg(expectedAudit.value(it.key())));
    }
    for (auto it = expectedAudit.constBegin(); it != expectedAudit.constEnd(); ++it) {
        if (!audited.contains(it.key()))
            fail(u"no audit row for %1 (%2 commands went through)"_s.arg(it.key()).arg(it.value()));
    }
    for (auto it = expectedMoves.constBegin(); it != expectedMoves.constEnd(); ++it) {
        if (moved.value(it.key()) != it.value())
            fail(u"movements %1: %2 for %3 commands"_s.arg(it.key()).arg(moved.value(it.key())).arg(it.value()));
    }
    if (moved.size() != expectedMoves.size())
        fail(u"%1 kinds of movement for %2 expected"_s.arg(moved.size()).arg(expectedMoves.size()));
    // Equipment and vehicles: made once, in their asset's state.
    for (const QString &key : Cycled) {
        const QString state = db->value(u"SELECT Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
        for (const auto &[table, keyColumn] : {std::pair{u"Equipo"_s, u"Eq_Activo_Fijo"_s},
                                               std::pair{u"Vehiculo"_s, u"Af_Cve_Activo_Fijo"_s}}) {
            const QStringList states = rowsOf(*db, u"SELECT Es_Cve_Estado FROM %1 WHERE %2 = '%3'"_s.arg(table, keyColumn, key));
            if (states.size() != generated.value(key).value(table))
                fail(u"%1 of %2: %3 rows for %4 reported made"_s.arg(table, key).arg(states.size())
                         .arg(generated.value(key).value(table)));
            if (states.size() > 1)
                fail(u"%1 of %2 made %3 times"_s.arg(table, key).arg(states.size()));
            for (const QString &s : states) {
                if (s != state)
                    fail(u"%1 of %2 is %3 while the asset is %4"_s.arg(table, key, s, state));
            }
        }
    }
    // No save holds a transaction or a lock any longer.
    const QString open = db->value(u"SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                   "AND state LIKE 'idle in transaction%'"_s);
    if (open != u"0"_s)
        fail(open + u" sessions left in a transaction"_s);

    auto byId = [](const QMap<QString, int> &counts) {
        QStringList out;
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
            out << u"%1 x%2"_s.arg(it.key().mid(7)).arg(it.value());
        return out.join(u", "_s);
    };
    qInfo("%d hosts, %d saves attempted: %d stored, %d refused with their message (%s); %d commands on the shared "
          "assets, %d committed, refused: %s; %d fought keys with one winner each; %.1f s; rows lost, duplicated or "
          "half-written: %d", hosts, attempted, stored, refused, qPrintable(byId(refusals)), commands, committed,
          qPrintable(byId(commandRefusals)), int(wins.size()), elapsed / 1000.0, int(wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    QCOMPARE(attempted, hosts * saves);
}

// Two users generate equipment for two assets while the table has no key
// counter yet: both find none, both make it, neither may be refused for it.
void tst_Concurrency::firstKeysOfATableAtOnce()
{
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    db->execute(u"DELETE FROM Clave_Siguiente"_s);
    const int before = db->value(u"SELECT COUNT(*) FROM Equipo"_s).toInt();
    // Held until both hosts wait on the counters, so they reach them together.
    QSqlQuery lock(db->connection().database());
    QVERIFY(lock.exec(u"BEGIN"_s));
    QVERIFY(lock.exec(u"LOCK TABLE Clave_Siguiente IN EXCLUSIVE MODE"_s));
    const QString url = db->url();
    auto generate = [url](const QString &asset) {
        return std::async(std::launch::async, [url, asset] {
            return runHost(url, AttemptScript::load(asset) + u"toolbar B3\n"_s);
        });
    };
    auto a = generate(u"0000000002"_s);
    auto b = generate(u"0000000003"_s);
    // Watched from a session of its own: inside the lock's transaction the
    // activity statistics would stay as they were at its first look.
    auto watcher = suite::Connection::open(url);
    QElapsedTimer waited;
    waited.start();
    int waiting = 0;
    while (waiting < 2 && waited.elapsed() < 60000) {
        QThread::msleep(50);
        waiting = watcher->Execute(u"SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                   "AND wait_event_type = 'Lock'"_s)->fieldValue(0).toInt();
    }
    QVERIFY(lock.exec(u"COMMIT"_s));
    const HostRun runs[] = {a.get(), b.get()};
    QCOMPARE(waiting, 2);
    QStringList made;
    for (const HostRun &run : runs) {
        const QList<QJsonObject> shown = run.of(u"mensaje"_s);
        QVERIFY2(run.messageIds() == QStringList{u"ERR-ID:7500036"_s}, qPrintable(shown.value(0).value(u"prompt"_s).toString()));
        made << shown.constFirst().value(u"prompt"_s).toString();
    }
    QVERIFY2(made[0] != made[1], qPrintable(made.join(u" / "_s)));
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Equipo"_s).toInt(), before + 2);
}

QTEST_MAIN(tst_Concurrency)
#include "tst_concurrency.moc"
