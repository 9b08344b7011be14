#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;

namespace suite {

// Which assets an export takes; an empty member takes all.
struct ExportFilter
{
    QString state;      // "AC" or "BA"
    QString location;   // Au_Cve_Ubicacion
    QString type;       // Ta_Cve_Tipo_Activo_Fijo
    QString costCentre; // the main cost centre or one of the distribution
};

// The host's options for bringing a catalogue in from a CSV file and taking
// it out to one (docs/import-export.md).
struct TransferOptions
{
    QString importFile;
    QString exportFile; // "-" is standard output
    QString reportFile; // empty: standard output
    bool dryRun = false;
    bool update = false;
    ExportFilter filter;

    bool importing() const { return !importFile.isEmpty(); }
    bool exporting() const { return !exportFile.isEmpty(); }
    bool active() const { return importing() || exporting(); }

    // For the host's parser, before it parses.
    static QList<QCommandLineOption> options();
    // After it parsed; false with error when the options do not go together.
    bool read(const QCommandLineParser &parser, QString &error);
};

} // namespace suite
