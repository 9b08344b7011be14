#include "bench/commands/CommandBench.h"

#include "screen/frmXB733.h"
#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/kit/Controles.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Utilerias.h"
#include "suite/session/MessagePresenter.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

// The last runs of each command that are sent again alone for the floor.
constexpr int Replays = 5;

// The lengths of filter each search is timed with, rare and common.
const int SearchLengths[] = {1, 2, 3, 5, 10};

// Texts that hold many of the generated catalogue's rows, by length (the
// dialog drops blanks at either end): parts of the asset descriptions (a
// sixth to three quarters of them; the most frequent of ten characters, a
// twelfth) and of the centres' (a fifth of them or more).
const QHash<int, QStringList> CommonAssetTexts = {
    {1, {u"a"_s, u"e"_s, u"o"_s, u"r"_s}}, {2, {u"de"_s, u"or"_s, u"ra"_s}}, {3, {u"ora"_s, u"dor"_s, u"tor"_s}},
    {5, {u"or de"_s, u"adora"_s, u"tador"_s}}, {10, {u"escritorio"_s, u"computador"_s}}};
const QHash<int, QStringList> CommonCentreTexts = {
    {1, {u"a"_s, u"r"_s, u"e"_s}}, {2, {u"al"_s, u"re"_s, u"ur"_s}}, {3, {u"urs"_s, u"cur"_s, u"sal"_s}},
    {5, {u"sucur"_s, u"cursa"_s, u"ucurs"_s}}, {10, {u"- Sucursal"_s, u"a - Sucurs"_s}}};
// Short texts no row holds: letters no asset (w, x) or centre (k, w, ñ) text has.
const QHash<int, QStringList> AbsentAssetTexts = {
    {1, {u"x"_s, u"w"_s}}, {2, {u"xw"_s, u"wa"_s, u"ox"_s}}, {3, {u"wxy"_s, u"xoa"_s, u"dwe"_s}}};
const QHash<int, QStringList> AbsentCentreTexts = {
    {1, {u"k"_s, u"w"_s, u"ñ"_s}}, {2, {u"kw"_s, u"ñe"_s, u"ak"_s}}, {3, {u"kwa"_s, u"eñe"_s, u"wal"_s}}};

// Equipment or a vehicle made, or both: what button 3 says when it worked.
const QStringList GenerationIds = {u"ERR-ID:7500036"_s, u"ERR-ID:7500037"_s, u"ERR-ID:7500038"_s};

QString assetKey(qint64 number)
{
    return QString::number(number).rightJustified(10, u'0');
}

} // namespace

// Every message the screen shows and every statement it sends while a
// command is measured.
class CommandLog : public suite::MessagePresenter
{
public:
    int show(const suite::MessageRequest &request) override
    {
        messages << request.id + u": "_s + request.prompt;
        ids << request.id;
        return 1;
    }

    void clear()
    {
        messages.clear();
        ids.clear();
        statements.clear();
        sqlMicros = 0;
        commitMicros = 0;
    }

    QStringList messages;
    QStringList ids;
    QStringList statements;
    qint64 sqlMicros = 0;
    qint64 commitMicros = 0;
};

CommandBench::CommandBench(frmXB733 &form, suite::Session &session, suite::Utilerias &utilerias, quint64 seed)
    : m_form(form)
    , m_session(session)
    , m_utilerias(utilerias)
    , m_connection(*session.connection())
    , m_toolbar(*form.controlAs<suite::Controles>(u"Controles"_s))
    , m_key(*form.controlAs<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s))
    , m_log(std::make_unique<CommandLog>())
    , m_random(quint32(seed))
{
    m_session.setMessages(m_log.get());
    m_assets = scalar(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toLongLong();
    m_centres = scalar(u"SELECT COUNT(*) FROM Centro_Costo"_s).toLongLong();
    if (m_assets < 1 || m_centres < 1)
        fail(u"the database holds no assets or no cost centres: generate a catalogue first"_s);
    QObject::connect(&m_connection, &suite::Connection::statementExecuted,
                     [log = m_log.get()](const QString &statement, qint64 micros) {
                         log->statements << statement;
                         log->sqlMicros += micros;
                         if (statement == u"COMMIT"_s)
                             log->commitMicros += micros;
                     });
    // Each table's first key ever issued seeds its counter from the highest
    // key; that happens once in a database's life, so it is done here.
    for (const auto &[table, column] : {std::pair{u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s},
                                        std::pair{u"Equipo"_s, u"Eq_Cve_Equipo"_s},
                                        std::pair{u"Vehiculo"_s, u"Vh_Cve_Vehiculo"_s}}) {
        int next = 0;
        m_utilerias.SiguienteClave(table, column, QString(), QString(), QString(), QString(), QString(), QString(),
                                   QString(), next);
    }
    m_assetSearch = std::make_unique<suite::SearchDialog>(&m_connection, u"ACTIVO_FIJO"_s, 100);
    m_centreSearch = std::make_unique<suite::SearchDialog>(&m_connection, u"CENTRO_COSTO"_s, 100);
    for (const QString &name : {u"load-by-key"_s, u"save-new"_s, u"save-update"_s, u"deactivation"_s,
                                u"generation"_s, u"SiguienteClave"_s})
        m_results.append(CommandSamples{name, {}, {}, {}, {}, {}, {}, {}});
    for (const QString &what : {u"asset"_s, u"centre"_s}) {
        for (const int length : SearchLengths) {
            for (const QString &kind : {u"rare"_s, u"common"_s})
                m_results.append(CommandSamples{u"search-%1-%2-%3"_s.arg(what).arg(length).arg(kind), {}, {}, {},
                                                {}, {}, {}, {}});
        }
    }
}

CommandBench::~CommandBench()
{
    m_session.setMessages(nullptr);
}

void CommandBench::run(int rounds)
{
    m_rounds = rounds;
    for (m_round = 0; m_round <= rounds; ++m_round) {
        loadByKey();
        for (const bool asset : {true, false}) {
            for (const int length : SearchLengths) {
                for (const bool common : {false, true})
                    search(u"search-%1-%2-%3"_s.arg(asset ? u"asset"_s : u"centre"_s).arg(length)
                               .arg(common ? u"common"_s : u"rare"_s),
                           asset, length, common);
            }
        }
        nextKey();
        saveNew();
        saveUpdate();
        deactivate();
        generate();
    }
}

CommandSamples &CommandBench::samples(const QString &name)
{
    for (CommandSamples &s : m_results) {
        if (s.name == name)
            return s;
    }
    fail(u"no command named "_s + name);
}

QStringList CommandBench::measure(CommandSamples &into, const std::function<void()> &action)
{
    QApplication::processEvents(); // nothing left over from setting up is charged to the command
    m_log->clear();
    QElapsedTimer timer;
    timer.start();
    action();
    const double ms = timer.nsecsElapsed() / 1e6;
    const QStringList sent = m_log->statements;
    const double sql = m_log->sqlMicros / 1000.0;
    if (m_round == 0)
        return sent;
    into.totalMs << ms;
    into.sqlMs << sql;
    into.screenMs << ms - sql;
    into.commitMs << m_log->commitMicros / 1000.0;
    into.statements << int(sent.size());
    if (m_round > m_rounds - Replays) {
        m_replay.timed = sent;
        into.replays << m_replay;
    }
    return sent;
}

void CommandBench::loadByKey()
{
    const QString key = randomAsset();
    m_replay = {};
    m_key.setText(key); // the change empties the screen, as typing does
    measure(samples(u"load-by-key"_s), [&] {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QApplication::sendEvent(&m_key, &enter);
    });
    if (m_toolbar.clave() != key || !m_log->messages.isEmpty())
        fail(u"asset %1 did not load %2"_s.arg(key, m_log->messages.join(u"; "_s)));
}

// A filter typed whole into the search dialog, from an empty one (untimed),
// until its rows are shown. A rare one of five or ten characters is part of
// a drawn key (asset) or description (centre), which must be among the rows.
void CommandBench::search(const QString &name, bool asset, int length, bool common)
{
    suite::SearchDialog &dialog = asset ? *m_assetSearch : *m_centreSearch;
    QString expected;
    const QString filter = searchFilter(asset, length, common, &expected);
    dialog.setFilter(QString());
    m_replay = {};
    measure(samples(name), [&] { dialog.setFilter(filter); });
    QStringList keys;
    for (int r = 0; r < dialog.rowCount(); ++r)
        keys << dialog.rowTexts(r).value(0);
    const bool shown = !dialog.errorText().isEmpty() ? false
                       : common                      ? !keys.isEmpty()
                       : expected.isEmpty()          ? keys.isEmpty()
                                                     : keys.contains(expected) || dialog.capped();
    if (!shown)
        fail(u"%1 for \"%2\" showed %3 rows %4"_s.arg(name, filter).arg(keys.size()).arg(dialog.errorText()));
}

QString CommandBench::searchFilter(bool asset, int length, bool common, QString *expected)
{
    auto pick = [this](const QStringList &texts) { return texts.at(int(m_random.bounded(quint32(texts.size())))); };
    if (common)
        return pick((asset ? CommonAssetTexts : CommonCentreTexts).value(length));
    if (length <= 3)
        return pick((asset ? AbsentAssetTexts : AbsentCentreTexts).value(length));
    if (asset) {
        // Where its number begins: the zeros before it are in most keys.
        *expected = activeAsset();
        qsizetype at = 0;
        while (at < expected->size() && expected->at(at) == u'0')
            ++at;
        const QString part = expected->mid(at, length);
        return part.size() == length ? part : expected->right(length);
    }
    // A centre numbered 10000 or above, whose description ends in its number.
    for (;;) {
        *expected = QString::number(10000 + m_random.bounded(quint64(std::min<qint64>(m_centres, 99999) - 9999)))
                        .rightJustified(6, u'0');
        const QString description = scalar(u"SELECT Cc_Descripcion FROM Centro_Costo WHERE Es_Cve_Estado <> 'BA' "
                                           "AND Cc_Cve_Centro_Costo = '"_s + *expected + u"'"_s);
        if (!description.isEmpty())
            return length == 5 ? expected->right(5) : description.right(length);
    }
}

void CommandBench::nextKey()
{
    const qint64 highest = scalar(u"SELECT MAX(Cs_Ultima) FROM Clave_Siguiente WHERE Cs_Tabla = 'Activo_Fijo'"_s)
                               .toLongLong();
    int next = 0;
    m_replay = {};
    measure(samples(u"SiguienteClave"_s), [&] {
        m_utilerias.SiguienteClave(u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s, QString(), QString(), QString(),
                                   QString(), QString(), QString(), QString(), next);
    });
    const QString taken = scalar(u"SELECT COUNT(*) FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s
                                 + assetKey(next) + u"'"_s);
    if (next <= highest || taken != u"0"_s)
        fail(u"SiguienteClave gave %1 after %2, a key %3 taken"_s.arg(next).arg(highest).arg(taken == u"0"_s ? u"not"_s : u"already"_s));
}

void CommandBench::saveNew()
{
    // Company, location and a centre that takes postings, from an asset of the catalogue.
    const QString model = activeAsset();
    QString centre;
    QString from = model;
    while ((centre = scalar(u"SELECT Af_Centro_Costo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + from
                            + u"'"_s)).isEmpty())
        from = activeAsset();
    const QString company = scalar(u"SELECT Em_Cve_Empresa FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + model
                                   + u"'"_s);
    const QString location = scalar(u"SELECT Au_Cve_Ubicacion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s
                                    + model + u"'"_s);

    m_toolbar.press(u"Nuevo"_s); // the automatic key
    const QString key = m_key.text();
    const QString description = u"Escritorio de trabajo %1"_s.arg(m_round);
    auto set = [&](const QString &box, const QString &text) { m_form.controlAs<suite::txtKIT>(box)->setText(text); };
    set(u"txt_Af_Descripcion"_s, description);
    set(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s);
    set(u"txtEmpresa"_s, company);
    set(u"txt_Au_Cve_Ubicacion"_s, location);
    set(u"txtCentroCosto"_s, centre);
    set(u"txt_Costo_Original"_s, u"4500.5"_s);

    const QString where = u" WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s;
    m_replay = {{u"DELETE FROM Activo_Fijo_Centro_Costo"_s + where, u"DELETE FROM Activo_Fijo"_s + where}, {}, {}};
    measure(samples(u"save-new"_s), [&] { m_toolbar.press(u"Aceptar"_s); });
    if (m_toolbar.editando() || !m_log->messages.isEmpty()
        || scalar(u"SELECT Af_Descripcion FROM Activo_Fijo"_s + where) != description)
        fail(u"the new asset %1 was not saved %2"_s.arg(key, m_log->messages.join(u"; "_s)));
}

void CommandBench::saveUpdate()
{
    const QString key = activeAsset();
    load(key);
    if (!m_toolbar.press(u"Modificar"_s))
        fail(u"asset %1 offers no edit"_s.arg(key));
    const QString brand = u"Marca %1"_s.arg(m_round);
    m_form.controlAs<suite::txtKIT>(u"txtMarca"_s)->setText(brand);
    m_replay = {};
    measure(samples(u"save-update"_s), [&] { m_toolbar.press(u"Aceptar"_s); });
    if (m_toolbar.editando() || !m_log->messages.isEmpty()
        || scalar(u"SELECT Af_Marca FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s)
               != brand)
        fail(u"the edit of asset %1 was not saved %2"_s.arg(key, m_log->messages.join(u"; "_s)));
}

void CommandBench::deactivate()
{
    const QString key = activeAsset();
    const QString state = u"SELECT Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s;
    load(key);
    m_replay = {};
    CommandSamples &into = samples(u"deactivation"_s);
    const qsizetype kept = into.replays.size();
    measure(into, [&] { m_toolbar.press(u"Eliminar"_s); });
    if (!m_log->messages.isEmpty() || scalar(state) != u"BA"_s)
        fail(u"asset %1 was not deactivated %2"_s.arg(key, m_log->messages.join(u"; "_s)));

    // Back as it was, by the screen's own reactivation, which also undoes a replay.
    load(key);
    m_log->clear();
    if (!m_toolbar.press(u"Reactivar"_s) || !m_log->messages.isEmpty() || scalar(state) != u"AC"_s)
        fail(u"asset %1 was not reactivated %2"_s.arg(key, m_log->messages.join(u"; "_s)));
    if (into.replays.size() > kept)
        into.replays.last().after = m_log->statements;
}

void CommandBench::generate()
{
    const QString key = generationCandidate();
    load(key);
    const QString equipment = u"DELETE FROM Equipo WHERE Eq_Activo_Fijo = '"_s + key + u"'"_s;
    const QString vehicle = u"DELETE FROM Vehiculo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s;
    m_replay = {{equipment, vehicle}, {}, {}};
    measure(samples(u"generation"_s), [&] { m_toolbar.press(u"B3"_s); });
    const int made = scalar(u"SELECT (SELECT COUNT(*) FROM Equipo WHERE Eq_Activo_Fijo = '"_s + key
                            + u"') + (SELECT COUNT(*) FROM Vehiculo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"')"_s)
                         .toInt();
    if (made < 1 || m_log->ids.size() != 1 || !GenerationIds.contains(m_log->ids.first()))
        fail(u"nothing was generated for asset %1 %2"_s.arg(key, m_log->messages.join(u"; "_s)));
}

void CommandBench::load(const QString &key)
{
    m_key.setText(key);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QApplication::sendEvent(&m_key, &enter);
    if (m_toolbar.clave() != key)
        fail(u"asset %1 did not load"_s.arg(key));
}

QString CommandBench::randomAsset()
{
    return assetKey(1 + qint64(m_random.bounded(quint64(m_assets))));
}

QString CommandBench::activeAsset()
{
    for (;;) {
        const QString key = randomAsset();
        if (scalar(u"SELECT Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s) == u"AC"_s)
            return key;
    }
}

// An active asset whose type makes equipment or a vehicle, none of which it has yet.
QString CommandBench::generationCandidate()
{
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const QString key = activeAsset();
        const suite::RecordsetPtr row = m_connection.Execute(
            u"SELECT t.Ta_Equipo, t.Ta_Tipo_Vehiculo, "
            "(SELECT COUNT(*) FROM Equipo WHERE Eq_Activo_Fijo = a.Af_Cve_Activo_Fijo), "
            "(SELECT COUNT(*) FROM Vehiculo v WHERE v.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo) "
            "FROM Activo_Fijo a JOIN Tipo_Activo_Fijo t ON t.Ta_Cve_Tipo_Activo_Fijo = a.Ta_Cve_Tipo_Activo_Fijo "
            "WHERE a.Af_Cve_Activo_Fijo = '"_s + key + u"'"_s);
        if (row->Eof())
            continue;
        const bool makesEquipment = row->fieldValue(0).toString() == u"SI"_s;
        const bool makesVehicle = !row->fieldValue(1).toString().isEmpty();
        if ((makesEquipment || makesVehicle) && row->fieldValue(2).toInt() == 0 && row->fieldValue(3).toInt() == 0)
            return key;
    }
    fail(u"no asset is left to generate equipment for"_s);
}

QString CommandBench::scalar(const QString &statement)
{
    const suite::RecordsetPtr row = m_connection.Execute(statement);
    return row->Eof() ? QString() : row->fieldValue(0).toString();
}

void CommandBench::fail(const QString &what)
{
    std::fprintf(stderr, "bench_commands: %s\n", qPrintable(what));
    std::exit(1);
}

} // namespace bench
