#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class HostDatabase;
struct HostRun;

// The user types every key, and the boxes keep what is typed as typed.
void typeAsTyped(HostDatabase &db);
// Every row of the statement as "value|value|..." (NULL for a null).
QStringList rowsOf(HostDatabase &db, const QString &statement);
// Of a statement whose last column is a count: the other columns, as rowsOf gives them, -> the count.
QMap<QString, int> countsOf(HostDatabase &db, const QString &statement);
// The asset's distribution as "centre=share" rows, sorted.
QStringList distributionOf(HostDatabase &db, const QString &key);
// Empty when the host ended as a script does (0, or 1 when a line failed)
// with no sanitizer report on its standard error; else what went wrong.
QString hostTrouble(const HostRun &run);

// A host script made of attempts, each one user action, and what came of
// each. Every attempt ends with `dump Controles`, so the output says where
// it ended; a save is then cancelled, so a refused one does not hold up the
// next (when it went through, that line fails harmlessly and is ignored).
class AttemptScript
{
public:
    // A script word, quoted, with its backslashes, quotes and control characters escaped.
    static QString word(const QString &text);
    static QString setText(const QString &control, const QString &text);
    // The key typed into the key box and confirmed with Enter: the record is shown.
    static QString load(const QString &key);
    // A valid distribution of its own for n over 1 to 3 centres, "centre=share" sorted.
    static QStringList spread(int n, int rows);
    // Rows "centre=share" typed into the distribution grid, on its tab.
    static QString grid(const QStringList &distribution);
    // A new asset with what a save requires: the key, a description, type
    // 003 at company and location 0001, costing 100.
    static QString required(const QString &key, const QString &description);
    // A new asset with what tells it apart, accepted.
    static QString newAsset(const QString &key, const QString &description, const QString &serial,
                            const QString &economic, const QString &tag, const QStringList &distribution);
    // A stored asset shown, changed and accepted; an empty serial is left as loaded.
    static QString edit(const QString &key, const QString &description, const QString &tag, const QString &serial,
                        const QStringList &distribution);

    // The lines of one attempt; its index. Its dump shows the toolbar and the controls named.
    int add(const QString &lines, bool cancelAfter = true, const QStringList &dumped = {});
    QString text() const { return textFrom(0); }
    // The script from attempt `first` on, for a host that takes over.
    QString textFrom(int first) const;

    struct Outcome
    {
        bool finished = false; // its dump was written
        QStringList ids, prompts; // of the messages it showed, in order
        QStringList errors;    // its lines that failed ("line N: text")
        QStringList printed;   // the files of the documents it printed
        QJsonObject dump;      // the toolbar and the controls named, after it
        bool editing() const { return toolbar(u"editando").toBool(); } // a save that did not go through
        bool stored() const { return !editing() && ids.isEmpty(); }    // a save that did
        // Back in key entry: a command that committed.
        bool idle() const { return !editing() && toolbar(u"estadoinicial").toBool() && toolbar(u"clave").toString().isEmpty(); }
        QJsonValue toolbar(QStringView name) const { return dump.value(QLatin1String("toolbar")).toObject().value(name); }
    };
    // What came of each attempt from `first` on, for a run of textFrom(first).
    QList<Outcome> outcomes(const HostRun &run, int first = 0) const;

private:
    QStringList m_lines;
    QList<int> m_firstLines; // of each attempt, 1-based as the host counts
};
