// Many clerks at once on one PostgreSQL database: real hosts saving hundreds of assets each, fighting for keys,
// serial and economic numbers, editing the same assets and deactivating, reactivating and generating equipment for
// the same assets. Afterwards nothing is duplicated, half written or lost.
#include "tests/reliability/AttemptScript.h"

#include <QDeadlineTimer>
#include <QSet>
#include <QSqlQuery>
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

// Assets every host edits, and assets every host generates equipment for, deactivates and reactivates.
const QStringList Edited = {u"0000000004"_s, u"0000000008"_s, u"0000000012"_s, u"0000000020"_s};
const QStringList Cycled = {u"0000000002"_s, u"0000000003"_s, u"0000000005"_s, u"0000000015"_s, u"0000000017"_s, u"0000000022"_s};
enum Kind { New, Edit, Generate, Deactivate, Reactivate };
// By kind: the button pressed, the refusals it may meet, the movement it makes.
struct Command
{
    QString button;
    QSet<QString> refusals;
    QString movement = {};
};
const QSet<QString> SaveRefusals = {u"ERR-ID:7500002"_s, u"ERR-ID:7500008"_s, u"ERR-ID:7500009"_s, u"ERR-ID:7500028"_s};
const Command Commands[] = {{{}, SaveRefusals}, {{}, SaveRefusals},
                            {u"B3"_s, {u"ERR-ID:7500034"_s, u"ERR-ID:7500035"_s, u"ERR-ID:7500042"_s}},
                            {u"Eliminar"_s, {u"ERR-ID:7500044"_s}, u"Baja"_s}, {u"Reactivar"_s, {u"ERR-ID:7500046"_s}, u"Reactivación"_s}};
const QSet<QString> GenerationReports = {u"ERR-ID:7500036"_s, u"ERR-ID:7500037"_s, u"ERR-ID:7500038"_s,
                                         u"ERR-ID:7500039"_s, u"ERR-ID:7500040"_s, u"ERR-ID:7500041"_s};

struct Plan // what one attempt set out to do
{
    Kind kind;
    QString key, tag;     // tag, in Af_UserDef_1: which attempt a stored row came from
    QStringList row = {}; // of a save: key|description|serial|economic as typed (an edit's serial empty: as loaded)
    QStringList distribution = {};
};

// The script of host h (from 0) and what each attempt means. Of every ten saves, seven are new assets (one on a key
// all hosts try at about the same moment, one on a fought serial, one on a fought economic number) and three edit the
// shared assets (one in thirty taking a fought serial); then a third of the hosts generate equipment for a shared
// asset, a third deactivate it, the rest reactivate it.
void hostScript(int h, int saves, AttemptScript &script, QList<Plan> &plans)
{
    const QString who = u"H%1"_s.arg(h + 1);
    for (int i = 0; i < saves; ++i) {
        const int slot = i / 10;
        Plan p{i % 10 < 7 ? New : Edit, QString(), u"%1#%2"_s.arg(who).arg(i)};
        if (p.kind == Edit) {
            p.key = Edited.at((i + h) % Edited.size());
            p.row = {p.key, u"Cambio "_s + p.tag, i % 30 == 7 ? u"SF%1"_s.arg(slot) : QString(), QString()};
            p.distribution = AttemptScript::spread(i + h, 3);
            script.add(AttemptScript::edit(p.key, p.row[1], p.tag, p.row[2], p.distribution));
        } else {
            p.key = i % 10 == 0 ? u"F%1"_s.arg(slot, 3, 10, QLatin1Char('0')) : u"%1N%2"_s.arg(who).arg(i, 3, 10, QLatin1Char('0'));
            p.row = {p.key, u"Alta "_s + p.tag, i % 10 == 1 ? u"SF%1"_s.arg(slot) : u"S-%1-%2"_s.arg(who).arg(i),
                     i % 10 == 2 ? u"EF%1"_s.arg(slot) : u"E-%1-%2"_s.arg(who).arg(i)};
            p.distribution = AttemptScript::spread(i + h, 1 + (i + h) % 3);
            script.add(AttemptScript::newAsset(p.key, p.row[1], p.row[2], p.row[3], p.tag, p.distribution));
        }
        plans << p;
        if (i % 10 == 9) {
            plans << Plan{Kind(Generate + (h + slot) % 3), Cycled.at(slot % Cycled.size()), p.tag};
            script.add(AttemptScript::load(plans.last().key) + u"toolbar "_s + Commands[plans.last().kind].button, false);
        }
    }
}

} // namespace

void tst_Concurrency::hostsSaveAtOnce()
{
    auto setting = [](const char *name, int fallback) { return qEnvironmentVariableIntValue(name) > 0 ? qEnvironmentVariableIntValue(name) : fallback; };
    const int hosts = setting("TALVEXOR_CONCURRENT_HOSTS", 8), saves = setting("TALVEXOR_CONCURRENT_SAVES", 500);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    typeAsTyped(*db);
    // The edited assets start with three rows and no single centre, so every edit overwrites the same three cells.
    const QString edited = u" IN ('"_s + Edited.join(u"', '"_s) + u"')"_s, cycled = u" IN ('"_s + Cycled.join(u"', '"_s) + u"')"_s;
    db->execute(u"DELETE FROM Activo_Fijo_Centro_Costo WHERE Af_Cve_Activo_Fijo"_s + edited);
    db->execute(u"INSERT INTO Activo_Fijo_Centro_Costo SELECT Af_Cve_Activo_Fijo, c, s FROM Activo_Fijo, (VALUES ('000120', 50), "
                "('000130', 30), ('000140', 20)) v (c, s) WHERE Af_Cve_Activo_Fijo"_s + edited);
    db->execute(u"UPDATE Activo_Fijo SET Af_Centro_Costo = '', Af_UserDef_1 = 'inicial' WHERE Af_Cve_Activo_Fijo"_s + edited);
    db->execute(u"DELETE FROM Equipo WHERE Eq_Activo_Fijo"_s + cycled);
    db->execute(u"DELETE FROM Vehiculo WHERE Af_Cve_Activo_Fijo"_s + cycled);
    const int assetsBefore = db->value(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt();

    QList<AttemptScript> scripts;
    QList<QList<Plan>> plans;
    std::vector<std::future<HostRun>> running;
    QElapsedTimer clock;
    clock.start();
    for (int h = 0; h < hosts; ++h) {
        hostScript(h, saves, scripts.emplace_back(), plans.emplace_back());
        running.push_back(std::async(std::launch::async, [url = db->url(), text = scripts.last().text(), h] {
            return runHost(url, text, {u"--usuario"_s, u"H%1"_s.arg(h + 1)});
        }));
    }
    std::for_each(running.begin(), running.end(), [](auto &r) { r.wait(); });
    const qint64 elapsed = clock.elapsed();

    // Everything wrong is collected, so one run shows every kind of fault.
    QStringList wrong;
    auto fail = [&wrong](const QString &what) { wrong << what; };
    QMap<QString, QString> rowOfTag; // tag -> key|description|serial|economic, as stored
    for (const QString &row : rowsOf(*db, u"SELECT Af_UserDef_1, Af_Cve_Activo_Fijo, Af_Descripcion, Af_Numero_Serie, "
                                           "Af_Numero_Economico FROM Activo_Fijo"_s))
        rowOfTag.insert(row.section(u'|', 0, 0), row.section(u'|', 1));
    int stored = 0, committed = 0;
    QMap<QString, int> refusals, commandRefusals;    // by message id
    QMap<QString, int> wins;                         // fought key -> saves of it that went through
    QMap<QString, int> expectedAudit, expectedMoves; // key|operator(|action) -> commands that went through
    QMap<QString, int> generated;                    // key|table -> 1 when a generation reported making it
    QMap<QString, Plan> editOfTag;                   // the edits that went through
    for (int h = 0; h < hosts; ++h) {
        const QString who = u"H%1"_s.arg(h + 1);
        const HostRun run = running[h].get();
        if (const QString trouble = hostTrouble(run); !trouble.isEmpty())
            fail(who + u": "_s + trouble.left(500));
        const QList<AttemptScript::Outcome> outcomes = scripts[h].outcomes(run);
        for (qsizetype a = 0; a < outcomes.size(); ++a) {
            const AttemptScript::Outcome &o = outcomes.at(a);
            const Plan &p = plans[h].at(a);
            const bool save = p.kind == New || p.kind == Edit;
            const QString at = u"%1 attempt %2 (%3): "_s.arg(who).arg(a).arg(p.tag);
            // A deactivated asset offers no generation nor a second deactivation, an active one no reactivation.
            if (!o.finished || (!o.errors.isEmpty() && (save || o.errors.size() != 1 || !o.errors[0].contains(u"La barra no ofrece"_s))))
                fail(at + (o.finished ? o.errors.join(u"; "_s) : u"never finished"_s));
            if (!o.finished || !o.errors.isEmpty())
                continue;
            const auto failures = std::count_if(o.ids.begin(), o.ids.end(), [&](const QString &id) { return Commands[p.kind].refusals.contains(id); });
            const bool through = p.kind == Generate ? failures == 0 : save ? o.stored() : o.ids.isEmpty() && o.idle();
            if (!through) {
                // Refused: with one message it may meet, and a save keeps what was typed.
                (save ? refusals : commandRefusals)[o.ids.value(0)] += 1;
                if (o.ids.size() != 1 || failures != 1 || o.prompts.value(0).isEmpty() || (save && !o.editing()))
                    fail(at + u"neither went through nor was refused with its message: "_s + o.ids.join(u',') + u' '
                         + o.prompts.join(u" / "_s).left(300));
            } else if (p.kind == Generate) {
                for (qsizetype m = 0; m < o.ids.size(); ++m) {
                    if (!GenerationReports.contains(o.ids[m]))
                        fail(at + u"generation said "_s + o.ids[m] + u' ' + o.prompts[m]);
                    generated[p.key + u"|Equipo"_s] |= o.prompts[m].contains(u"Se creó el equipo"_s);
                    generated[p.key + u"|Vehiculo"_s] |= o.prompts[m].contains(u"vehículo con clave"_s);
                }
            } else {
                expectedAudit[p.key + u'|' + who] += 1;
                if (!save)
                    expectedMoves[p.key + u'|' + who + u'|' + Commands[p.kind].movement] += 1;
                else if (p.kind == Edit)
                    editOfTag.insert(p.tag, p);
                else if (p.key.startsWith(u'F'))
                    wins[p.key] += 1;
            }
            (save ? stored : committed) += through;
            // A new asset whole, as typed, or not there at all.
            if (p.kind == New) {
                const QString found = rowOfTag.value(p.tag), expected = p.row.join(u'|');
                if (through ? found != expected : !found.isEmpty())
                    fail(at + (through ? u"stored"_s : u"refused, yet"_s) + u" its row is \""_s + found + u"\" for "_s + expected);
                if (through && distributionOf(*db, p.key) != p.distribution)
                    fail(at + u"distribution "_s + distributionOf(*db, p.key).join(u',') + u" for "_s + p.distribution.join(u','));
            }
        }
    }

    // Every serial and economic number once; each fought key won (by one save: a second would miss its row above);
    // every refusal one asset less; every distribution adding up.
    for (const QString &dup : rowsOf(*db, u"SELECT 'serial', Af_Numero_Serie FROM Activo_Fijo GROUP BY 2 HAVING COUNT(*) > 1 UNION ALL "
                                           "SELECT 'economic', Af_Numero_Economico FROM Activo_Fijo GROUP BY 2 HAVING COUNT(*) > 1"_s))
        fail(u"repeated "_s + dup);
    if (wins.size() != (saves + 9) / 10)
        fail(u"%1 of %2 fought keys stored"_s.arg(wins.size()).arg((saves + 9) / 10));
    const int storedNew = stored - int(editOfTag.size()), assetsAfter = db->value(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt();
    if (assetsAfter != assetsBefore + storedNew)
        fail(u"%1 assets after %2 new ones stored on %3"_s.arg(assetsAfter).arg(storedNew).arg(assetsBefore));
    for (const QString &off : rowsOf(*db, u"SELECT Af_Cve_Activo_Fijo, SUM(Acc_Porcentaje) FROM Activo_Fijo_Centro_Costo "
                                           "GROUP BY Af_Cve_Activo_Fijo HAVING SUM(Acc_Porcentaje) <> 100"_s))
        fail(u"distribution does not add up to 100: "_s + off);
    // An edited asset is wholly one edit that went through: its row and its three rows.
    for (const QString &key : Edited) {
        const QString row = db->value(u"SELECT Af_UserDef_1 || '|' || Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
        const auto edit = editOfTag.constFind(row.section(u'|', 0, 0));
        if (row.startsWith(u"inicial|"_s) ? std::any_of(editOfTag.begin(), editOfTag.end(), [&](const Plan &e) { return e.key == key; })
                                           : edit == editOfTag.constEnd() || edit->key != key || row != edit->tag + u'|' + edit->row[1]
                                                 || distributionOf(*db, key) != edit->distribution)
            fail(u"%1 is not wholly one edit that went through: %2 %3"_s.arg(key, row, distributionOf(*db, key).join(u',')));
    }
    // Every registration and movement stands for a command that said it went through; equipment and vehicles were
    // made as reported, once, in their asset's state.
    auto compare = [&](const QString &what, const QMap<QString, int> &found, const QMap<QString, int> &expected) {
        for (const QString &key : QSet<QString>(found.keyBegin(), found.keyEnd()) + QSet<QString>(expected.keyBegin(), expected.keyEnd())) {
            if (found.value(key) != expected.value(key))
                fail(u"%1 %2: %3 for %4 that went through"_s.arg(what, key).arg(found.value(key)).arg(expected.value(key)));
        }
    };
    compare(u"audit rows"_s, countsOf(*db, u"SELECT Bi_Clave, Bi_Operador, COUNT(*) FROM Bitacora WHERE Bi_Tabla = "
                                          "'Activo_Fijo' AND Bi_Operador LIKE 'H%' GROUP BY Bi_Clave, Bi_Operador"_s), expectedAudit);
    compare(u"movements"_s, countsOf(*db, u"SELECT Mo_Clave, Mo_Operador, Mo_Accion, COUNT(*) FROM Movimiento GROUP BY 1, 2, 3"_s), expectedMoves);
    compare(u"records"_s, countsOf(*db, u"SELECT a.Af_Cve_Activo_Fijo, r.t || CASE WHEN r.s IS NOT DISTINCT FROM a.Es_Cve_Estado THEN '' "
                                       "ELSE ' in another state than its asset' END, COUNT(*) FROM Activo_Fijo a JOIN (SELECT Eq_Activo_Fijo AS k, "
                                       "'Equipo' AS t, Es_Cve_Estado AS s FROM Equipo UNION ALL SELECT Af_Cve_Activo_Fijo, 'Vehiculo', "
                                       "Es_Cve_Estado FROM Vehiculo) r ON r.k = a.Af_Cve_Activo_Fijo WHERE a.Af_Cve_Activo_Fijo"_s
                                       + cycled + u" GROUP BY 1, 2"_s), generated);

    auto byId = [](const QMap<QString, int> &counts) {
        QStringList out;
        for (const auto &[id, n] : counts.asKeyValueRange())
            out << u"%1 x%2"_s.arg(id.mid(7)).arg(n);
        return out.join(u", "_s);
    };
    qInfo("%d hosts, %d saves attempted: %d stored, %d refused with their message (%s); %d commands on the shared "
          "assets, %d committed, refused: %s; %d fought keys with one winner each; %.1f s; rows lost, duplicated or "
          "half-written: %d", hosts, hosts * saves, stored, hosts * saves - stored, qPrintable(byId(refusals)), hosts * (saves / 10),
          committed, qPrintable(byId(commandRefusals)), int(wins.size()), elapsed / 1000.0, int(wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 40).join(u'\n')));
}

// Two users generate equipment for two assets while the table has no key counter yet: both find none, both make it,
// neither may be refused for it.
void tst_Concurrency::firstKeysOfATableAtOnce()
{
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    db->execute(u"DELETE FROM Clave_Siguiente"_s);
    const int before = db->value(u"SELECT COUNT(*) FROM Equipo"_s).toInt();
    // Held until both hosts wait on the counters, so they reach them together.
    QSqlQuery lock(db->connection().database());
    QVERIFY(lock.exec(u"BEGIN"_s) && lock.exec(u"LOCK TABLE Clave_Siguiente IN EXCLUSIVE MODE"_s));
    auto generate = [url = db->url()](const QString &asset) {
        return std::async(std::launch::async, [url, asset] { return runHost(url, AttemptScript::load(asset) + u"toolbar B3\n"_s); });
    };
    auto a = generate(u"0000000002"_s), b = generate(u"0000000003"_s);
    // Watched from a session of its own: inside the lock's transaction the statistics stay as at its first look.
    auto watcher = suite::Connection::open(db->url());
    int waiting = 0;
    for (QDeadlineTimer deadline(60000); waiting < 2 && !deadline.hasExpired();) {
        QThread::msleep(50);
        waiting = watcher->Execute(u"SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                   "AND wait_event_type = 'Lock'"_s)->fieldValue(0).toInt();
    }
    QVERIFY(lock.exec(u"COMMIT"_s));
    const HostRun runs[] = {a.get(), b.get()};
    QCOMPARE(waiting, 2);
    QStringList made;
    for (const HostRun &run : runs) {
        made << run.of(u"mensaje"_s).value(0).value(u"prompt"_s).toString();
        QVERIFY2(run.messageIds() == QStringList{u"ERR-ID:7500036"_s}, qPrintable(made.last()));
    }
    QVERIFY2(made[0] != made[1], qPrintable(made.join(u" / "_s)));
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Equipo"_s).toInt(), before + 2);
}

QTEST_MAIN(tst_Concurrency)
#include "tst_concurrency.moc"
