#pragma once

#include "suite/host/TransferOptions.h"

#include <QString>
#include <QStringList>

namespace suite {

// The host's command line.
struct HostOptions
{
    QString databaseUrl;      // empty: the demo database in the user's data folder
    QString user;             // empty: the login name
    QString scriptFile;       // "-" is standard input
    QString printDirectory;
    QString screenshotFile;
    QString labelsFile;       // keys, one a line, whose labels are printed; "-" is standard input
    bool initDatabase = false;
    bool loadDemo = false;
    bool trace = false;
    TransferOptions transfer;

    bool scripted() const { return !scriptFile.isEmpty(); }
    bool labels() const { return !labelsFile.isEmpty(); }
    // Runs without a person: nothing shows, nothing waits for a display.
    bool unattended() const { return scripted() || transfer.active(); }
    bool needsWindow() const { return !initDatabase && !loadDemo; }

    // Parses arguments (argv, program name first). Returns false and fills
    // error (or, for --help, sets helpText) when the host must not go on.
    static bool parse(const QStringList &arguments, HostOptions &options, QString &error, QString &helpText);

    static QString defaultDatabaseFile();
    static QString loginName();
};

} // namespace suite
