// Many clerks at once on one PostgreSQL database: real hosts saving hundreds of assets each, fighting for keys,
// serial and economic numbers, editing the same assets and deactivating, reactivating and generating equipment for
// the same assets. Afterwards nothing is duplicated, half written or lost, and no edit went through over another
// one it was not shown. Hosts that start together upgrade the schema in turn. Then two users on one asset, step by step in every order, on both backends; and a user
// whose row another session holds, or whose session the server ended.
#include "suite/data/Schema.h"
#include "tests/reliability/AttemptScript.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <future>
#include <optional>

using namespace Qt::StringLiterals;

class tst_Concurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostsSaveAtOnce();
    void firstKeysOfATableAtOnce();
    void startsThatUpgradeAtOnce();
    void twoUsersOnOneAsset_data() { TestDatabase::addBackendRows(); }
    void twoUsersOnOneAsset();
    void heldRowAndEndedSession();
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
const QSet<QString> SaveRefusals = {u"ERR-ID:7500002"_s, u"ERR-ID:7500008"_s, u"ERR-ID:7500009"_s, u"ERR-ID:7500028"_s,
                                    u"ERR-ID:7500060"_s};
const Command Commands[] = {{{}, SaveRefusals}, {{}, SaveRefusals},
                            {u"B3"_s, {u"ERR-ID:7500034"_s, u"ERR-ID:7500035"_s, u"ERR-ID:7500042"_s, u"ERR-ID:7500063"_s}},
                            {u"Eliminar"_s, {u"ERR-ID:7500044"_s, u"ERR-ID:7500061"_s}, u"Baja"_s},
                            {u"Reactivar"_s, {u"ERR-ID:7500046"_s, u"ERR-ID:7500062"_s}, u"Reactivación"_s}};
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
            script.add(AttemptScript::edit(p.key, p.row[1], p.tag, p.row[2], p.distribution, true));
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
            script.add(loadLines(plans.last().key) + u"toolbar "_s + Commands[plans.last().kind].button, false);
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
    QMap<QString, int> failureReasons;               // of the saves that failed (7500028), by their first words
    QMap<QString, int> wins;                         // fought key -> saves of it that went through
    QMap<QString, int> expectedAudit, expectedMoves; // key|operator(|action) -> commands that went through
    QMap<QString, int> generated;                    // key|table -> 1 when a generation reported making it
    QMap<QString, Plan> editOfTag;                   // the edits that went through
    QMap<QString, QString> shownTagOfEdit;           // tag of an edit that went through -> the tag it was shown
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
                if (o.ids.value(0) == u"ERR-ID:7500028"_s)
                    failureReasons[o.prompts.value(0).section(u'\n', 0, 0).left(60)] += 1;
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
                else if (p.kind == Edit) {
                    editOfTag.insert(p.tag, p);
                    shownTagOfEdit.insert(p.tag, dumpedControl(o.seen.value(0), u"txtUser1"_s).value(u"text").toString());
                } else if (p.key.startsWith(u'F'))
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
    // No lost update: the edits of an asset that went through are one chain, each shown the one before it (or the
    // row as prepared), never two shown the same row.
    QMap<QString, QString> editShownRow; // asset|tag shown -> the edit shown it
    for (const auto &[tag, shown] : shownTagOfEdit.asKeyValueRange()) {
        const QString key = editOfTag[tag].key, shownRow = key + u'|' + shown;
        if (editShownRow.contains(shownRow))
            fail(u"%1 and %2 both went through, both shown %3 as %4: one undid the other"_s.arg(editShownRow[shownRow], tag, key, shown));
        editShownRow.insert(shownRow, tag);
        if (shown != u"inicial"_s && editOfTag.value(shown).key != key)
            fail(u"%1 went through over %2 of %3, which no edit that went through left"_s.arg(tag, shown, key));
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
    // Each in the asset's history once, by its state's change.
    compare(u"changes of state"_s, countsOf(*db, u"SELECT Hi_Clave, Hi_Operador, Hi_Orden, COUNT(*) FROM Historial WHERE "
                                                "Hi_Campo = 'Es_Cve_Estado' AND Hi_Orden <> 'Alta' GROUP BY 1, 2, 3"_s), expectedMoves);
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
    for (const auto &[reason, n] : failureReasons.asKeyValueRange())
        qInfo("7500028 x%d: %s", n, qPrintable(reason));
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
        return std::async(std::launch::async, [url, asset] { return runHost(url, loadLines(asset) + u"toolbar B3\n"_s); });
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

// Hosts that start together on a database the upgrade must complete make it in turn: none is refused, and it is
// whole afterwards.
void tst_Concurrency::startsThatUpgradeAtOnce()
{
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    for (int round = 0; round < 4; ++round) {
        db->execute(u"DROP INDEX UX_Activo_Fijo_Serie_Caso"_s);
        QVERIFY(suite::Schema::needsUpgrade(db->connection()));
        std::vector<std::future<HostRun>> starts;
        for (int host = 0; host < 4; ++host)
            starts.push_back(std::async(std::launch::async, [url = db->url()] { return runHost(url, u"dump ssTabKit\n"_s); }));
        for (auto &start : starts) {
            const HostRun run = start.get();
            QVERIFY2(run.exitCode == 0 && run.of(u"dump"_s).size() == 1, qPrintable(run.errorOutput));
        }
        QVERIFY(!suite::Schema::needsUpgrade(db->connection()));
    }
}

namespace {

// One user's part in a duel: what they prepare once the asset is shown (%1: the round), the command they press.
struct Part
{
    QString prepare, press;
};
struct Duel
{
    const char *name;
    QString startState;
    Part ana, beto;
};
enum Result { Through, Refused, Withdrawn, Unclear };
// The asset as the presses leave it, and what came of each.
struct Prediction
{
    QString state;
    int version = 0;
    bool equipment = false, saved[2] = {};
    QStringList moves; // "user|action" of the movements, in order
    Result result[2] = {Unclear, Unclear};
};

const QString Names[2] = {u"ANA"_s, u"BETO"_s};
const QMap<QString, QString> ChangedMeanwhile = {{u"Aceptar"_s, u"ERR-ID:7500060"_s}, {u"Eliminar"_s, u"ERR-ID:7500061"_s},
                                                 {u"Reactivar"_s, u"ERR-ID:7500062"_s}, {u"B3"_s, u"ERR-ID:7500063"_s}};

// Steps in order: a/b ANA/BETO shows the asset and prepares, A/B presses. A press is offered only for the state its
// user was shown, refused when the asset changed since, else it changes the asset (generation leaves its row as it was).
Prediction predict(const Duel &duel, const QString &order)
{
    Prediction p, shown[2];
    p.state = duel.startState;
    for (const QChar step : order) {
        const int who = step.toLower() == u'b';
        const QString press = (who ? duel.beto : duel.ana).press;
        if (step.isLower())
            shown[who] = p;
        else if ((press == u"Reactivar"_s) != (shown[who].state == u"BA"_s))
            p.result[who] = Withdrawn;
        else if (shown[who].version != p.version)
            p.result[who] = Refused;
        else {
            p.result[who] = Through;
            p.version += press != u"B3"_s;
            p.equipment |= press == u"B3"_s;
            p.saved[who] |= press == u"Aceptar"_s;
            if (press == u"Eliminar"_s || press == u"Reactivar"_s) {
                p.state = press == u"Eliminar"_s ? u"BA"_s : u"AC"_s;
                p.moves << Names[who] + (press == u"Eliminar"_s ? u"|Baja"_s : u"|Reactivación"_s);
            }
        }
    }
    return p;
}

Result resultOf(const AttemptScript::Outcome &o, const QString &press)
{
    if (o.finished && o.errors.size() == 1 && o.errors[0].contains(u"no ofrece"_s) && o.ids.isEmpty())
        return Withdrawn;
    if (!o.finished || !o.errors.isEmpty())
        return Unclear;
    if (o.ids == QStringList{ChangedMeanwhile[press]})
        return Refused;
    const bool done = press == u"B3"_s ? o.ids == QStringList{u"ERR-ID:7500036"_s} : o.ids.isEmpty() && !o.editing();
    return done ? Through : Unclear;
}

} // namespace

// Two users, ANA and BETO, at two windows on one asset: each shows it and prepares a command, then presses it, in
// every order of those four steps and with both presses at once, for each pair of commands. Each press goes through,
// is refused with its message (naming the other user; a refused save keeps what was typed), or is not offered,
// exactly as the asset's history says; and the database holds every change that went through, each movement once.
void tst_Concurrency::twoUsersOnOneAsset()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    const QString key = u"0000000002"_s;
    const Part describe{u"toolbar Modificar\nset txt_Af_Descripcion text \"Ana %1\"\n"_s, u"Aceptar"_s};
    const Part serial{u"toolbar Modificar\nset txtNSerie text \"SB%1\"\nset txtUser1 text \"Beto %1\"\n"_s, u"Aceptar"_s};
    const Part deactivate{{}, u"Eliminar"_s}, reactivate{{}, u"Reactivar"_s}, generate{{}, u"B3"_s};
    const Duel duels[] = {{"edit and save", u"AC"_s, describe, serial},
                          {"two deactivations", u"AC"_s, deactivate, deactivate},
                          {"edit and deactivation", u"AC"_s, describe, deactivate},
                          {"two reactivations", u"BA"_s, reactivate, reactivate},
                          {"generation and deactivation", u"AC"_s, generate, deactivate}};
    // "*": both presses sent at once, a few random milliseconds apart, in a random order.
    const QStringList orders = {u"aAbB"_s, u"abAB"_s, u"abBA"_s, u"baAB"_s, u"baBA"_s, u"bBaA"_s, u"ab*"_s, u"ba*"_s};
    LiveHost hosts[2] = {{db->url(), Names[0]}, {db->url(), Names[1]}};
    QStringList wrong;
    int tally[4] = {};
    // Each duel in every order three times over: the presses at once meet in a different order each time.
    const int duelCount = int(std::size(duels)), rounds = 3 * duelCount * int(orders.size());
    for (int round = 1; round <= rounds; ++round) {
        const Duel &duel = duels[(round - 1) / orders.size() % duelCount];
        const QString &order = orders[(round - 1) % orders.size()];
        const QString at = u"%1, %2: "_s.arg(QLatin1String(duel.name), order);
        const QString where = u" WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key);
        db->execute(u"UPDATE Activo_Fijo SET Af_Descripcion = 'Inicial', Af_Numero_Serie = 'S-DUELO', Af_UserDef_1 = '', "
                    "Es_Cve_Estado = '%1', Oper_Baja = '', Fecha_Baja = NULL"_s.arg(duel.startState) + where);
        db->execute(u"DELETE FROM Equipo WHERE Eq_Activo_Fijo = '%1'"_s.arg(key));
        const int movesBefore = db->value(u"SELECT COALESCE(MAX(Mo_Numero), 0) FROM Movimiento"_s).toInt();
        const Part parts[2] = {duel.ana, duel.beto};
        auto pressLine = [&](int who) { return u"toolbar "_s + parts[who].press + u'\n'; };
        AttemptScript::Outcome pressed[2];
        for (const QChar step : order) {
            const int who = step.toLower() == u'b';
            if (step == u'*') {
                const int first = int(QRandomGenerator::global()->bounded(2));
                hosts[first].send(pressLine(first), {u"txt_Af_Descripcion"_s});
                QThread::msleep(QRandomGenerator::global()->bounded(30));
                hosts[1 - first].send(pressLine(1 - first), {u"txt_Af_Descripcion"_s});
                pressed[first] = hosts[first].receive();
                pressed[1 - first] = hosts[1 - first].receive();
            } else if (step.isLower()) {
                // The key typed anew, as the user would: entering the shown key again keeps the commands it offered.
                hosts[who].step(setText(u"txt_Af_Cve_Activo_Fijo"_s, {}) + loadLines(key)
                                + QString(parts[who].prepare).replace(u"%1"_s, QString::number(round)));
            } else {
                pressed[who] = hosts[who].step(pressLine(who), {u"txt_Af_Descripcion"_s});
            }
        }
        const Result results[2] = {resultOf(pressed[0], parts[0].press), resultOf(pressed[1], parts[1].press)};
        // At once, either may have been first.
        const QStringList expansions = order.endsWith(u'*') ? QStringList{order.left(2) + u"AB"_s, order.left(2) + u"BA"_s}
                                                            : QStringList{order};
        std::optional<Prediction> matched;
        for (const QString &expansion : expansions) {
            const Prediction p = predict(duel, expansion);
            if (p.result[0] == results[0] && p.result[1] == results[1])
                matched = p;
        }
        if (!matched) {
            wrong << at + u"ANA %1 (%2), BETO %3 (%4)"_s.arg(results[0]).arg(pressed[0].ids.join(u',') + pressed[0].errors.join(u';'))
                             .arg(results[1]).arg(pressed[1].ids.join(u',') + pressed[1].errors.join(u';'));
        }
        for (int who = 0; who < 2; ++who) {
            tally[results[who]] += 1;
            if (results[who] != Refused)
                continue;
            if (!pressed[who].prompts.value(0).contains(u"El usuario "_s + Names[1 - who]))
                wrong << at + u"the refusal does not name who changed it: "_s + pressed[who].prompts.value(0);
            const QString typed = dumpedControl(pressed[who].dump, u"txt_Af_Descripcion"_s).value(u"text").toString();
            if (who == 0 && parts[0].press == u"Aceptar"_s && (!pressed[0].editing() || typed != u"Ana %1"_s.arg(round)))
                wrong << at + u"the refused save did not keep what was typed: "_s + typed;
        }
        if (matched) {
            // Every change that went through is there, nothing else: no update lost, no movement twice.
            const Prediction &p = *matched;
            const QString expected = QStringList{p.state, p.saved[0] ? u"Ana %1"_s.arg(round) : u"Inicial"_s,
                                                 p.saved[1] ? u"SB%1"_s.arg(round) : u"S-DUELO"_s,
                                                 p.equipment ? p.state : u"no equipment"_s}.join(u'|');
            const QString found = db->value(u"SELECT a.Es_Cve_Estado || '|' || a.Af_Descripcion || '|' || a.Af_Numero_Serie || '|' || "
                                            "COALESCE(e.Es_Cve_Estado, 'no equipment') FROM Activo_Fijo a LEFT JOIN Equipo e "
                                            "ON e.Eq_Activo_Fijo = a.Af_Cve_Activo_Fijo WHERE a.Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
            const QStringList moves = rowsOf(*db, u"SELECT Mo_Operador, Mo_Accion FROM Movimiento WHERE Mo_Numero > %1 ORDER BY Mo_Numero"_s.arg(movesBefore));
            if (found != expected || moves != p.moves)
                wrong << at + u"the asset is %1 with movements %2, not %3 with %4"_s.arg(found, moves.join(u','), expected, p.moves.join(u','));
        }
        for (LiveHost &host : hosts) {
            if (host.step({}).editing())
                host.step(u"toolbar Cancelar\n"_s);
        }
    }
    qInfo("%s: %d rounds of two users on one asset; presses: %d went through, %d refused with their message, %d not "
          "offered, %d unclear; wrong: %d", qPrintable(backend), rounds, tally[Through], tally[Refused], tally[Withdrawn],
          tally[Unclear], int(wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
}

// A user's save on PostgreSQL while another session holds the asset's row (a frozen client, a long report): it waits
// as long as SQLite would and then says so in the same words, keeping what was typed; it goes through once the row is
// free. Then the server ends the user's session, as a restart does: the next command runs on a new one, unnoticed.
void tst_Concurrency::heldRowAndEndedSession()
{
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    typeAsTyped(*db);
    const QString key = u"0000000004"_s;
    LiveHost ana(db->url(), u"ANA"_s);
    QVERIFY(ana.step(loadLines(key) + u"toolbar Modificar\n"_s + setText(u"txt_Af_Descripcion"_s, u"Esperando"_s)).editing());
    auto holder = suite::Connection::open(db->url());
    holder->BeginTrans();
    holder->Execute(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1' FOR UPDATE"_s.arg(key));
    QElapsedTimer clock;
    clock.start();
    const AttemptScript::Outcome waited = ana.step(u"toolbar Aceptar\n"_s, {u"txt_Af_Descripcion"_s});
    const qint64 waitedMs = clock.elapsed();
    // The row was held all along: the wait ended by itself.
    QVERIFY(holder->Execute(u"SELECT 1 AS uno"_s)->fieldValue(0).toInt() == 1 && holder->inTransaction());
    QCOMPARE(waited.ids, QStringList{u"ERR-ID:7500028"_s});
    QVERIFY2(waited.prompts[0].startsWith(u"Otro usuario ocupaba los mismos datos a la vez; vuelva a intentarlo."_s), qPrintable(waited.prompts[0]));
    QVERIFY(waited.editing());
    QCOMPARE(dumpedControl(waited.dump, u"txt_Af_Descripcion"_s).value(u"text").toString(), u"Esperando"_s);
    holder.reset(); // its transaction ends with its session
    QVERIFY(ana.step(u"toolbar Aceptar\n"_s).stored());
    QCOMPARE(db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key)), u"Esperando"_s);

    QCOMPARE(db->value(u"SELECT COUNT(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = current_database() "
                       "AND pid <> pg_backend_pid()"_s), u"1"_s);
    const AttemptScript::Outcome after = ana.step(loadLines(key) + u"toolbar Eliminar\n"_s);
    QVERIFY2(after.ids.isEmpty() && after.errors.isEmpty() && after.idle(), qPrintable(after.prompts.join(u'/') + after.errors.join(u'/')));
    QCOMPARE(db->value(u"SELECT Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key)), u"BA"_s);
    qInfo("a save waited %.1f s for a row another session held, then said so; a session the server ended came back unnoticed",
          waitedMs / 1000.0);
}

QTEST_MAIN(tst_Concurrency)
#include "tst_concurrency.moc"
