#pragma once

#include "suite/host/FormEntry.h"
#include "suite/host/ImportMessages.h"
#include "suite/host/ImportReport.h"
#include "suite/host/RecordLayout.h"
#include "suite/host/TransferOptions.h"

#include <QHash>
#include <QString>
#include <memory>

class QWidget;

namespace suite {

class Connection;
class Controles;
class ScreenHost;
class txtKIT;

// talvexor --import: brings a CSV file of assets in through the open screen,
// row by row, as a user keys them: Nuevo, the row's values in the fields,
// Aceptar; the screen's checks, defaults, messages and save are its own. A
// row whose file state is BA is then deactivated by the screen's Eliminar.
// With --update, a key that exists is loaded and changed through Modificar
// (Reactivar first when the file makes it active again), under the version
// the file carries. Each row is one unit of work on the connection, so a
// row is stored whole or not at all; --dry-run runs every row inside one
// unit that it undoes at the end, so later rows meet the earlier ones as a
// real run would. The file's own faults (encoding, header, a cut row) are
// found before any row runs, and then nothing is imported.
class CatalogueImport
{
public:
    CatalogueImport(ScreenHost &host, const TransferOptions &options);
    ~CatalogueImport();

    // 0: every row came in or had nothing to change; 1: some rows were
    // refused (the report says why); 2: the file was refused or unreadable.
    int run();

private:
    bool checkFile(QChar &separator, qint64 &rows, QStringList &faults);
    RowOutcome importRow(int line, const RowValues &values);
    RowOutcome insertRow(RowOutcome out, const RowValues &values);
    RowOutcome updateRow(RowOutcome out, const RowValues &values);
    bool deactivate(RowOutcome &out, const QString &command);

    bool press(const QString &command);
    bool load(const QString &key);
    bool showAgain(RowOutcome &out);
    bool accept(RowOutcome &out);
    bool refusedByScreen(RowOutcome &out, int column);
    RowOutcome refuse(RowOutcome out, int column, const QString &id, const QString &text) const;
    QString value(const RowValues &values, const QString &kind) const;
    void backToIdle();

    ScreenHost &m_host;
    TransferOptions m_options;
    QWidget *m_form = nullptr;
    Controles *m_toolbar = nullptr;
    txtKIT *m_keyBox = nullptr;
    std::unique_ptr<RecordLayout> m_layout;
    std::unique_ptr<FormEntry> m_entry;
    ImportMessages m_messages;
    QVector<int> m_meaning;          // layout column of each file column
    QHash<int, QString> m_headerOf;  // the file's name of each layout column it has
};

} // namespace suite
