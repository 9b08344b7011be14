#pragma once

#include "suite/host/ScriptMessagePresenter.h"
#include "suite/host/ScriptSearchPresenter.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QIODevice;
class QWidget;

namespace suite {

class JsonText;
class ScreenHost;

// The host's scripted mode: runs a script's lines against the open screen,
// the way a user would work it, and reports what happens as JSON lines.
class ScriptRunner : public QObject
{
    Q_OBJECT

public:
    using Output = std::function<void(const QString &line)>;

    ScriptRunner(ScreenHost &host, Output output, QObject *parent = nullptr);
    ~ScriptRunner() override;

    // Puts the script's presenters into the session and starts reporting
    // printed documents: before the screen opens, so start-up is covered too.
    void install(const QString &printDirectory);
    // Follows the window once the screen is open (its closing ends the run).
    void attach();

    // Every line of input; 0 when every line ran, 1 when any failed.
    int run(QIODevice &input);
    // One line (number from 1); false when it failed (its error is reported).
    bool runLine(int number, const QString &line);
    bool unloaded() const { return m_unloaded; }

private:
    using Words = QStringList;
    void emitEvent(const JsonText &event);

    void doType(const Words &w);
    void doPaste(const Words &w);
    QWidget *clickForFocus(const QString &name) const;
    void doKey(const Words &w);
    void doClick(const Words &w);
    void doTab(const Words &w);
    void doToolbar(const Words &w);
    void doCell(const Words &w);
    void doSet(const Words &w);
    void doAnswer(const Words &w);
    void doChoose(const Words &w);
    void doMark(const Words &w);
    void doResize(const Words &w);
    void doDump(const Words &w);
    void doSql(const Words &w);
    void doFault(const Words &w);
    void doClose(const Words &w);
    void doLabels(const Words &w);

    QWidget *form() const;
    QWidget *requireControl(const QString &name) const;
    void requireInput(QWidget *control) const;
    void settle();

    ScreenHost &m_host;
    Output m_output;
    ScriptMessagePresenter m_messages;
    ScriptSearchPresenter m_search;
    QString m_currentLine;
    QStringList m_lineProblems;
    bool m_unloaded = false;
    QMetaObject::Connection m_faultReport;

    struct Command
    {
        void (ScriptRunner::*run)(const Words &);
        int minWords;
        int maxWords; // -1: any number
        const char *usage;
    };
    static const std::map<QString, Command> &commands();
};

} // namespace suite
