#include "suite/host/CatalogueImport.h"

#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/host/CsvReader.h"
#include "suite/host/CsvText.h"
#include "suite/host/HostWindow.h"
#include "suite/host/ModalGuard.h"
#include "suite/host/ProgressLine.h"
#include "suite/host/ScreenHost.h"
#include "suite/host/UserInput.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/runtime/HostEvents.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaObject>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr int MaxFaults = 10;
const QString Deactivated = u"BA"_s;
const QString Active = u"AC"_s;
const QString ChangedWhileDeactivated = u"ERR-ID:7500096"_s;

void say(const QString &text)
{
    std::fprintf(stderr, "talvexor: %s\n", text.toUtf8().constData());
}

bool allEmpty(const QStringList &fields)
{
    for (const QString &f : fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

// Rows are written in batches: each row a unit of its own inside one
// transaction committed every BatchMs, so a refused row is undone alone and
// the disk's flush is paid once a batch instead of once a row (with SQLite,
// 8.7 ms a row against 6.0; docs/performance.md). Short batches keep other
// users' saves from waiting long for the lock. A row is reported once its
// batch is committed; a batch whose commit fails reports each of its rows
// refused with the database's text. A dry run is one batch, undone.
class Batches
{
public:
    Batches(Connection &connection, ImportReport &report, bool rehearsal)
        : m_connection(connection)
        , m_report(report)
        , m_rehearsal(rehearsal)
    {
    }

    void open()
    {
        if (m_open)
            return;
        m_connection.BeginUnit();
        m_open = true;
        m_clock.start();
    }

    // A row that could not even begin has no batch to wait for.
    void add(const RowOutcome &outcome)
    {
        m_pending.append(outcome);
        if (m_rehearsal || !m_open)
            flush();
        else if (m_clock.elapsed() >= BatchMs)
            commit();
    }

    void close()
    {
        if (m_open && m_rehearsal) {
            m_open = false;
            m_connection.RollbackUnit();
        } else if (m_open) {
            commit();
        }
        flush();
    }

private:
    static constexpr qint64 BatchMs = 500;

    void commit()
    {
        m_open = false;
        try {
            m_connection.CommitUnit();
        } catch (const SuiteError &e) {
            for (RowOutcome &outcome : m_pending) {
                if (outcome.kind != RowOutcome::Refused)
                    outcome = {RowOutcome::Refused, outcome.line, outcome.key, QString(), QString(),
                               u"No se guardó: %1"_s.arg(e.description())};
            }
        }
        flush();
    }

    void flush()
    {
        for (const RowOutcome &outcome : std::as_const(m_pending))
            m_report.add(outcome);
        m_pending.clear();
    }

    Connection &m_connection;
    ImportReport &m_report;
    bool m_rehearsal;
    bool m_open = false;
    QElapsedTimer m_clock;
    QList<RowOutcome> m_pending;
};

} // namespace

CatalogueImport::CatalogueImport(ScreenHost &host, const TransferOptions &options)
    : m_host(host)
    , m_options(options)
{
}

CatalogueImport::~CatalogueImport()
{
    Session *session = Session::currentOrNull();
    if (session && session->messages() == &m_messages)
        session->setMessages(nullptr);
}

int CatalogueImport::run()
{
    Connection &connection = *m_host.session().connection();
    if (const QString refusal = connection.writeRefusal(); !refusal.isEmpty()) {
        say(u"no se importó nada: %1"_s.arg(refusal));
        return 2;
    }
    m_host.session().setMessages(&m_messages);
    HostEvents::instance().setUnattended(true);
    auto *guard = new ModalGuard(m_host.window());
    QObject::connect(guard, &ModalGuard::dismissed, guard, [this](const QString &text) { m_messages.add(text); });

    m_form = m_host.form();
    m_toolbar = m_form->findChild<Controles *>();
    m_layout = std::make_unique<RecordLayout>(m_form, connection);
    m_entry = std::make_unique<FormEntry>(m_form, *m_layout);
    const QString keyControl = m_layout->columns().at(m_layout->indexOf(u"key"_s)).control;
    m_keyBox = qobject_cast<txtKIT *>(m_form->findChild<QWidget *>(keyControl));
    if (!m_toolbar || !m_keyBox)
        throw SuiteError(u"La pantalla no tiene su barra de herramientas o su caja de la clave."_s);
    // Nobody watches: the form is not painted row after row.
    m_host.window()->setUpdatesEnabled(false);

    QChar separator;
    qint64 total = 0;
    QStringList faults;
    const bool readable = checkFile(separator, total, faults);

    QFile reportFile(m_options.reportFile);
    const bool reportOpen = m_options.reportFile.isEmpty() ? reportFile.open(stdout, QIODevice::WriteOnly)
                                                           : reportFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!reportOpen) {
        say(u"no se pudo escribir el informe %1: %2"_s.arg(m_options.reportFile, reportFile.errorString()));
        return 2;
    }
    ImportReport report(reportFile, readable ? separator : QChar(u','));
    if (!readable) {
        for (const QString &fault : faults)
            report.fileFault(0, fault);
        say(u"no se importó nada de %1:\n  %2"_s.arg(m_options.importFile, faults.join(u"\n  "_s)));
        return 2;
    }

    QFile file(m_options.importFile);
    file.open(QIODevice::ReadOnly);
    CsvReader reader(file);
    QStringList fields;
    reader.readHeader(fields);
    ProgressLine progress(m_options.dryRun ? u"Ensayando la importación"_s : u"Importando"_s);
    Batches batches(connection, report, m_options.dryRun);
    qint64 done = 0;
    qint64 refused = 0;
    while (reader.next(fields)) {
        if (allEmpty(fields))
            continue;
        RowValues values(m_layout->columns().size());
        for (qsizetype i = 0; i < fields.size(); ++i)
            values[m_meaning.at(i)] = CsvText::unguarded(fields.at(i));

        RowOutcome outcome;
        try {
            batches.open();
            connection.BeginUnit();
        } catch (const SuiteError &e) {
            // The database is gone: the row is reported, and the next one tries again.
            outcome.line = reader.line();
            outcome.key = value(values, u"key"_s);
            outcome = refuse(outcome, -1, QString(), e.description());
            batches.add(outcome);
            progress.show(++done, total, u"%1 rechazados"_s.arg(++refused));
            continue;
        }
        outcome = importRow(reader.line(), values);
        backToIdle();
        try {
            if (outcome.kind == RowOutcome::Refused)
                connection.RollbackUnit();
            else
                connection.CommitUnit();
        } catch (const SuiteError &e) {
            outcome = refuse(outcome, -1, QString(), e.description());
        }
        batches.add(outcome);
        refused += outcome.kind == RowOutcome::Refused ? 1 : 0;
        progress.show(++done, total, u"%1 rechazados"_s.arg(refused));
        QCoreApplication::processEvents();
    }
    batches.close();
    progress.finish();
    reportFile.flush();
    say(report.summary(m_options.importFile, m_options.dryRun));
    return report.count(RowOutcome::Refused) > 0 ? 1 : 0;
}

// The whole file once before any row runs: its encoding, its header and
// that every record is whole. Nothing is imported from a file that fails.
bool CatalogueImport::checkFile(QChar &separator, qint64 &rows, QStringList &faults)
{
    QFile file(m_options.importFile);
    if (!file.open(QIODevice::ReadOnly)) {
        faults.append(u"No se pudo leer %1: %2"_s.arg(m_options.importFile, file.errorString()));
        return false;
    }
    CsvReader reader(file);
    QStringList header;
    if (!reader.readHeader(header)) {
        faults.append(reader.error());
        return false;
    }
    separator = reader.separator();
    if (!m_layout->match(header, m_options.update, m_meaning, faults))
        return false;
    for (qsizetype i = 0; i < header.size(); ++i)
        m_headerOf.insert(m_meaning.at(i), header.at(i));

    QStringList fields;
    qsizetype lastSize = header.size();
    bool lastFaulted = false;
    while (reader.next(fields)) {
        lastSize = allEmpty(fields) ? header.size() : fields.size();
        lastFaulted = lastSize != header.size() && faults.size() < MaxFaults;
        if (lastFaulted) {
            faults.append(u"La línea %1 tiene %2 valores y el encabezado %3 (¿un separador de más o de menos, o "
                          "un valor con separadores sin comillas?)."_s.arg(reader.line()).arg(lastSize).arg(header.size()));
        }
        ++rows;
    }
    // A short last record is where a copy or a download stopped.
    if (lastFaulted && lastSize < header.size() && reader.error().isEmpty()) {
        faults.last() = u"La última línea (%1) tiene %2 de los %3 valores del encabezado: el archivo parece "
                        "cortado."_s.arg(reader.line()).arg(lastSize).arg(header.size());
    }
    if (!reader.error().isEmpty())
        faults.append(reader.error());
    return faults.isEmpty();
}

QString CatalogueImport::value(const RowValues &values, const QString &kind) const
{
    const int column = m_layout->indexOf(kind);
    return column >= 0 && values.at(column) ? values.at(column)->trimmed() : QString();
}

RowOutcome CatalogueImport::refuse(RowOutcome out, int column, const QString &id, const QString &text) const
{
    out.kind = RowOutcome::Refused;
    if (column >= 0)
        out.field = m_headerOf.value(column, m_layout->columns().at(column).column);
    out.id = id;
    out.text = text;
    return out;
}

RowOutcome CatalogueImport::importRow(int line, const RowValues &values)
{
    RowOutcome out;
    out.line = line;
    out.key = value(values, u"key"_s);
    m_messages.clear();
    if (const std::optional<FormEntry::Refusal> r = m_entry->check(values))
        return refuse(out, r->column, r->id, r->text);
    if (m_options.update && !out.key.isEmpty() && load(out.key))
        return updateRow(out, values);
    if (!m_messages.shown().isEmpty()) {
        refusedByScreen(out, m_layout->indexOf(u"key"_s));
        return out;
    }
    return insertRow(out, values);
}

RowOutcome CatalogueImport::insertRow(RowOutcome out, const RowValues &values)
{
    if (!press(u"Nuevo"_s)) {
        refusedByScreen(out, m_layout->indexOf(u"key"_s));
        return out;
    }
    // The file names the key as a user whose key is editable types it, so
    // the screen can also take the user back to it.
    if (!value(values, u"key"_s).isEmpty())
        m_keyBox->setEnabled(true);
    const QString given = m_keyBox->text();
    m_entry->put(values, true);
    out.key = m_keyBox->text();
    if (out.key != given)
        m_entry->dropGivenKey(given, values);
    if (!accept(out))
        return out;
    if (value(values, u"state"_s).toUpper() == Deactivated && (!showAgain(out) || !deactivate(out, u"Eliminar"_s)))
        return out;
    out.kind = RowOutcome::Imported;
    return out;
}

RowOutcome CatalogueImport::updateRow(RowOutcome out, const RowValues &values)
{
    out.key = m_keyBox->text();
    bool deactivated = m_toolbar->reactivarenabled();
    // The asset as the file saw it: a write refuses when it changed since.
    if (const QString version = value(values, u"version"_s);
        !version.isEmpty()
        && !QMetaObject::invokeMethod(m_form, "assumeShownVersion", Q_ARG(qlonglong, version.toLongLong()))) {
        return refuse(out, m_layout->indexOf(u"version"_s), QString(),
                      u"La pantalla no puede comparar el activo fijo con la versión del archivo."_s);
    }
    const QString state = value(values, u"state"_s).toUpper();
    bool stateChanged = false;
    if (deactivated && state == Active) {
        if (!deactivate(out, u"Reactivar"_s) || !showAgain(out))
            return out;
        deactivated = false;
        stateChanged = true;
    }

    const QStringList before = m_entry->snapshot();
    m_entry->put(values, false);
    const bool changed = m_entry->snapshot() != before;
    if (deactivated && changed) {
        return refuse(out, -1, ChangedWhileDeactivated,
                      u"El activo fijo %1 está dado de baja y la pantalla no modifica un activo dado de baja; "
                      "reactívelo (estado AC en el archivo) para modificarlo."_s.arg(out.key));
    }
    if (changed && !press(u"Modificar"_s)) {
        refusedByScreen(out, -1);
        return out;
    }
    if (changed && !accept(out))
        return out;
    if (!deactivated && state == Deactivated) {
        if ((changed && !showAgain(out)) || !deactivate(out, u"Eliminar"_s))
            return out;
        stateChanged = true;
    }
    out.kind = changed || stateChanged ? RowOutcome::Updated : RowOutcome::Unchanged;
    return out;
}

// Eliminar or Reactivar on the asset shown; its messages are the row's refusal.
bool CatalogueImport::deactivate(RowOutcome &out, const QString &command)
{
    return press(command) || refusedByScreen(out, m_layout->indexOf(u"state"_s));
}

// The command as its button runs it; false when the screen did not offer it
// or said anything while it ran (a command that failed half-way included).
bool CatalogueImport::press(const QString &command)
{
    m_messages.clear();
    const bool pressed = m_toolbar->offered().contains(command) && m_toolbar->press(command);
    if (!pressed)
        m_messages.add(u"La pantalla no ofrece %1 en este momento."_s.arg(command));
    return pressed && m_messages.shown().isEmpty();
}

// As a user types the key and presses Enter: true when an asset was shown.
bool CatalogueImport::load(const QString &key)
{
    backToIdle();
    m_messages.clear();
    m_keyBox->setText(key);
    UserInput::sendKey(m_keyBox, QKeyCombination(Qt::Key_Return));
    return m_messages.shown().isEmpty() && m_toolbar->informacionenabled();
}

// After a command that stored the asset: shown again, as Enter shows it, or the row is refused.
bool CatalogueImport::showAgain(RowOutcome &out)
{
    if (load(out.key))
        return true;
    if (m_messages.shown().isEmpty())
        m_messages.add(u"La pantalla no volvió a mostrar el activo fijo %1."_s.arg(out.key));
    return refusedByScreen(out, m_layout->indexOf(u"state"_s));
}

bool CatalogueImport::accept(RowOutcome &out)
{
    if (press(u"Aceptar"_s) && !m_toolbar->editando())
        return true;
    // The screen gave the field its message is about the focus; the grid's
    // own checks leave the focus alone on the grid's page.
    int column = m_entry->columnOf(QApplication::focusWidget());
    const int grid = m_layout->indexOf(u"distribution"_s);
    if (column < 0 && grid >= 0) {
        const QWidget *gridWidget = m_form->findChild<QWidget *>(m_layout->columns().at(grid).control);
        if (gridWidget && gridWidget->isVisible())
            column = grid;
    }
    return refusedByScreen(out, column);
}

bool CatalogueImport::refusedByScreen(RowOutcome &out, int column)
{
    const QList<MessageRequest> &shown = m_messages.shown();
    const MessageRequest first = shown.isEmpty() ? MessageRequest{u"La pantalla no guardó el activo fijo y no dijo por "
                                                                  "qué."_s, 16, {}, {}, {}, nullptr}
                                                 : shown.first();
    out = refuse(out, column, first.id, first.prompt);
    return false;
}

void CatalogueImport::backToIdle()
{
    if (m_toolbar->editando())
        m_toolbar->press(u"Cancelar"_s);
}

} // namespace suite
