#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class HostDatabase;
struct HostRun;

// Every row of the statement as "value|value|..." (NULL for a null).
QStringList rowsOf(HostDatabase &db, const QString &statement);
// A distribution read back: "centre=share" rows of the asset, sorted.
QStringList distributionOf(HostDatabase &db, const QString &key);

// A host script made of attempts, each one user action (a save, a
// deactivation, a generation...), and what came of each when it ran. Every
// attempt ends with `dump Controles`, so the output says where it ended; a
// save is then cancelled, so a refused one does not hold up the next (that
// line fails, harmlessly, when the save went through and nothing is left to
// cancel).
class AttemptScript
{
public:
    // A script word, quoted, with its backslashes, quotes, tabs and line breaks escaped.
    static QString word(const QString &text);
    static QString setText(const QString &control, const QString &text);
    // The key typed into the key box and confirmed with Enter: the record is shown.
    static QString load(const QString &key);
    // A valid distribution of its own for n over 1 to 3 centres, "centre=share" sorted.
    static QStringList spread(int n, int rows);
    // Rows "centre=share" typed into the distribution grid, on its tab.
    static QString grid(const QStringList &distribution);
    // A new asset of type 003 at company and location 0001 costing 100, with
    // what tells it apart; accepted at the end.
    static QString newAsset(const QString &key, const QString &description, const QString &serial,
                            const QString &economic, const QString &tag, const QStringList &distribution);
    // A stored asset shown, changed and accepted; an empty serial is left as loaded.
    static QString edit(const QString &key, const QString &description, const QString &tag, const QString &serial,
                        const QStringList &distribution);

    // The lines of one attempt (each ending in '\n'); its index. Its dump
    // shows the toolbar and the controls named.
    int add(const QString &lines, bool cancelAfter = true, const QStringList &dumped = {});
    QString text() const { return m_lines.join(u'\n') + u'\n'; }
    int size() const { return int(m_attempts.size()); }
    // The script from attempt `first` on, for a host that takes over.
    QString textFrom(int first) const;

    struct Outcome
    {
        bool finished = false;  // its dump was written
        QStringList ids;        // the messages it showed, in order
        QStringList prompts;
        QStringList errors;     // lines of it that failed before its dump ("line N: text")
        QStringList printed;    // the files of the documents it printed
        QJsonObject dump;       // the toolbar after it
        bool editing() const;   // still editing: a save that did not go through
        bool idle() const;      // back in key entry: a command that committed
    };
    // What came of each attempt from `first` on, for a run of textFrom(first).
    QList<Outcome> outcomes(const HostRun &run, int first = 0) const;

private:
    struct Span
    {
        int firstLine; // 1-based, as the host counts
        int dumpLine;
    };
    QStringList m_lines;
    QList<Span> m_attempts;
};
