#include "suite/host/ScreenHost.h"

#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/host/DatabaseOpening.h"
#include "suite/host/HostWindow.h"
#include "suite/kit/Twips.h"
#include "suite/runtime/ComponentHost.h"
#include "suite/session/Session.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaMethod>
#include <QStatusBar>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// What the schema left for later and why (rows that clash with a unique index).
void sayNotices(const QStringList &notices)
{
    for (const QString &notice : notices)
        std::fprintf(stderr, "talvexor: aviso: %s\n", notice.toUtf8().constData());
}

// The audit columns (Oper_Alta, Oper_Ult_Modif, Oper_Baja) keep an operator's
// code whole or not at all: a longer one could never save anything.
void checkOperator(const QString &user)
{
    const ColumnDef *audit = Schema::table(u"Activo_Fijo"_s)->column(u"Oper_Ult_Modif"_s);
    const qsizetype length = user.toUcs4().size();
    if (length > audit->size) {
        throw SuiteError(u"La clave de operador «%1» tiene %2 caracteres y los registros guardan hasta %3; "
                         "inicie con una clave más corta (--usuario)."_s.arg(user).arg(length).arg(audit->size));
    }
}

} // namespace

ScreenHost::ScreenHost(const HostOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{}

ScreenHost::~ScreenHost()
{
    close();
}

QString ScreenHost::componentLibrary()
{
    QString dir = qEnvironmentVariable("TALVEXOR_LIB_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath() + u"/../lib"_s;
    return QFileInfo(dir + u"/xb733.so"_s).absoluteFilePath();
}

void ScreenHost::prepareDatabase(Connection &connection, bool loadDemo)
{
    sayNotices(Schema::create(connection));
    if (loadDemo)
        DemoData::load(connection);
}

void ScreenHost::openDatabase()
{
    std::unique_ptr<Connection> connection = DatabaseOpening::openForScreen(m_options, m_schemaNotices);

    if (m_options.trace) {
        connect(connection.get(), &Connection::statementExecuted, this,
                [](const QString &statement, qint64 microseconds) {
                    std::fprintf(stderr, "[sql %lld us] %s\n", static_cast<long long>(microseconds),
                                 statement.toUtf8().constData());
                });
    }

    m_session = std::make_unique<Session>();
    m_session->setConnection(std::move(connection));
    m_session->setUser(m_options.user.isEmpty() ? HostOptions::loginName() : m_options.user);
    Session::setCurrent(m_session.get());
}

Session &ScreenHost::session() const
{
    if (!m_session)
        throw SuiteError(u"No hay una base de datos abierta."_s);
    return *m_session;
}

void ScreenHost::openScreen()
{
    checkOperator(session().user());
    const QString progId = QString::fromLatin1(ProgId);
    m_components = std::make_unique<ComponentHost>();
    m_components->ensureRegistered(progId, componentLibrary());
    m_pantalla.reset(m_components->createObject(progId));

    const QVariant screen = m_pantalla->property("GetPantalla");
    m_form = qobject_cast<QWidget *>(screen.value<QObject *>());
    if (!m_form)
        throw SuiteError(u"%1 no entregó una pantalla en GetPantalla."_s.arg(progId));

    // Start-up failures arrive as a signal: start-up runs inside the show
    // event and never throws out of it.
    const QMetaObject *formMeta = m_form->metaObject();
    const int failed = formMeta->indexOfSignal("loadFailed(QString)");
    if (failed >= 0) {
        connect(m_form, formMeta->method(failed), this,
                metaObject()->method(metaObject()->indexOfSlot("onLoadFailed(QString)")));
    }

    m_window = std::make_unique<HostWindow>();
    if (!m_form->setProperty("Padre", QVariant::fromValue<QObject *>(m_window.get())))
        throw SuiteError(u"La pantalla no acepta su ventana padre (Padre)."_s);
    m_window->setWindowTitle(m_form->windowTitle().isEmpty() ? u"Talvexor"_s : m_form->windowTitle());
    m_window->setCentralWidget(m_form);
    m_window->showReadOnly(session().connection()->writeRefusal());
    m_window->showSchemaNotices(m_schemaNotices);
    // The form gets its design size; the status line comes below it, a read-only notice above.
    const int width = qRound(twipsToPixelsX(m_form, DesignWidth));
    m_window->resize(width, qRound(twipsToPixelsY(m_form, DesignHeight)) + m_window->statusBar()->sizeHint().height()
                                + m_window->noticeHeight(width));
    m_session->setStatusLine([window = m_window.get()](const QString &text) { window->showStatus(text); });
    m_window->show();
    m_window->activateWindow();
    QCoreApplication::processEvents();

    if (!m_loadError.isEmpty())
        throw SuiteError(u"No se pudo iniciar la pantalla: %1"_s.arg(m_loadError));
}

void ScreenHost::printLabels(const QStringList &keys) const
{
    const QString caption = QString::fromUtf8(LabelsAction);
    const QList<Session::SearchAction> actions = session().searchActions(QString::fromLatin1(AssetSearch));
    for (const Session::SearchAction &action : actions) {
        if (action.caption == caption) {
            action.run(keys);
            return;
        }
    }
    throw SuiteError(u"La pantalla no ofrece imprimir etiquetas."_s);
}

void ScreenHost::onLoadFailed(const QString &text)
{
    m_loadError = text.isEmpty() ? u"error sin descripción"_s : text;
}

HostWindow *ScreenHost::window() const
{
    return m_window.get();
}

QWidget *ScreenHost::form() const
{
    return m_form.data();
}

void ScreenHost::close()
{
    if (m_window && m_form && m_window->centralWidget() == m_form) {
        // The form belongs to the component, which frees it below.
        m_window->takeCentralWidget();
        m_form->hide();
        m_form->setParent(nullptr);
    }
    if (m_session)
        m_session->setStatusLine(nullptr);
    m_pantalla.reset();
    if (m_components) {
        m_components->shutdown();
        m_components.reset();
    }
    m_window.reset();
    if (m_session) {
        if (Session::currentOrNull() == m_session.get())
            Session::setCurrent(nullptr);
        m_session.reset();
    }
}

} // namespace suite
