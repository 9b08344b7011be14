#pragma once

#include "bench/commands/Samples.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <functional>
#include <memory>

class frmXB733;

namespace suite {
class Connection;
class Controles;
class SearchDialog;
class Session;
class Utilerias;
class txtKIT;
} // namespace suite

namespace bench {

class CommandLog;

// Drives the real screen, in process, through every command a user gives
// on a large catalogue: each command on subjects drawn at random from the
// whole catalogue, one round of every command after another, the first
// round a warm-up. Every run is checked to have done what it is timed for
// (no message but the expected one, the record written); a run that did not
// stops the benchmark, since its figures would mean nothing.
class CommandBench
{
public:
    CommandBench(frmXB733 &form, suite::Session &session, suite::Utilerias &utilerias, quint64 seed);
    ~CommandBench();

    qint64 assets() const { return m_assets; }
    qint64 centres() const { return m_centres; }

    // rounds measured runs of every command, after one warm-up round.
    void run(int rounds);
    const QList<CommandSamples> &results() const { return m_results; }

private:
    CommandSamples &samples(const QString &name);
    // Runs action, timed; keeps its figures unless warming up, and its
    // statements as the command's replay when among the last runs.
    QStringList measure(CommandSamples &into, const std::function<void()> &action);

    void loadByKey();
    void search(const QString &name, bool asset, int length, bool common);
    QString searchFilter(bool asset, int length, bool common, QString *expected);
    void nextKey();
    void saveNew();
    void saveUpdate();
    void deactivate();
    void generate();

    void load(const QString &key);
    QString randomAsset();
    QString activeAsset();
    QString generationCandidate();
    QString scalar(const QString &statement);
    [[noreturn]] void fail(const QString &what);

    frmXB733 &m_form;
    suite::Session &m_session;
    suite::Utilerias &m_utilerias;
    suite::Connection &m_connection;
    suite::Controles &m_toolbar;
    suite::txtKIT &m_key;
    std::unique_ptr<CommandLog> m_log;
    std::unique_ptr<suite::SearchDialog> m_assetSearch;
    std::unique_ptr<suite::SearchDialog> m_centreSearch;
    QRandomGenerator m_random;
    qint64 m_assets = 0;
    qint64 m_centres = 0;
    int m_round = 0;
    int m_rounds = 0;
    Replay m_replay; // what the command being measured needs undone around its replay
    QList<CommandSamples> m_results;
};

} // namespace bench
